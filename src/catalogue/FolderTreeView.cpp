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

TFolderTreeView::Expansion TFolderTreeView::expansion() const
{
    Expansion saved;
    saved.pending = int(m_pending);
    if (!m_model || m_pending != Pending::None)
        return saved;
    // Only open branches are walked: a collapsed tree costs its first levels only.
    std::vector<QModelIndex> open;
    const QModelIndex root = m_model->index(0, 0);
    if (root.isValid() && isExpanded(root))
        open.push_back(root);
    for (size_t i = 0; i < open.size(); ++i) {
        const QModelIndex at = open[i];
        saved.nodes.push_back(m_model->nodeOf(at));
        const int rows = m_model->rowCount(at);
        for (int r = 0; r < rows; ++r) {
            const QModelIndex child = m_model->index(r, 0, at);
            if (isExpanded(child))
                open.push_back(child);
        }
    }
    return saved;
}

void TFolderTreeView::restoreExpansion(const Expansion &saved)
{
    m_pending = Pending(saved.pending);
    if (!m_model || m_pending != Pending::None) {
        if (isVisible())
            applyPendingExpansion();
        return;
    }
    // After a reset the view lays itself out once later: expanding is only recorded here.
    for (const NodeId node : saved.nodes) {
        const QModelIndex at = m_model->indexOf(node);
        if (at.isValid())
            expand(at);
    }
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
