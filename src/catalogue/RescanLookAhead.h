// What a rescan will ask of the disk about the folders and media files of the previous walk, asked
// ahead on a thread of its own: each sub-folder's probe (its kind and change time) and each media
// file's size. Nearly all of an unchanged rescan's time is these questions, one system call each;
// asked on the second core they no longer hold up the walk, which only compares and counts.
//
// Rules:
// - Two threads share one root's folders of the previous index: the first half of the walk order
//   (by folders and files) and the second half, each in walk order, each sub-folder asked as the
//   walk asks it: through its parent's open folder or a few levels below it (no link or other mount
//   followed on the way), the same calls with the same answers. The walk waits (asleep) for a folder
//   its thread has not reached yet.
// - An answer is used only when it is a success; anything else (a folder gone, refused, a link, or
//   a question the thread has not reached because it left that branch) is asked again by the walk
//   itself, so the walk's codes and decisions stay its own.
// - The index must not change while the thread runs; it is stopped and joined on destruction.
#pragma once

#include "catalogue/store/ScanIndex.h"
#include "platform/drives/DirSearch.h"

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

// The native spelling of a name of the index: from its bytes when it has no character beyond
// Latin-1 (nearly all), else through the drive map's spelling rules.
void AppendNativeName(const ScanIndex &index, uint32_t nameId, QByteArray &out);

// Whether a rescan opens the folder at relative (below the folder it opened last) rather than go on
// asking through it: a few parts more in each path cost less than opening every folder of a chain.
bool OpensBeforeGoingDeeper(const QByteArray &relative);

class RescanLookAhead
{
public:
    // root: the root's folder in previous, at path (as the catalogue spells it), opened for each
    // thread. A root of fewer than foldersForTwo folders is asked by the first thread alone.
    RescanLookAhead(const ScanIndex &previous, uint32_t root, const platform::DriveMap &drives,
                    const QString &path, uint32_t foldersForTwo);
    ~RescanLookAhead();
    RescanLookAhead(const RescanLookAhead &) = delete;
    RescanLookAhead &operator=(const RescanLookAhead &) = delete;

    // The successful probe of sub-folder folder, once the thread has asked it; none otherwise.
    std::optional<platform::FolderHandle::Probe> probe(uint32_t folder);
    // The size of file (an index of previous's files) of folder, as FolderHandle::fileSizeNative
    // answered it to the thread; none when the thread did not reach the folder's files.
    std::optional<int64_t> fileSize(uint32_t folder, uint32_t file);

private:
    struct Lane
    {
        uint32_t from = 0; // the folders [from, to) of the walk order
        uint32_t to = 0;
        std::atomic<uint32_t> doneBefore{0};
        bool over = false; // the thread went past to, or has to stop
        std::thread thread;
    };
    void run(int lane);
    void walk(Lane &lane, const platform::FolderHandle &base, const QByteArray &prefix, uint32_t folder);
    void publish(Lane &lane, uint32_t doneBefore);
    // Waits until a thread is done with folder; false when folder is not in the root asked ahead.
    bool reached(uint32_t folder);

    const ScanIndex &m_previous;
    const uint32_t m_root;
    const uint32_t m_end;
    platform::FolderHandle m_handles[2];
    std::vector<platform::FolderHandle::Probe> m_probes;
    std::vector<int64_t> m_sizes;
    std::vector<uint8_t> m_visited; // 1: probed as a folder and its files sized
    std::atomic<bool> m_stop{false};
    Lane m_lanes[2];
};
