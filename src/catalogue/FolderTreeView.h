// TFolderTreeView: the view of one folder tree. Expanding or collapsing a whole tree that is not on
// screen is remembered and done when the tree is next shown or asked about: a view keeps a record
// of every expanded node, and a disk's worth of nodes in twelve trees nobody looks at would cost
// more memory than the catalogue itself.
#pragma once

#include "app/Global.h"

#include <QTreeView>

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
