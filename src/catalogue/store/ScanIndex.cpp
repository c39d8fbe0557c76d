#include "catalogue/store/ScanIndex.h"

#include "app/MediaType.h"

#include <QHash>
#include <algorithm>

void ScanIndex::clear()
{
    m_names.clear();
    std::vector<Folder>().swap(m_folders);
    std::vector<File>().swap(m_files);
    m_roots.clear();
    m_pending.clear();
    m_extensions.clear();
}

void ScanIndex::beginRoot(const QString &path)
{
    m_rootFiles = m_files.size();
    m_roots.push_back({path, uint32_t(m_folders.size())});
}

uint32_t ScanIndex::beginFolder(QStringView name, int64_t timeNs, uint32_t flags)
{
    return pushFolder(m_names.intern(name), timeNs, flags);
}

uint32_t ScanIndex::pushFolder(uint32_t nameId, int64_t timeNs, uint32_t flags)
{
    const auto id = static_cast<uint32_t>(m_folders.size());
    m_folders.push_back({nameId, id + 1, uint32_t(m_pending.size()), 0, timeNs, flags, 0});
    return id;
}

void ScanIndex::addFile(QStringView name, int64_t size, int type)
{
    m_pending.push_back({m_names.intern(name), uint32_t(type), size});
}

void ScanIndex::endFolder(uint32_t folder)
{
    Folder &f = m_folders[folder];
    const size_t mark = f.firstFile;
    f.firstFile = uint32_t(m_files.size());
    f.fileCount = uint32_t(m_pending.size() - mark);
    m_files.insert(m_files.end(), m_pending.begin() + qsizetype(mark), m_pending.end());
    m_pending.resize(mark);
    f.end = uint32_t(m_folders.size());
}

void ScanIndex::abandonRoot()
{
    if (m_roots.empty())
        return;
    m_pending.clear();
    m_folders.resize(m_roots.back().folder);
    m_files.resize(m_rootFiles);
    m_roots.pop_back();
}

int ScanIndex::findRoot(const QString &path) const
{
    for (size_t i = 0; i < m_roots.size(); ++i)
        if (m_roots[i].path == path)
            return int(i);
    return -1;
}

int64_t ScanIndex::findFolder(const QString &path) const
{
    for (const Root &root : m_roots) {
        if (!path.startsWith(root.path))
            continue;
        uint32_t at = root.folder;
        const QStringView rest = QStringView(path).mid(root.path.size());
        bool found = true;
        for (qsizetype s = 0; s < rest.size() && found;) {
            qsizetype e = rest.indexOf(u'\\', s);
            if (e < 0)
                e = rest.size();
            const QStringView component = rest.mid(s, e - s);
            found = false;
            for (uint32_t c = at + 1; c < m_folders[at].end; c = m_folders[c].end) {
                if (m_names.equals(m_folders[c].name, component)) {
                    at = c;
                    found = true;
                    break;
                }
            }
            s = e + 1;
        }
        if (found)
            return at;
    }
    return -1;
}

size_t ScanIndex::memoryBytes() const
{
    size_t roots = 0;
    for (const Root &r : m_roots)
        roots += sizeof(Root) + size_t(r.path.capacity()) * 2;
    return m_names.memoryBytes() + m_folders.capacity() * sizeof(Folder) + m_files.capacity() * sizeof(File) +
           roots + m_pending.capacity() * sizeof(File);
}

