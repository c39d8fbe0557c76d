#include "catalogue/store/FolderTreeModel.h"

FolderTreeModel::FolderTreeModel(CatalogueStore &store, MediaType tree, const std::vector<QIcon> *pictures,
                                 QObject *parent)
    : QAbstractItemModel(parent), m_store(store), m_tree(tree), m_pictures(pictures)
{
    m_store.addListener(this);
}

FolderTreeModel::~FolderTreeModel()
{
    m_store.removeListener(this);
}

void FolderTreeModel::treeAboutToChange(MediaType tree)
{
    if (tree != m_tree || m_resetting)
        return;
    m_resetting = true;
    beginResetModel();
}

void FolderTreeModel::treeChanged(MediaType tree)
{
    if (tree != m_tree || !m_resetting)
        return;
    m_frozenRoot = m_store.root(m_tree);
    m_resetting = false;
    endResetModel();
}

NodeId FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return kNoNode;
    return static_cast<NodeId>(index.internalId());
}

QModelIndex FolderTreeModel::indexOf(NodeId node) const
{
    if (!m_store.isValid(node) || m_store.treeOf(node) != m_tree || m_store.isDetached(node))
        return {};
    if (frozen() && node != m_frozenRoot)
        return {};
    return createIndex(m_store.row(node), 0, quintptr(node));
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid()) {
        const NodeId root = frozen() ? m_frozenRoot : m_store.root(m_tree);
        return row == 0 && m_store.isValid(root) ? createIndex(0, 0, quintptr(root)) : QModelIndex();
    }
    const NodeId p = nodeOf(parent);
    if (frozen() || !m_store.isValid(p) || row >= m_store.childCount(p))
        return {};
    return createIndex(row, 0, quintptr(m_store.child(p, row)));
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    const NodeId n = nodeOf(child);
    if (!m_store.isValid(n) || frozen())
        return {};
    const NodeId p = m_store.parent(n);
    if (p == kNoNode)
        return {};
    return createIndex(m_store.row(p), 0, quintptr(p));
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid()) {
        const NodeId root = frozen() ? m_frozenRoot : m_store.root(m_tree);
        return m_store.isValid(root) ? 1 : 0;
    }
    const NodeId p = nodeOf(parent);
    if (frozen() || !m_store.isValid(p))
        return 0;
    return m_store.childCount(p);
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QIcon FolderTreeModel::iconOf(NodeId node) const
{
    const int image = m_store.picture(node);
    const int selected = m_store.selectedPicture(node);
    const int key = image * 64 + selected;
    const auto found = m_icons.constFind(key);
    if (found != m_icons.constEnd())
        return *found;
    QIcon icon;
    const auto valid = [this](int i) { return m_pictures && i >= 0 && i < int(m_pictures->size()); };
    for (const int side : {16, 32}) {
        if (valid(image))
            icon.addPixmap((*m_pictures)[size_t(image)].pixmap(side, side), QIcon::Normal);
        if (valid(selected))
            icon.addPixmap((*m_pictures)[size_t(selected)].pixmap(side, side), QIcon::Selected);
    }
    m_icons.insert(key, icon);
    return icon;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    const NodeId n = nodeOf(index);
    if (!m_store.isValid(n))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_store.name(n);
    case Qt::DecorationRole:
        return iconOf(n);
    default:
        return {};
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
