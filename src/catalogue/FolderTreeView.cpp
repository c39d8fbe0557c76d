#include "catalogue/FolderTreeView.h"

#include "catalogue/store/FolderTreeModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>

TFolderTreeView::TFolderTreeView(QWidget *parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    // Deep folders keep their whole names: the column grows with what is shown and the tree scrolls
    // sideways, instead of names cut to "...".
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void TFolderTreeView::setFolderModel(FolderTreeModel *model)
{
    m_model = model;
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        // A tree being emptied reports "no current node", which is no selection to show.
        if (!m_quiet && current.isValid())
            emit currentNodeChanged(m_model->nodeOf(current));
    });
    // An emptied or rebuilt tree starts collapsed: whatever was left for later no longer applies.
    connect(model, &QAbstractItemModel::modelReset, this, [this] { m_pending = Pending::None; });
}

void TFolderTreeView::expandEverything()
{
    m_pending = Pending::ExpandAll;
    if (isVisible())
        applyPendingExpansion();
}

void TFolderTreeView::collapseToDrives()
{
    m_pending = Pending::Collapse;
    if (isVisible())
        applyPendingExpansion();
}

void TFolderTreeView::applyPendingExpansion()
{
    const Pending pending = m_pending;
    m_pending = Pending::None;
    if (pending == Pending::ExpandAll)
        doExpandAll();
    else if (pending == Pending::Collapse)
        doCollapse();
}

void TFolderTreeView::doExpandAll()
{
    expandAll();
    scrollToTop();
}

void TFolderTreeView::doCollapse()
{
    collapseAll();
    // Showing the drive nodes opens the root one level.
    const QModelIndex root = model() ? model()->index(0, 0) : QModelIndex();
    if (root.isValid() && model()->hasChildren(root))
        expand(root);
    scrollToTop();
}

bool TFolderTreeView::isNodeExpanded(NodeId node)
{
    applyPendingExpansion();
    return m_model && isExpanded(m_model->indexOf(node));
}

NodeId TFolderTreeView::currentNode() const
{
    return m_model ? m_model->nodeOf(currentIndex()) : kNoNode;
}

void TFolderTreeView::setCurrentNodeQuietly(NodeId node)
{
    if (!m_model)
        return;
    // A selection opens the branch it lies in, after any pending expansion or collapse.
    applyPendingExpansion();
    m_quiet = true;
    setCurrentIndex(m_model->indexOf(node));
    m_quiet = false;
}

void TFolderTreeView::showEvent(QShowEvent *event)
{
    applyPendingExpansion();
    QTreeView::showEvent(event);
}
