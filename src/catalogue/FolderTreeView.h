// TFolderTreeView: the view of one folder tree. Expanding or collapsing a whole tree that is not on
// screen is remembered and done when the tree is next shown or asked about: a view keeps a record
// of every expanded node, and a disk's worth of nodes in trees nobody looks at would cost
// more memory than the catalogue itself.
#pragma once

#include "app/Global.h"

#include <QTreeView>
#include <vector>

class FolderTreeModel;

class TFolderTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit TFolderTreeView(QWidget *parent = nullptr);

    void setFolderModel(FolderTreeModel *model);
    FolderTreeModel *folderModel() const { return m_model; }

    // Every node with children expanded / every node collapsed but the root's first level; the
    // view then shows its first row.
    void expandEverything();
    void collapseToDrives();
    // Does what was left for later now.
    void applyPendingExpansion();

    // What is open in the tree, kept across a reset of its model by a live change: a tree the user
    // opened by hand stays as it was. Nodes keep their ids while the catalogue lasts.
    struct Expansion
    {
        int pending = 0;
        std::vector<NodeId> nodes; // parents before children
    };
    Expansion expansion() const;
    // Detached nodes (folders that left the tree) are skipped.
    void restoreExpansion(const Expansion &saved);

    bool isNodeExpanded(NodeId node);
    NodeId currentNode() const;
    // Makes node current without a change signal (the program's own selection).
    void setCurrentNodeQuietly(NodeId node);

signals:
    // The user made another node current.
    void currentNodeChanged(NodeId node);

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum class Pending { None, ExpandAll, Collapse };
    void doExpandAll();
    void doCollapse();

    FolderTreeModel *m_model = nullptr;
    Pending m_pending = Pending::None;
    bool m_quiet = false;
};
