// The item model of one folder tree over the catalogue store: an index's internal id is its node.
// During a batch of the store (a scan) the model shows the tree as it was when the batch began
// (its root, or nothing), so a view painted meanwhile never meets rows it was not told of; at the
// end of the batch the whole tree appears at once (one reset).
#pragma once

#include "catalogue/store/CatalogueStore.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <vector>

class FolderTreeModel : public QAbstractItemModel, private CatalogueStore::Listener
{
    Q_OBJECT
public:
    // The pictures (20, by picture index) are owned elsewhere and outlive the model.
    FolderTreeModel(CatalogueStore &store, MediaType tree, const std::vector<QIcon> *pictures,
                    QObject *parent = nullptr);
    ~FolderTreeModel() override;

    MediaType tree() const { return m_tree; }
    NodeId nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(NodeId node) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void treeAboutToChange(MediaType tree) override;
    void treeChanged(MediaType tree) override;
    bool frozen() const { return m_store.inBatch(); }
    QIcon iconOf(NodeId node) const;

    CatalogueStore &m_store;
    MediaType m_tree;
    const std::vector<QIcon> *m_pictures;
    NodeId m_frozenRoot = kNoNode; // the root shown during a batch
    bool m_resetting = false;
    mutable QHash<int, QIcon> m_icons; // one icon per picture pair: nodes are many, pairs few
};
