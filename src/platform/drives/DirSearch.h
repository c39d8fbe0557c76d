// The directory search: FindFirstFile/FindNextFile semantics over the drive map.
//
// A search is for "FOLDER\*.*" (every entry) or for one exact name. Result codes:
//   0 an entry was returned, 18 no more entries, 2 the named entry does not exist (also a search of
//   an empty drive root), 3 a folder on the way does not exist, 5 access denied, 21 the drive's root
//   is missing or unreadable (no medium), 15 the letter is not a drive.
// Non-root folders return "." and ".." first. Names compare exactly (case-sensitive). Folders that are
// other mounts and symbolic links to folders carry the reparse-point attribute.
// Attributes: folder; archive for regular files; system for devices, pipes and sockets (size 0);
// hidden for names starting with a dot ("." and ".." take it from the folder they name); read-only
// when the mode bits deny the effective user writing, or the volume is mounted read-only (root may
// write everything). A link to a file reports its target's size and time; a dangling link, or a
// link that never resolves ("a -> a"), is a plain file of size 0. "*" is the same as "*.*"; a name
// with other wildcards is taken literally. A search of "X:\" itself, or of a name that ends in a
// separator, finds nothing (2). A text that is not a drive path ("Photos\*.*", "\\server\share")
// gives 3.
// Detail: a search fills every field by default. A walk that only needs names and kinds asks for
// SearchDetail::NamesAndKinds: the same entries, codes, and folder, archive, system, hidden and
// reparse-point attributes, but no read-only attribute, no times, and a size of 0 until entrySize()
// asks for it. Only links are then looked at beyond their directory entry: a plain folder entry does
// not say whether it is another mount; findFirstBelow answers SEARCH_REPARSE_POINT for one instead
// of listing it.
// On the local file systems that fill a listing buffer whenever they can (ext4, XFS, Btrfs, tmpfs),
// a listing read that leaves room for the longest entry is the last one: the end is known without
// asking the kernel once more.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>

namespace platform {

enum FileAttribute : uint32_t {
    FILE_ATTRIBUTE_READONLY = 0x01,
    FILE_ATTRIBUTE_HIDDEN = 0x02,
    FILE_ATTRIBUTE_SYSTEM = 0x04,
    FILE_ATTRIBUTE_VOLUME = 0x08,
    FILE_ATTRIBUTE_DIRECTORY = 0x10,
    FILE_ATTRIBUTE_ARCHIVE = 0x20,
    FILE_ATTRIBUTE_REPARSE_POINT = 0x400
};

enum SearchCode : int {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_PATH_NOT_FOUND = 3,
    ERROR_ACCESS_DENIED = 5,
    ERROR_INVALID_DRIVE = 15,
    ERROR_NO_MORE_FILES = 18,
    ERROR_NOT_READY = 21,
    // Not a system code: the folder findFirstBelow was asked to list is another mount, which a
    // walk does not enter.
    SEARCH_REPARSE_POINT = -1
};

enum class SearchDetail { Full, NamesAndKinds };

struct SearchEntry
{
    QString name; // as on disk (a backslash in the name appears as U+F05C)
    uint32_t attributes = 0;
    uint64_t size = 0;          // 64-bit
    QDateTime lastWrite;        // local time (invalid when the search was told not to fill it)
    int64_t lastWriteMSecs = 0; // the same instant in milliseconds since 1970 UTC, always filled
    QString shortName;          // always empty on this platform
    bool isFolder() const { return attributes & FILE_ATTRIBUTE_DIRECTORY; }
};

class DriveMap;
class DirSearch;

// An open folder that is not being listed: what a rescan holds of a folder it need not read again.
// It answers the folder's change time and the sizes of named files in it, opens its sub-folders
// (refusing links and other mounts, as a walk does) and can be listed (DirSearch::findFirstIn).
// Rules: codes are the directory search's; a handle that failed to open holds its code.
class FolderHandle
{
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle &&other) noexcept;
    FolderHandle &operator=(FolderHandle &&other) noexcept;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    // The folder of a drive path ("C:\Photos\"): ERROR_INVALID_DRIVE, ERROR_NOT_READY (no root),
    // ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED as a search of it would answer.
    static FolderHandle open(const DriveMap &drives, const QString &drivePath);
    // The sub-folder name (as shown) of this folder; SEARCH_REPARSE_POINT for a link or another
    // mount, ERROR_PATH_NOT_FOUND when gone or no longer a folder.
    FolderHandle below(QStringView name) const;
    // The folder the search stands on (its current entry, a folder), with the same codes.
    static FolderHandle belowSearch(const DirSearch &parent);

