// Deleting files: to the freedesktop Trash (through QFile::moveToTrash), or for good once the
// caller, told that a file has no Trash, has asked the user.
//
// Rules:
// - A file goes to the Trash of its own file system: the home Trash ($XDG_DATA_HOME/Trash, by default
//   ~/.local/share/Trash) for files on the home's file system, $topdir/.Trash/$uid or
//   $topdir/.Trash-$uid on others. The Trash keeps a .trashinfo beside it (original path, date), so
//   the desktop's file manager can put it back.
// - Where no Trash can take the file (another file system whose top folder has no trash folder and
//   cannot get one, a home Trash on another file system), the answer is NoTrash and the file is
//   untouched: the caller may ask whether to delete it for good and call removeForGood().
// - A read-only file (its mode denies the effective user writing it), a file in a folder the user may
//   not write, or on a volume mounted read-only, is kept, with a failure that says which. Root may
//   write everything, as in the directory search. A missing file and a folder are failures too.
// - A symbolic link is deleted itself, never the file it points to.
// - One report per file, in the order given; a failure does not stop the others.
#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

enum class DeleteOutcome {
    Trashed, // pathInTrash says where it went
    Removed, // deleted for good
    NoTrash, // no Trash can take it; nothing was done
    Failed
};

enum class DeleteFailure {
    None,
    Missing,
    IsFolder,
    AccessDenied,   // a folder on the way cannot be searched
    ReadOnlyFile,   // the file itself is read-only
    ReadOnlyFolder, // the folder holding it is not writable
    ReadOnlyVolume, // the file system is mounted read-only
    Other
};

struct DeleteReport
{
    QString path; // native
    DeleteOutcome outcome = DeleteOutcome::Failed;
    DeleteFailure failure = DeleteFailure::None;
    Status status; // why, when Failed or NoTrash; code is the errno when there is one
    QString pathInTrash;
    bool deleted() const { return outcome == DeleteOutcome::Trashed || outcome == DeleteOutcome::Removed; }
};

DeleteReport moveToTrash(const QString &nativePath);
std::vector<DeleteReport> moveToTrash(const QStringList &nativePaths);
// Deletes the file without a Trash: what the caller does once the user agreed after NoTrash.
DeleteReport removeForGood(const QString &nativePath);

} // namespace platform
