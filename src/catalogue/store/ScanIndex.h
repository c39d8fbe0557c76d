// What the last completed scan walked, for the next rescan and the kept catalogue: every folder it
// listed (not only those holding media files) with its change time and its media files (names and
// sizes), one walk per root (a drive, or the scanned folder).
//
// Rules:
// - Folders are kept in walk order: a folder comes before everything below it, and `end` is one past
//   its last descendant, so the children of folder i are i + 1, then each next one at the previous
//   child's end, until i's end.
// - A change time of 0 is "unknown": the next rescan reads that folder again (a time too close to the
//   scan to be trusted, or one that could not be asked). An unreadable folder is kept with the flag
//   Unreadable and is always tried again.
// - The index knows the enabled extensions it was made with: it is worth nothing for a scan with
//   other ones.
// - Building: beginFolder, then the folder's files and its sub-folders' own begin/end pairs in any
//   order, then endFolder; roots go around their walk.
#pragma once

#include "catalogue/store/NameTable.h"

#include <QString>
#include <cstdint>
#include <vector>

class ScanIndex
{
public:
    enum FolderFlag : uint32_t { Unreadable = 1 };

    struct Folder
    {
        uint32_t name;
        uint32_t end;
        uint32_t firstFile;
        uint32_t fileCount;
        int64_t timeNs;
        uint32_t flags;
        uint32_t spare;
    };
    static_assert(sizeof(Folder) == 32);

    struct File
    {
        uint32_t name;
        uint32_t type; // its media type's code, 1..19
        int64_t size;
    };
    static_assert(sizeof(File) == 16);

    struct Root
    {
        QString path; // the drive path walked, with its trailing backslash ("C:\", "C:\Photos\")
        uint32_t folder;
    };

    void clear();
    bool isEmpty() const { return m_roots.empty(); }

    void beginRoot(const QString &path);
    uint32_t beginFolder(QStringView name, int64_t timeNs, uint32_t flags = 0);
    void addFile(QStringView name, int64_t size, int type);
    // A rescan starts from the names of the index it reuses, so that what it takes over keeps its
    // name ids (nothing to look up again); only new names are added.
    void startFromNamesOf(const ScanIndex &previous) { m_names = previous.m_names; }
    uint32_t beginFolderNamed(uint32_t nameId, int64_t timeNs) { return pushFolder(nameId, timeNs, 0); }
    void addFileNamed(uint32_t nameId, int64_t size, uint32_t type)
    {
        m_pending.push_back({nameId, type, size});
    }
    void endFolder(uint32_t folder);
    // Drops the root being built (its walk failed or was cancelled) and everything in it.
    void abandonRoot();

    // The root walked from path, or -1.
    int findRoot(const QString &path) const;
    // The folder of a drive path ("C:\Photos\2000\") in the walk of a root holding it, or -1.
    int64_t findFolder(const QString &path) const;
    // The folder changed since it was walked (the live follow saw it): the next rescan reads it.
    void forgetTime(uint32_t folder) { m_folders[folder].timeNs = 0; }
    // A media file deleted by the program leaves its folder's files; the later files move down one
    // place. Returns the place it had, -1 when it was not there.
    int64_t removeFile(const QString &folderPath, QStringView name);
    struct ListedFile
    {
        QString name;
        int64_t size;
        int type; // its media type's code, 1..19
    };
    // The folder's media files become those listed now (the live follow saw it change): they take
    // the place of the old ones in the files, the later files move by the difference. Returns the
    // old number of files of the folder.
    uint32_t replaceFiles(uint32_t folder, const std::vector<ListedFile> &listed);
    // The walk is complete: spare capacity and the names' lookup table are given back.
    void settle();
    const std::vector<Root> &roots() const { return m_roots; }
    const std::vector<Folder> &folders() const { return m_folders; }
    const std::vector<File> &files() const { return m_files; }
    const NameTable &names() const { return m_names; }
    const Folder &folder(uint32_t i) const { return m_folders[i]; }
    QString nameOf(uint32_t nameId) const { return m_names.text(nameId); }

    QString enabledExtensions() const { return m_extensions; }
    void setEnabledExtensions(const QString &extensions) { m_extensions = extensions; }

    size_t memoryBytes() const;

    // Takes the arrays of a kept catalogue, after checking that the folders nest as the rules say,
    // each root heads a walk of its own and every file and name lies in range. False with the reason,
    // and the index left empty, when they do not.
    bool adopt(NameTable names, std::vector<Folder> folders, std::vector<File> files, std::vector<Root> roots,
               const QString &extensions, QString *why);

private:
    uint32_t pushFolder(uint32_t nameId, int64_t timeNs, uint32_t flags);

    NameTable m_names;
    std::vector<Folder> m_folders;
    std::vector<File> m_files;
    std::vector<Root> m_roots;
    QString m_extensions;
    // Files of the folders still open, the innermost last; each open folder's firstFile marks where
    // its own begin until endFolder moves them to m_files.
    std::vector<File> m_pending;
    size_t m_rootFiles = 0; // files before the root being built
};