bool ScanIndex::adopt(NameTable names, std::vector<Folder> folders, std::vector<File> files,
                      std::vector<Root> roots, const QString &extensions, QString *why)
{
    clear();
    const auto refuse = [why](const char *reason) {
        if (why)
            *why = QString::fromLatin1(reason);
        return false;
    };
    const size_t count = folders.size();
    if (count >= 0xFFFFFFFFu || files.size() >= 0xFFFFFFFFu)
        return refuse("too many folders");
    // Each root starts where the previous one's walk ended; the last one ends at the end.
    uint32_t expected = 0;
    for (const Root &r : roots) {
        if (r.folder != expected || r.folder >= count || r.path.isEmpty())
            return refuse("bad root");
        expected = folders[r.folder].end;
    }
    if (expected != count || (roots.empty() && count != 0))
        return refuse("folders outside every root");
    std::vector<uint32_t> open; // the ends of the folders holding the current one
    for (size_t i = 0; i < count; ++i) {
        const Folder &f = folders[i];
        while (!open.empty() && open.back() <= i)
            open.pop_back();
        if (f.end <= i || f.end > count || (!open.empty() && f.end > open.back()))
            return refuse("folders do not nest");
        if (f.name >= names.size() || uint64_t(f.firstFile) + f.fileCount > files.size())
            return refuse("bad folder");
        open.push_back(f.end);
    }
    for (const File &file : files)
        if (file.name >= names.size() || file.size < 0 || file.type < 1 || file.type >= uint32_t(kTypeCount))
            return refuse("bad file");
    m_names = std::move(names);
    m_folders = std::move(folders);
    m_files = std::move(files);
    m_roots = std::move(roots);
    m_extensions = extensions;
    settle();
    return true;
}

int64_t ScanIndex::removeFile(const QString &folderPath, QStringView name)
{
    const int64_t at = findFolder(folderPath);
    if (at < 0)
        return -1;
    Folder &f = m_folders[size_t(at)];
    for (uint32_t i = 0; i < f.fileCount; ++i) {
        const uint32_t file = f.firstFile + i;
        if (!m_names.equals(m_files[file].name, name))
            continue;
        m_files.erase(m_files.begin() + file);
        --f.fileCount;
        for (Folder &other : m_folders)
            if (other.firstFile > file)
                --other.firstFile;
        return file;
    }
    return -1;
}

uint32_t ScanIndex::replaceFiles(uint32_t folder, const std::vector<ListedFile> &listed)
{
    Folder &f = m_folders[folder];
    // The names the folder already had keep their ids: a file rewritten or deleted interns nothing
    // (interning after settle() makes the whole lookup table again).
    QHash<QString, uint32_t> had;
    for (uint32_t i = 0; i < f.fileCount; ++i)
        had.insert(m_names.text(m_files[f.firstFile + i].name), m_files[f.firstFile + i].name);
    std::vector<File> now;
    now.reserve(listed.size());
    for (const ListedFile &l : listed) {
        const auto known = had.constFind(l.name);
        now.push_back({known != had.constEnd() ? *known : m_names.intern(l.name), uint32_t(l.type), l.size});
    }
    const uint32_t first = f.firstFile;
    const uint32_t before = f.fileCount;
    const uint32_t oldEnd = first + before;
    const auto common = std::min<size_t>(before, now.size());
    std::copy(now.begin(), now.begin() + qsizetype(common), m_files.begin() + first);
    if (now.size() > before)
        m_files.insert(m_files.begin() + oldEnd, now.begin() + qsizetype(before), now.end());
    else
        m_files.erase(m_files.begin() + first + qsizetype(now.size()), m_files.begin() + oldEnd);
    const int64_t delta = int64_t(now.size()) - int64_t(before);
    const auto newEnd = uint32_t(first + now.size());
    if (delta != 0) {
        for (uint32_t i = 0; i < m_folders.size(); ++i) {
            Folder &other = m_folders[i];
            if (i == folder)
                continue;
            if (other.firstFile >= oldEnd)
                other.firstFile = uint32_t(int64_t(other.firstFile) + delta);
            else if (other.firstFile > newEnd)
                other.firstFile = newEnd; // an empty folder left inside the old range
        }
    }
    f.fileCount = uint32_t(now.size());
    return before;
}

void ScanIndex::settle()
{
    m_names.releaseLookup();
    m_folders.shrink_to_fit();
    m_files.shrink_to_fit();
    std::vector<File>().swap(m_pending);
}
