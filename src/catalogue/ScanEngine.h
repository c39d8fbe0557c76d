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
// - Rescan (Catalogue::memory set): every folder walked goes into memory->next with its change time
//   (the later of mtime and ctime); a folder whose time equals the one memory->previous holds for it
//   is not listed again: its media files (their sizes asked again, one statx each) and sub-folders
//   come from previous, and each sub-folder is looked at in turn. The trees and counts are then those
//   a full walk gives. Times at or after trustBeforeNs are kept as unknown, so a folder changed in
//   the same tick as it was walked is read again next time. A root that fails or is cancelled is
//   dropped from next. What the walk will ask about the previous walk's folders (their times, their
//   files' sizes) is asked ahead on two threads of their own (RescanLookAhead.h); the walk itself
//   stays on the interface thread.
#pragma once

#include "app/MediaType.h"

#include <QString>
#include <cstdint>
#include <functional>

class App;
struct AppState;
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

class ScanIndex;

// What a rescan reuses and what it keeps, for the length of one scan.
struct ScanMemory
{
    const ScanIndex *previous = nullptr; // the last walk of the same roots, or null: read everything
    ScanIndex *next = nullptr;           // receives this walk, or null: nothing kept
    int64_t trustBeforeNs = 0;           // folder times from here on are kept as unknown
    int64_t foldersRead = 0;             // listed
    int64_t foldersReused = 0;           // taken from previous
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
// The media type a scan gives a file name (no folder) with the extensions enabled now, or None.
std::function<MediaType(QStringView)> ScanTypeOfName(const AppState &st);
