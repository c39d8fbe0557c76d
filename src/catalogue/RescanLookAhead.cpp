#include "catalogue/RescanLookAhead.h"

#include "platform/drives/DriveNames.h"

#include <QFile>
#include <algorithm>

namespace {

// How deep a rescan goes through unchanged folders without opening them.
constexpr int kDeepestUnopened = 8;
constexpr qsizetype kLongestUnopened = 1024;

} // namespace

void AppendNativeName(const ScanIndex &index, uint32_t nameId, QByteArray &out)
{
    if (!index.names().appendUtf8(nameId, out))
        out += QFile::encodeName(platform::nameToNative(index.nameOf(nameId)));
}

bool OpensBeforeGoingDeeper(const QByteArray &relative)
{
    return relative.count('/') >= kDeepestUnopened || relative.size() > kLongestUnopened;
}

RescanLookAhead::RescanLookAhead(const ScanIndex &previous, uint32_t root, const platform::DriveMap &drives,
                                 const QString &path, uint32_t foldersForTwo)
    : m_previous(previous), m_root(root),
      m_end(root < previous.folders().size() ? previous.folder(root).end : root),
      m_probes(previous.folders().size()), m_sizes(previous.files().size(), -1),
      m_visited(previous.folders().size(), 0)
{
    uint32_t split = m_end;
    if (m_end - m_root >= std::max(foldersForTwo, 2u)) {
        // The second thread starts where half of the folders and files lie behind.
        uint64_t total = 0;
        for (uint32_t f = m_root; f < m_end; ++f)
            total += 1 + m_previous.folder(f).fileCount;
        uint64_t behind = 0;
        split = m_root + 1;
        while (split < m_end && behind < total / 2)
            behind += 1 + m_previous.folder(split++).fileCount;
    }
    m_lanes[0].from = m_root;
    m_lanes[0].to = split;
    m_lanes[1].from = split;
    m_lanes[1].to = m_end;
    for (int i = 0; i < 2; ++i) {
        Lane &lane = m_lanes[i];
        lane.doneBefore = lane.from;
        if (lane.from < lane.to)
            m_handles[i] = platform::FolderHandle::open(drives, path);
        if (m_handles[i].isOpen())
            lane.thread = std::thread([this, i] { run(i); });
        else
            lane.doneBefore = lane.to;
    }
}

RescanLookAhead::~RescanLookAhead()
{
    m_stop = true;
    for (Lane &lane : m_lanes)
        if (lane.thread.joinable())
            lane.thread.join();
}

void RescanLookAhead::run(int i)
{
    Lane &lane = m_lanes[i];
    if (lane.from == m_root)
        m_visited[m_root] = 1;
    walk(lane, m_handles[i], QByteArray(), m_root);
    // What the thread did not reach is asked by the walk itself (m_visited stays 0 there).
    publish(lane, lane.to);
}

void RescanLookAhead::publish(Lane &lane, uint32_t doneBefore)
{
    if (doneBefore > lane.doneBefore.load(std::memory_order_relaxed)) {
        lane.doneBefore.store(doneBefore, std::memory_order_release);
        lane.doneBefore.notify_all();
    }
}

void RescanLookAhead::walk(Lane &lane, const platform::FolderHandle &base, const QByteArray &prefix,
                           uint32_t folder)
{
    const ScanIndex::Folder &f = m_previous.folder(folder);
    if (folder >= lane.from) {
        QByteArray native;
        for (uint32_t i = 0; i < f.fileCount; ++i) {
            native = prefix;
            AppendNativeName(m_previous, m_previous.files()[f.firstFile + i].name, native);
            m_sizes[f.firstFile + i] = base.fileSizeNative(native.constData());
        }
        publish(lane, folder + 1);
    }
    for (uint32_t c = folder + 1; c < f.end; c = m_previous.folder(c).end) {
        if (c >= lane.to || m_stop.load(std::memory_order_relaxed)) {
            lane.over = true;
            return;
        }
        const ScanIndex::Folder &child = m_previous.folder(c);
        if (child.end <= lane.from)
            continue;
        QByteArray relative = prefix;
        AppendNativeName(m_previous, child.name, relative);
        // A folder of the other thread holding this one's first: only a way down.
        const bool theirs = c < lane.from;
        bool down = theirs;
        if (!theirs) {
            const platform::FolderHandle::Probe p = base.probeRelative(relative.constData());
            m_probes[c] = p;
            down = p.code == platform::ERROR_SUCCESS && !(child.flags & ScanIndex::Unreadable);
        }
        if (down && !OpensBeforeGoingDeeper(relative)) {
            m_visited[c] = !theirs;
            walk(lane, base, relative + '/', c);
        } else if (down) {
            const platform::FolderHandle opened = base.belowRelative(relative.constData());
            down = opened.code() == platform::ERROR_SUCCESS;
            if (down) {
                m_visited[c] = !theirs;
                walk(lane, opened, QByteArray(), c);
            }
        }
        if (lane.over)
            return;
        if (!down && theirs) {
            // No way down to this thread's folders: the walk asks them itself.
            lane.over = true;
            return;
        }
        if (!down)
            publish(lane, child.end);
    }
}

bool RescanLookAhead::reached(uint32_t folder)
{
    if (folder < m_root || folder >= m_end)
        return false;
    Lane &lane = folder < m_lanes[1].from ? m_lanes[0] : m_lanes[1];
    for (uint32_t done = lane.doneBefore.load(std::memory_order_acquire); done <= folder;
         done = lane.doneBefore.load(std::memory_order_acquire))
        lane.doneBefore.wait(done, std::memory_order_acquire);
    return true;
}

std::optional<platform::FolderHandle::Probe> RescanLookAhead::probe(uint32_t folder)
{
    if (!reached(folder) || !m_visited[folder] || folder == m_root)
        return std::nullopt;
    return m_probes[folder];
}

std::optional<int64_t> RescanLookAhead::fileSize(uint32_t folder, uint32_t file)
{
    if (!reached(folder) || !m_visited[folder])
        return std::nullopt;
    const ScanIndex::Folder &f = m_previous.folder(folder);
    if (file < f.firstFile || file >= f.firstFile + f.fileCount)
        return std::nullopt;
    return m_sizes[file];
}
