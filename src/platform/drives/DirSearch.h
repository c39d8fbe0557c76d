// The directory search: FindFirstFile/FindNextFile semantics over the drive map.
//
// A search is for "FOLDER\*.*" (every entry) or for one exact name. Result codes:
//   0 an entry was returned, 18 no more entries, 2 the named entry does not exist (also a search of
//   an empty drive root), 3 a folder on the way does not exist, 5 access denied, 21 the drive's root
//   is missing or unreadable (no medium), 15 the letter is not a drive.
// Non-root folders return "." and ".." first. Names compare exactly (case-sensitive). Folders that are
// other mounts and symbolic links to folders carry the reparse-point attribute.
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
    ERROR_NOT_READY = 21
};

struct SearchEntry {
    QString name;          // as on disk (a backslash in the name appears as U+F05C)
    uint32_t attributes = 0;
    uint64_t size = 0;     // 64-bit
    QDateTime lastWrite;   // local time
    QString shortName;     // always empty on this platform
    bool isFolder() const { return attributes & FILE_ATTRIBUTE_DIRECTORY; }
};

class DirSearch
{
public:
    DirSearch();
    ~DirSearch();
    DirSearch(const DirSearch &) = delete;
    DirSearch &operator=(const DirSearch &) = delete;

    // Starts a search. pattern is a drive path ending in "\*.*" (every entry of the folder) or the
    // drive path of one entry. Returns the result code; on 0, entry() is the first entry.
    int findFirst(const QString &pattern);
    // Next entry: 0 with entry() filled, 18 at the end, or an error code.
    int findNext();
    const SearchEntry &entry() const { return m_entry; }
    void close();

private:
    int findExact(QStringView shownName);

    struct Impl;
    std::unique_ptr<Impl> d;
    SearchEntry m_entry;
};

// The system's message text of a result code, French and English (for the scan report).
QString searchErrorText(int code, bool french = true);

} // namespace platform