    // What a sub-folder is, asked without opening it: its code as below() would answer it (but
    // ERROR_SUCCESS without trying to open it: access is only known once it is opened) and its
    // change time. A rescan opens only the folders it must read or look into.
    struct Probe
    {
        int code = 2;
        int64_t changeTimeNs = 0;
    };
    Probe probe(QStringView name) const;
    // The size of file (as shown) in the sub-folder folder (as shown) of this folder, as fileSize().
    int64_t fileSizeIn(QStringView folder, QStringView file) const;
    // The same two with the native name, or relative path, as on disk (UTF-8).
    Probe probeNative(const char *name) const;
    int64_t fileSizeNative(const char *relative) const;
    // A folder further down, by its native relative path ("a/b/c": no empty, "." or ".." part), for
    // a rescan that goes through unchanged folders without opening them. The probe trusts the
    // folders on the way (probed just before as folders of this mount); the open does not: no link
    // and no other mount anywhere on the way.
    Probe probeRelative(const char *relative) const;
    FolderHandle belowRelative(const char *relative) const;

    bool isOpen() const { return m_fd >= 0; }
    int code() const { return m_code; }
    // folderChangeTimeNs of the open folder; 0 when unknown.
    int64_t changeTimeNs() const;
    // The size of the file name (as shown) in this folder, links followed; -1 when it is gone, is a
    // folder or cannot be asked.
    int64_t fileSize(QStringView name) const;
    bool hidden() const { return m_hidden; }
    bool isDriveRoot() const { return m_driveRoot; }

private:
    friend class DirSearch;
    int m_fd = -1;
    int m_code = 2;
    bool m_hidden = false;
    bool m_parentHidden = false;
    bool m_driveRoot = false;
    bool m_shortReadEnds = false;
    mutable bool m_devKnown = false; // the folder's device, asked once for all its probes
    mutable uint64_t m_dev = 0;
    QByteArray m_root; // the drive's native root
};

class DirSearch
{
public:
    // Searches the drives of this map (which must outlive the search).
    explicit DirSearch(const DriveMap &drives);
    const DriveMap &drives() const;
    ~DirSearch();
    DirSearch(const DirSearch &) = delete;
    DirSearch &operator=(const DirSearch &) = delete;

    // Starts a search. pattern is a drive path ending in "\*.*" (every entry of the folder) or the
    // drive path of one entry. Returns the result code; on 0, entry() is the first entry.
    int findFirst(const QString &pattern);
    // Starts a search of every entry of the folder the parent search stands on (its current entry,
    // a folder): the same as findFirst(parent's folder + name + "\\*.*"), with the same codes, but
    // opened from the parent's open folder, so a deep walk never resolves its whole path again.
    // SEARCH_REPARSE_POINT when the folder is another mount; a folder replaced by a link or a file
    // since the parent listed it is not followed: ERROR_PATH_NOT_FOUND, as for one gone. The parent
    // must not move on before this returns.
    int findFirstBelow(const DirSearch &parent);
    // Starts a search of every entry of the folder a handle holds (the handle stays usable): the same
    // codes as findFirst of that folder.
    int findFirstIn(const FolderHandle &folder);
    // Next entry: 0 with entry() filled, 18 at the end, or an error code.
    int findNext();
    const SearchEntry &entry() const { return m_entry; }
    void close();

    // A walk that never looks at times may leave lastWrite empty: Qt checks the system's time zone
    // file on every local-time conversion, which nearly doubles the cost of an entry. On by default.
    void setLocalTimesWanted(bool wanted);
    // What the following searches fill in each entry (see the header comment). Full by default.
    void setDetail(SearchDetail detail);
    // The size of the current entry, as a full search gives it (0 for folders, devices and dangling
    // links, 0 when the entry went away). Asked from the disk only when the entry does not hold it
    // yet; entry().size holds it afterwards.
    uint64_t entrySize();

private:
    friend class FolderHandle;
    int findExact(QStringView shownName);
    int startListing(bool isDriveRoot, bool folderHidden, bool parentHidden);

    struct Impl;
    std::unique_ptr<Impl> d;
    SearchEntry m_entry;
};

// The system's message text of a result code, French and English (for the scan report).
QString searchErrorText(int code, bool french = true);

} // namespace platform
