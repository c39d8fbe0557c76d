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
