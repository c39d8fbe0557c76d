// The copy engine: copies one or several files (native paths) to a file name or into a folder, the
// way the shell's copy does for the file commands: it asks before replacing an existing file, reports
// its progress, can be cancelled, and never leaves a half-written file behind.
//
// Rules:
// - Each file is written into a temporary file of the destination folder and then put in place under
//   its final name in one rename: an existing target is replaced whole or not at all. Where the file
//   system allows it (ext4, XFS, Btrfs, tmpfs), the temporary file has no name until it is complete,
//   so even a process killed in the middle leaves nothing behind (killed in the instant between
//   naming a finished copy and renaming it over the old target, the whole copy stays under a hidden
//   name ".lumavista-copy-..."). Elsewhere the temporary file has that hidden name from the start.
// - The copy keeps the permission bits (rwx of owner, group, others) and the access and modification
//   times, to the nanosecond where the file system keeps them. It does not keep the owner.
// - A copy of a file onto itself (same device and inode: the same name, another path to it, a
//   symbolic or hard link) is refused as a failure before anything is written.
// - Before an existing file is replaced the observer is asked: No skips that file and counts as
//   aborted; Cancel stops the whole copy (aborted); YesToAll answers every later question.
//   A read-only target is never replaced (a failure, as for a read-only file that is deleted).
//   A symbolic link at the target's name is itself replaced: the file it pointed to is untouched.
// - Progress is told in per mille of all the files' bytes (byte counts are 64-bit; a byte count
//   would not fit an int past 2 GiB), at each file's start and after every 8 MiB (1 MiB when the
//   kernel cannot copy by itself), then once at 1000 when all is done. Answering false cancels: the
//   file being copied is dropped and its old target stays as it was; the final answer changes
//   nothing.
// - A failed file (missing or unreadable source, a folder given as a source, a missing or
//   unwritable destination folder, a full disk, a file too large for the destination) is reported
//   to the observer, which says whether the remaining files are still copied (by default not).
// - Only sources that are regular files (or links to one) are copied; folders are refused.
// - Data moves inside the kernel where it can (clone on copy-on-write file systems, copy_file_range,
//   sendfile), with read/write as the last resort, so a copy costs what cp costs.
// - Nothing is flushed to the disk before the rename: like cp, the engine leaves durability across a
//   power cut to the file system (ext4, XFS and Btrfs write a file renamed over another first).
#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace platform {

enum class ReplaceAnswer { Yes, YesToAll, No, Cancel };

enum class CopyOutcome {
    Copied,
    Failed,    // see failure and status
    Declined,  // the replace question was answered No (aborted)
    Cancelled, // this file was being copied, or asked about, when the copy was cancelled (aborted)
    NotReached // the copy stopped before this file (cancelled, or stopped after a failure)
};

enum class CopyFailure {
    None,
    SourceMissing,
    SourceUnreadable,
    SourceIsFolder,
    SameFile,            // the target is the source itself
    TargetFolderMissing, // the destination folder does not exist or is not a folder
    TargetUnwritable,    // no file can be created in the destination folder (access, read-only volume)
    TargetIsFolder,      // a folder has the target's name
    TargetReadOnly,      // the existing target is read-only
    DiskFull,
    TooLarge, // larger than the destination allows (FAT's 4 GiB, a file-size limit)
    Io        // any other read or write error
};

struct CopyFileReport
{
    QString source; // native paths
    QString target;
    CopyOutcome outcome = CopyOutcome::NotReached;
    CopyFailure failure = CopyFailure::None;
    Status status;      // the failure's Error when outcome is Failed: code is the errno, when there is one
    uint64_t bytes = 0; // copied
};

struct CopyResult
{
    std::vector<CopyFileReport> files; // one per source, in the order given

    // No file failed (the shell call "succeeded"); declined and cancelled files do not count.
    bool ok() const;
    // Some file was declined or the copy was cancelled: not everything asked for was done.
    bool anyAborted() const;
    bool cancelled() const;
    int count(CopyOutcome outcome) const;
};

struct CopyProgress
{
    int perMille = 0;  // 0..1000 of all bytes
    int fileIndex = 0; // index of the file being copied
    int fileCount = 0;
    QString source;
    QString target;
};

// What the engine asks of its caller: the replace question, progress, what to do after a failure.
// Called on the thread that runs the copy.
class CopyObserver
{
public:
    virtual ~CopyObserver() = default;
    // target exists and would be replaced by a copy of source.
    virtual ReplaceAnswer confirmReplace(const QString &source, const QString &target) = 0;
    // False cancels the copy.
    virtual bool progress(const CopyProgress &progress) = 0;
    // A file failed; true copies the remaining files anyway.
    virtual bool continueAfterFailure(const CopyFileReport &report)
    {
        (void)report;
        return false;
    }
};

class CopyEngine
{
public:
    explicit CopyEngine(CopyObserver &observer);

    // Copies source to the file target; a target that is an existing folder receives the copy
    // under the source's name.
    CopyResult copyFile(const QString &source, const QString &target);
    // Copies every source into folder under its own name.
    CopyResult copyIntoFolder(const QStringList &sources, const QString &folder);
    // The shell's form: one source and a destination that is not an existing folder is a file
    // name; otherwise destination is the folder that receives every source.
    CopyResult copy(const QStringList &sources, const QString &destination);

private:
    struct Job;
    CopyResult run(const std::vector<Job> &jobs);

    CopyObserver &m_observer;
};

} // namespace platform
