// The catalogue: the folders of the twenty trees (ALL and one per media type), each under a root
// "My computer", held compactly: a node is 24 bytes (name id, parent, its block of child ids, its
// row, tree, kind and picture), names are interned once (NameTable), children live in one shared
// pool. Views reach it through FolderTreeModel.
//
// Rules:
// - Children are kept sorted at every level, case-insensitively (names equal but for case are
//   ordered exactly among themselves); a new node goes straight to its place by binary search.
// - Names compare exactly: Photos and PHOTOS are two folders, (C:) and (c:) two drive nodes.
// - Kinds are explicit: MyComputer (picture 16), Drive (the drive type's picture 0..6), Folder on the
//   way (14) and MediaFolder (18). A folder that became a media folder never goes back; a drive node
//   keeps its drive picture. A node's selected picture is the next one (drives: 7 further).
// - Node ids stay valid until clear(). A scan only adds; only the live follow of a folder takes a
//   folder out (dropMediaFolder): the node is then detached (no parent, no children, reached by no
//   traversal, its path empty) and stays so.
// - Listeners hear of every change: around each change outside a batch, and once at the start and
//   once at the end of a batch (a scan). In between, a listener must not expect the trees it was
//   shown to grow: FolderTreeModel shows each tree as it was when the batch began.
#pragma once

#include "app/Global.h"
#include "catalogue/store/NameTable.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

enum class NodeKind : uint8_t { MyComputer, Drive, Folder, MediaFolder };

class CatalogueStore
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void treeAboutToChange(MediaType tree) = 0;
        virtual void treeChanged(MediaType tree) = 0;
    };

    static constexpr int kFolderPicture = 14;
    static constexpr int kMyComputerPicture = 16;
    static constexpr int kMediaFolderPicture = 18;
    static constexpr int kSelectedDriveOffset = 7;

    CatalogueStore();

    // Empties every tree (the memory is given back).
    void clear();
    // Gives a tree its root; the root already there when it has one.
    NodeId addRoot(MediaType tree, QStringView caption);
    // Puts a folder ("C:\Photos\2000\", or a drive root "C:\") into a tree that has a root: the drive
    // node, then a node per component, the last one a media folder (not a drive root). Returns the
    // folder's node, or kNoNode when the tree has no root or the folder is empty.
    NodeId addFolder(MediaType tree, QStringView folder, int driveType);

    // A media folder that no longer holds files of its tree's type: a folder on the way again when
    // folders below it still do; otherwise it leaves the tree, and so does each folder on its way left
    // with nothing below it, and its drive node when that is left empty and dropDrive says the drive's
    // root holds no such file either.
    void dropMediaFolder(NodeId node, bool dropDrive);
    bool isDetached(NodeId node) const
    {
        return m_nodes[node].parent == kNoNode && m_roots[m_nodes[node].tree] != node;
    }

    NodeId root(MediaType tree) const { return m_roots[static_cast<size_t>(code(tree))]; }
    MediaType treeOf(NodeId node) const { return static_cast<MediaType>(m_nodes[node].tree); }
    NodeKind kind(NodeId node) const { return static_cast<NodeKind>(m_nodes[node].kind); }
    int picture(NodeId node) const { return m_nodes[node].picture; }
    int selectedPicture(NodeId node) const;
    QString name(NodeId node) const { return m_names.text(m_nodes[node].name); }
    NodeId parent(NodeId node) const { return m_nodes[node].parent; }
    int childCount(NodeId node) const { return int(m_nodes[node].childCount); }
    NodeId child(NodeId node, int row) const { return m_children[m_nodes[node].firstChild + uint32_t(row)]; }
    // The node's position among its parent's children (0 for a root).
    int row(NodeId node) const;
    // The child named exactly name, or kNoNode.
    NodeId findChild(NodeId parent, QStringView name) const;
    // The folder of a node with a trailing backslash ("C:\Photos\"); empty for a root.
    QString pathOf(NodeId node) const;
    bool isValid(NodeId node) const { return node < m_nodes.size(); }

    // Every node of a tree, parents before children, siblings in order.
    void forEachNode(MediaType tree, const std::function<void(NodeId)> &visit) const;
    size_t nodeCount(MediaType tree) const;
    size_t nodeCount() const { return m_nodes.size(); }
    size_t memoryBytes() const;

    // A batch of changes (a scan): listeners hear of it once at each end. Batches do not nest.
    void beginBatch();
    void endBatch();
    bool inBatch() const { return m_batch; }

    void addListener(Listener *listener);
    void removeListener(Listener *listener);

    // One node as the store keeps it (and the kept catalogue writes it).
    struct Node
    {
        uint32_t name;
        NodeId parent;
        uint32_t firstChild; // offset of the child block in m_children
        uint32_t childCount; // the block holds bit_ceil(childCount) slots
        uint32_t row;        // valid while m_rowsValid
        uint8_t tree;
        uint8_t kind;
        uint8_t picture;
        uint8_t spare;
    };
    static_assert(sizeof(Node) == 24);

    // The store as plain arrays, for the kept catalogue. Only between batches.
    const NameTable &names() const { return m_names; }
    const std::vector<Node> &nodes() const { return m_nodes; }
    const std::vector<NodeId> &childPool() const { return m_children; }
    const std::array<NodeId, kTypeCount> &roots() const { return m_roots; }
    // Takes such arrays in place of the trees, after checking every rule of the store holds in them
    // (ids in range, each node the child of its parent once, parents before children, blocks apart,
    // siblings in order, kinds and pictures that agree); listeners hear of it as of a clear. False with
    // the reason, and the store left as it was, when a rule is broken.
    bool adopt(NameTable names, std::vector<Node> nodes, std::vector<NodeId> children,
               const std::array<NodeId, kTypeCount> &roots, QString *why);

private:
    // The last folder added to a tree and the nodes of its components, so that the next folder,
    // usually a neighbour, only walks the components that differ.
    struct Trail
    {
        QString folder;
        std::vector<std::pair<qsizetype, NodeId>> nodes; // end of a component in folder, its node
    };

    NodeId newNode(MediaType tree, NodeId parent, QStringView name, NodeKind kind, int picture);
    NodeId childNamed(NodeId parent, QStringView name, NodeKind kind, int picture, MediaType tree);
    int lowerBound(NodeId parent, QStringView name) const;
    void insertChild(NodeId parent, int at, NodeId child);
    void recomputeRows() const;
    void compactChildren();
    void aboutToChange(MediaType tree);
    void changed(MediaType tree);

    NameTable m_names;
    std::vector<Node> m_nodes;
    std::vector<NodeId> m_children;
    size_t m_garbage = 0; // slots of child blocks left behind by growth
    std::array<NodeId, kTypeCount> m_roots;
    std::array<Trail, kTypeCount> m_trails;
    mutable bool m_rowsValid = true;
    bool m_batch = false;
    std::vector<Listener *> m_listeners;
};
