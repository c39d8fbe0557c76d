#include "catalogue/store/CatalogueStore.h"

#include <algorithm>
#include <bit>

namespace {
// The order of siblings: case-insensitive, then exact so that names equal but for case keep a fixed
// order whatever the order they were added in.
int compareNames(const NameTable &names, uint32_t stored, QStringView name)
{
    const int folded = names.compare(stored, name, Qt::CaseInsensitive);
    return folded != 0 ? folded : names.compare(stored, name, Qt::CaseSensitive);
}

uint32_t blockSize(uint32_t count)
{
    return count == 0 ? 0 : std::bit_ceil(count);
}

qsizetype commonPrefix(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}
} // namespace

CatalogueStore::CatalogueStore()
{
    m_roots.fill(kNoNode);
}

void CatalogueStore::aboutToChange(MediaType tree)
{
    for (Listener *l : m_listeners)
        l->treeAboutToChange(tree);
}

void CatalogueStore::changed(MediaType tree)
{
    for (Listener *l : m_listeners)
        l->treeChanged(tree);
}

void CatalogueStore::addListener(Listener *listener)
{
    m_listeners.push_back(listener);
}

void CatalogueStore::removeListener(Listener *listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void CatalogueStore::clear()
{
    for (MediaType t : kAllTypes)
        aboutToChange(t);
    m_names.clear();
    std::vector<Node>().swap(m_nodes);
    std::vector<NodeId>().swap(m_children);
    m_garbage = 0;
    m_roots.fill(kNoNode);
    for (Trail &trail : m_trails)
        trail = Trail();
    m_rowsValid = true;
    for (MediaType t : kAllTypes)
        changed(t);
}

NodeId CatalogueStore::newNode(MediaType tree, NodeId parent, QStringView name, NodeKind kind, int picture)
{
    const auto id = static_cast<NodeId>(m_nodes.size());
    Node n{};
    n.name = m_names.intern(name);
    n.parent = parent;
    n.firstChild = 0;
    n.childCount = 0;
    n.row = 0;
    n.tree = static_cast<uint8_t>(code(tree));
    n.kind = static_cast<uint8_t>(kind);
    n.picture = static_cast<uint8_t>(picture);
    m_nodes.push_back(n);
    return id;
}

NodeId CatalogueStore::addRoot(MediaType tree, QStringView caption)
{
    NodeId &root = m_roots[static_cast<size_t>(code(tree))];
    if (root != kNoNode)
        return root;
    if (!m_batch)
        aboutToChange(tree);
    root = newNode(tree, kNoNode, caption, NodeKind::MyComputer, kMyComputerPicture);
    if (!m_batch)
        changed(tree);
    return root;
}

int CatalogueStore::selectedPicture(NodeId node) const
{
    const Node &n = m_nodes[node];
    return n.picture + (static_cast<NodeKind>(n.kind) == NodeKind::Drive ? kSelectedDriveOffset : 1);
}

int CatalogueStore::lowerBound(NodeId parent, QStringView name) const
{
    const Node &p = m_nodes[parent];
    int lo = 0;
    int hi = int(p.childCount);
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (compareNames(m_names, m_nodes[m_children[p.firstChild + uint32_t(mid)]].name, name) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

NodeId CatalogueStore::findChild(NodeId parent, QStringView name) const
{
    if (!isValid(parent))
        return kNoNode;
    const int at = lowerBound(parent, name);
    if (at < childCount(parent)) {
        const NodeId c = child(parent, at);
        if (m_names.equals(m_nodes[c].name, name))
            return c;
    }
    return kNoNode;
}

void CatalogueStore::insertChild(NodeId parent, int at, NodeId childId)
{
    Node &p = m_nodes[parent];
    const uint32_t count = p.childCount;
    const uint32_t capacity = blockSize(count);
    if (count == capacity) {
        // Full: the block moves to the end of the pool at twice its size; the old one is left behind
        // until the next compaction.
        const uint32_t grown = capacity == 0 ? 1 : capacity * 2;
        const auto start = static_cast<uint32_t>(m_children.size());
        m_children.resize(m_children.size() + grown, kNoNode);
        NodeId *to = m_children.data() + start;
        const NodeId *from = m_children.data() + p.firstChild;
        std::copy(from, from + at, to);
        std::copy(from + at, from + count, to + at + 1);
        m_garbage += capacity;
        p.firstChild = start;
    } else {
        NodeId *block = m_children.data() + p.firstChild;
        std::copy_backward(block + at, block + count, block + count + 1);
    }
    m_children[p.firstChild + uint32_t(at)] = childId;
    ++p.childCount;
    m_rowsValid = false;
}

NodeId CatalogueStore::childNamed(NodeId parent, QStringView name, NodeKind kind, int picture, MediaType tree)
{
    const int at = lowerBound(parent, name);
    if (at < childCount(parent)) {
        const NodeId existing = child(parent, at);
        if (m_names.equals(m_nodes[existing].name, name))
            return existing;
    }
    const NodeId node = newNode(tree, parent, name, kind, picture);
    insertChild(parent, at, node);
    return node;
}

NodeId CatalogueStore::addFolder(MediaType tree, QStringView folder, int driveType)
{
    const NodeId rootNode = root(tree);
    if (rootNode == kNoNode || folder.isEmpty())
        return kNoNode;
    if (!m_batch)
        aboutToChange(tree);

    Trail &trail = m_trails[static_cast<size_t>(code(tree))];
    const QChar letter = folder.at(0);
    const qsizetype firstSlash = folder.indexOf(u'\\');
    // How much of the last folder's chain this one shares: the drive when the letter is the same,
    // then every component that ends at a boundary of both within their common prefix.
    size_t kept = 0;
    if (!trail.nodes.empty() && trail.folder.at(0) == letter) {
        kept = 1;
        const qsizetype common = commonPrefix(folder, trail.folder);
        if (firstSlash >= 0 && common > firstSlash && trail.folder.indexOf(u'\\') == firstSlash) {
            for (size_t i = 1; i < trail.nodes.size(); ++i) {
                const qsizetype end = trail.nodes[i].first;
                if (end > common || (end < folder.size() && folder[end] != u'\\'))
                    break;
                kept = i + 1;
            }
        }
    }
    trail.nodes.resize(kept);
    NodeId node;
    qsizetype start;
    if (kept == 0) {
        const QString driveText = QLatin1Char('(') + letter + QLatin1String(":)");
        node = childNamed(rootNode, driveText, NodeKind::Drive, driveType, tree);
        trail.nodes.emplace_back(0, node);
        start = firstSlash + 1;
    } else {
        node = trail.nodes.back().second;
        start = kept == 1 ? firstSlash + 1 : trail.nodes.back().first + 1;
    }
    const NodeId drive = trail.nodes.front().second;
    if (firstSlash >= 0) {
        for (qsizetype s = start; s < folder.size();) {
            qsizetype e = folder.indexOf(u'\\', s);
            if (e < 0)
                e = folder.size();
            // An empty component (a doubled backslash) names no folder.
            if (e > s) {
                node = childNamed(node, folder.mid(s, e - s), NodeKind::Folder, kFolderPicture, tree);
                trail.nodes.emplace_back(e, node);
            }
            s = e + 1;
        }
        if (node != drive && kind(node) != NodeKind::MediaFolder) {
            m_nodes[node].kind = static_cast<uint8_t>(NodeKind::MediaFolder);
            m_nodes[node].picture = kMediaFolderPicture;
        }
    }
    trail.folder = folder.toString();
    if (!m_batch)
        changed(tree);
    return node;
}

void CatalogueStore::dropMediaFolder(NodeId node, bool dropDrive)
{
    if (!isValid(node) || kind(node) != NodeKind::MediaFolder)
        return;
    const MediaType tree = treeOf(node);
    if (!m_batch)
        aboutToChange(tree);
    m_trails[static_cast<size_t>(code(tree))] = Trail();
    if (m_nodes[node].childCount > 0) {
        m_nodes[node].kind = static_cast<uint8_t>(NodeKind::Folder);
        m_nodes[node].picture = kFolderPicture;
    } else {
        NodeId n = node;
        for (;;) {
            const NodeId p = m_nodes[n].parent;
            Node &parentNode = m_nodes[p];
            NodeId *block = m_children.data() + parentNode.firstChild;
            NodeId *end = block + parentNode.childCount;
            NodeId *at = std::find(block, end, n);
            if (at != end) {
                std::copy(at + 1, end, at);
                *(end - 1) = kNoNode;
                --parentNode.childCount;
            }
            m_nodes[n].parent = kNoNode;
            m_rowsValid = false;
            n = p;
            if (m_nodes[n].childCount > 0)
                break;
            const NodeKind k = kind(n);
            if (k != NodeKind::Folder && !(k == NodeKind::Drive && dropDrive))
                break;
        }
    }
    if (!m_batch)
        changed(tree);
}

void CatalogueStore::recomputeRows() const
{
    auto &nodes = const_cast<std::vector<Node> &>(m_nodes);
    for (const Node &n : m_nodes)
        for (uint32_t i = 0; i < n.childCount; ++i)
            nodes[m_children[n.firstChild + i]].row = i;
    m_rowsValid = true;
}

int CatalogueStore::row(NodeId node) const
{
    if (!m_rowsValid)
        recomputeRows();
    return int(m_nodes[node].row);
}

QString CatalogueStore::pathOf(NodeId node) const
{
    std::vector<NodeId> chain;
    for (NodeId n = node; isValid(n) && m_nodes[n].parent != kNoNode; n = m_nodes[n].parent)
        chain.push_back(n);
    QString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const QString text = name(*it);
        if (text.startsWith(u'(') && text.mid(2, 2) == QLatin1String(":)"))
            path += text.mid(1, 1);
        else
            path += text;
        path += u'\\';
    }
    if (!path.isEmpty())
        path.insert(1, u':');
    return path;
}

void CatalogueStore::forEachNode(MediaType tree, const std::function<void(NodeId)> &visit) const
{
    const NodeId top = root(tree);
    if (top == kNoNode)
        return;
    std::vector<NodeId> stack{top};
    while (!stack.empty()) {
        const NodeId n = stack.back();
        stack.pop_back();
        visit(n);
        for (int i = childCount(n) - 1; i >= 0; --i)
            stack.push_back(child(n, i));
    }
}

size_t CatalogueStore::nodeCount(MediaType tree) const
{
    size_t n = 0;
    forEachNode(tree, [&n](NodeId) { ++n; });
    return n;
}

size_t CatalogueStore::memoryBytes() const
{
    size_t trails = 0;
    for (const Trail &t : m_trails)
        trails += size_t(t.folder.capacity()) * 2 + t.nodes.capacity() * sizeof(t.nodes[0]);
    return m_names.memoryBytes() + m_nodes.capacity() * sizeof(Node) +
           m_children.capacity() * sizeof(NodeId) + trails;
}

void CatalogueStore::compactChildren()
{
    // Blocks are laid out again tightly (each still a power of two, so growth keeps working) and the
    // vectors lose their spare capacity: a scan's worth of nodes is kept for the rest of the run.
    std::vector<NodeId> pool;
    pool.reserve(m_children.size() - m_garbage);
    for (Node &n : m_nodes) {
        const auto start = static_cast<uint32_t>(pool.size());
        const uint32_t size = blockSize(n.childCount);
        pool.insert(pool.end(), m_children.begin() + n.firstChild, m_children.begin() + n.firstChild + size);
        n.firstChild = start;
    }
    m_children.swap(pool);
    m_children.shrink_to_fit();
    m_garbage = 0;
    m_nodes.shrink_to_fit();
}

void CatalogueStore::beginBatch()
{
    for (MediaType t : kAllTypes)
        aboutToChange(t);
    m_batch = true;
    for (MediaType t : kAllTypes)
        changed(t);
}

void CatalogueStore::endBatch()
{
    for (MediaType t : kAllTypes)
        aboutToChange(t);
    m_batch = false;
    compactChildren();
    for (Trail &trail : m_trails)
        trail = Trail();
    for (MediaType t : kAllTypes)
        changed(t);
}

namespace {
bool pictureFits(NodeKind kind, int picture)
{
    switch (kind) {
    case NodeKind::MyComputer:
        return picture == CatalogueStore::kMyComputerPicture;
    case NodeKind::Drive:
        return picture >= 0 && picture <= 6;
    case NodeKind::Folder:
        return picture == CatalogueStore::kFolderPicture;
    case NodeKind::MediaFolder:
        return picture == CatalogueStore::kMediaFolderPicture;
    }
    return false;
}
} // namespace

bool CatalogueStore::adopt(NameTable names, std::vector<Node> nodes, std::vector<NodeId> children,
                           const std::array<NodeId, kTypeCount> &roots, QString *why)
{
    const auto refuse = [why](const char *reason) {
        if (why)
            *why = QString::fromLatin1(reason);
        return false;
    };
    const size_t count = nodes.size();
    if (count >= kNoNode || children.size() >= kNoNode)
        return refuse("too many nodes");
    size_t rootCount = 0;
    for (size_t t = 0; t < roots.size(); ++t) {
        const NodeId r = roots[t];
        if (r == kNoNode)
            continue;
        if (r >= count || nodes[r].parent != kNoNode || nodes[r].tree != t ||
            static_cast<NodeKind>(nodes[r].kind) != NodeKind::MyComputer)
            return refuse("bad root");
        ++rootCount;
    }
    size_t detached = 0;
    std::vector<bool> slotUsed(children.size(), false);
    std::vector<bool> isChild(count, false);
    size_t childTotal = 0;
    size_t blocks = 0;
    // Each node on its own first, so that the structure below only meets valid names and parents.
    for (size_t id = 0; id < count; ++id) {
        const Node &n = nodes[id];
        if (n.name >= names.size() || n.tree >= kTypeCount || n.kind > uint8_t(NodeKind::MediaFolder) ||
            !pictureFits(static_cast<NodeKind>(n.kind), n.picture))
            return refuse("bad node");
        if (n.parent == kNoNode) {
            // A node the live follow took out: it holds nothing and nothing holds it.
            if (roots[n.tree] != id) {
                if (n.childCount != 0)
                    return refuse("node without parent");
                ++detached;
            }
        } else if (n.parent >= id || nodes[n.parent].tree != n.tree ||
                   static_cast<NodeKind>(n.kind) == NodeKind::MyComputer) {
            // Parents are made before their children: no cycle can hide in the parents.
            return refuse("bad parent");
        }
    }
    for (size_t id = 0; id < count; ++id) {
        const Node &n = nodes[id];
        if (n.childCount > count)
            return refuse("child block outside the pool");
        const uint64_t size = blockSize(n.childCount);
        if (uint64_t(n.firstChild) + size > children.size())
            return refuse("child block outside the pool");
        for (uint64_t slot = n.firstChild; slot < n.firstChild + size; ++slot) {
            if (slotUsed[slot])
                return refuse("child blocks overlap");
            slotUsed[slot] = true;
        }
        blocks += size;
        for (uint32_t i = 0; i < n.childCount; ++i) {
            const NodeId c = children[n.firstChild + i];
            if (c >= count || nodes[c].parent != id || isChild[c])
                return refuse("bad child");
            isChild[c] = true;
            const uint32_t before = i > 0 ? nodes[children[n.firstChild + i - 1]].name : 0;
            const int folded = i > 0 ? names.compareIds(before, nodes[c].name, Qt::CaseInsensitive) : -1;
            if (folded > 0 ||
                (folded == 0 && names.compareIds(before, nodes[c].name, Qt::CaseSensitive) >= 0))
                return refuse("children out of order");
        }
        childTotal += n.childCount;
    }
    if (childTotal + rootCount + detached != count)
        return refuse("node outside every tree");

    // Rows are worked out again from the blocks; a root's is 0 whatever the file said.
    for (Node &n : nodes)
        n.row = 0;
    for (MediaType t : kAllTypes)
        aboutToChange(t);
    m_names = std::move(names);
    m_nodes = std::move(nodes);
    m_children = std::move(children);
    m_garbage = m_children.size() - blocks;
    m_roots = roots;
    for (Trail &trail : m_trails)
        trail = Trail();
    m_rowsValid = false;
    for (MediaType t : kAllTypes)
        changed(t);
    return true;
}
