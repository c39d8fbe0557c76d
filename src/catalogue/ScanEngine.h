// The scan engine: walks a drive or a folder depth first, tests each file against the enabled media
// extensions, counts the matching files and their bytes on the drive row ScanRequest.CurrentDrive,
// and hands each folder that holds a matching file to the tree builder (the type's tree and ALL).
// It needs no window: the catalogue store and the records are all it writes.
//
// Rules:
// - Runs on the interface thread. Pending window messages are processed on entering every folder and
//   after every 11 files of a folder; ScanCancelled is checked right after, so Cancel acts at once.
// - The walk stays on its drive: a folder with the reparse-point attribute (a symbolic link to a
//   folder, another mount) is never entered.
// - Below the root, a folder that cannot be listed because access is denied is skipped and counted
//   in InaccessibleFolders, and a folder that vanished since its parent was listed is skipped; any
//   other error ends the whole root with that error code (so does any error on the root itself).
// - A folder is handed to the trees once per run of files of one type in it, not once per file.
// - Each folder is opened from its parent's open folder: a deep tree is never resolved from its root
//   again, and a folder replaced by a link since its parent was listed is not followed.
#pragma once

#include <QString>
#include <cstdint>

class App;
struct Catalogue;

// Receives the walk's progress: the scan window shows the folder being walked.
class ScanProgress
{
public:
    virtual ~ScanProgress() = default;
    // A folder is about to be listed (the path as the catalogue spells it).
    virtual void enteringFolder(const QString &path) = 0;
    // A folder's listing ended normally.
    virtual void folderDone() = 0;
};

struct ScanOutcome
{
    bool ok = true;
    int errorCode = 0; // a directory-search result code when !ok
};

// "C:\" for a letter, or the Start_Scan_C_With folder (with one trailing backslash) for C when set.
QString StartPathOfDrive(App &app, const QString &letter);
// ScanRequest.Folder with one trailing backslash.
QString StartPathOfFolder(App &app);
// Empties LastFolder of every row of Extensions.
void ClearLastFolders(App &app);

// Walks path (ending with a backslash) and everything below it, telling progress (may be null).
ScanOutcome ScanFolder(Catalogue &cat, const QString &path, ScanProgress *progress = nullptr);
// Handles one found file (full path); its size is asked from the disk.
void ScanFile(Catalogue &cat, const QString &fileName);
// The same with the size the folder listing already gave.
void ScanFile(Catalogue &cat, const QString &fileName, int64_t size);
