#include "catalogue/ScanEngine.h"

#include "app/Libry.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/RescanLookAhead.h"
#include "platform/drives/DirSearch.h"
#include "platform/drives/DriveNames.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <algorithm>
#include <array>
#include <optional>

using platform::DirSearch;
using platform::SearchEntry;

namespace {

// Pending messages are processed after this many files of one folder plus one.
constexpr int kFilesBetweenMessages = 10;

void processMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// The enabled media extensions of a walk, looked up by what follows a file name's last dot. Built
// once per walk: every file of a disk is tested against them.
class EnabledExtensions
{
public:
    explicit EnabledExtensions(const AppState &st)
    {
        const QString &enabled = st.CatalogueState.EnabledExtensions;
        for (int row = 1; row < kTableRows && !st.Extensions[row].Extension.isEmpty(); ++row) {
            const MediaType type = mediaTypeOf(row);
            if (!isMediaType(type))
                continue;
            for (const char *x : mediaTypeInfo(type).extensions) {
                if (!x)
                    break;
                const QString ext = QLatin1String(x);
                if (ext.size() < 2 || ext.size() > kLongest + 1 || !enabled.contains(ext + QLatin1Char('/')))
                    continue;
                uint64_t key = 0;
                for (qsizetype i = 1; i < ext.size(); ++i)
                    key = key << 16 | ext[i].unicode();
                // The first row of an extension wins.
                size_t slot = slotOf(key);
                while (m_slots[slot].key != 0 && m_slots[slot].key != key)
                    slot = (slot + 1) % kSlots;
                if (m_slots[slot].key == 0 && m_count < kSlots / 2) {
                    m_slots[slot] = {key, row};
                    ++m_count;
                }
            }
        }
    }

    // The type of a file name (no folder), or None. The name's extension is upper-cased to
    // compare: the rows hold upper-case extensions.
    MediaType typeOf(QStringView name) const
    {
        const qsizetype size = name.size();
        if (m_count == 0)
            return mtNone;
        // The last dot decides; extensions are at most kLongest characters after it.
        qsizetype dot = size - 1;
        while (dot >= 0 && dot >= size - 1 - kLongest && name[dot] != u'.')
            --dot;
        if (dot < 0 || dot < size - 1 - kLongest || dot == size - 1)
            return mtNone;
        uint64_t key = 0;
        for (qsizetype i = dot + 1; i < size; ++i)
            key = key << 16 | upper(name[i]);
        for (size_t slot = slotOf(key); m_slots[slot].key != 0; slot = (slot + 1) % kSlots)
            if (m_slots[slot].key == key)
                return mediaTypeOf(m_slots[slot].code);
        return mtNone;
    }

private:
    static constexpr int kLongest = 4; // ".WEBP", ".FLAC", ".OPUS"
    static constexpr size_t kSlots = 64;

    // An extension's characters, 16 bits each: no character is 0, so keys of different lengths
    // differ too, and 0 marks a free slot.
    struct Slot
    {
        uint64_t key = 0;
        int code = 0;
    };

    static size_t slotOf(uint64_t key) { return size_t((key * 0x9E3779B97F4A7C15ull) >> 58); }

    static char16_t upper(QChar c)
    {
        const char16_t u = c.unicode();
        if (u < 0x80)
            return u >= u'a' && u <= u'z' ? char16_t(u - 32) : u;
        return c.toUpper().unicode();
    }

    std::array<Slot, kSlots> m_slots{};
    size_t m_count = 0;
};

// The folder with its last component as the directory search spells it (the folder as given when
// it cannot be looked up: a file was just found in it, so it is not worth a message).
QString spelledOnDisk(App &app, const QString &folder)
{
    const QString bare = StripTrailingBackslash(folder);
    DirSearch search(app.drives());
    if (search.findFirst(bare) != platform::ERROR_SUCCESS || !search.entry().isFolder())
        return folder;
    return bare.left(bare.lastIndexOf(QLatin1Char('\\')) + 1) + search.entry().name + QLatin1Char('\\');
}

// Counts a media file of type code and hands its folder (ending with a backslash) to the trees.
// nameAsOnDisk: the folder's last component came from a listing, so looking up its spelling again
// would change nothing.
void takeMediaFile(Catalogue &cat, MediaType type, const QString &folderOfFile, int64_t size,
                   bool nameAsOnDisk)
{
    AppState &st = cat.app.st;
    const int drive = st.ScanRequest.CurrentDrive;
    // A folder outside every drive letter has no row to count into.
    if (drive >= 1 && drive <= 26) {
        st.Disks[drive].FileCount += 1;
        st.Disks[drive].FileBytes += size;
    }
    if (folderOfFile == st.Extensions[type].LastFolder)
        return;
    QString folder = folderOfFile;
    if (folder.size() > 3 && !nameAsOnDisk)
        folder = spelledOnDisk(cat.app, folder);
    AddFolderToTree(cat, type, folder);
    st.Extensions[type].LastFolder = folder;
    if (st.Extensions[mtALL].LastFolder != folder && st.TabSheets[mtALL].Enabled) {
        AddFolderToTree(cat, mtALL, folder);
        st.Extensions[mtALL].LastFolder = folder;
    }
}

// One walk: what every folder of it needs.
struct Walk
{
    Catalogue &cat;
    const EnabledExtensions &media;
    ScanProgress *progress;
    ScanMemory *memory; // null: nothing kept, nothing reused
    QElapsedTimer sinceMessages;
    RescanLookAhead *ahead = nullptr; // the previous walk's questions, asked ahead
};

// Folders taken from the index go by in microseconds each: pending messages run every few
// milliseconds among them rather than at each one, which would cost more than the folders.
constexpr int kReusedMessagesMilliseconds = 10;

bool pauseAmongReused(Walk &w)
{
    if (!w.sinceMessages.isValid() || w.sinceMessages.elapsed() >= kReusedMessagesMilliseconds) {
        processMessages();
        w.sinceMessages.restart();
    }
    return !w.cat.app.st.ScanCancelled;
}

// The time a folder is kept with: 0 ("unknown") when too recent to be trusted.
int64_t timeToKeep(const ScanMemory &memory, int64_t timeNs)
{
    return timeNs > 0 && timeNs < memory.trustBeforeNs ? timeNs : 0;
}

// The folder of the previous walk that can stand for this one without reading it: known, readable,
// and with the very same change time.
bool canReuse(const ScanMemory *memory, int64_t old, int64_t timeNs)
{
    if (!memory || !memory->previous || old < 0 || timeNs == 0)
        return false;
    const ScanIndex::Folder &f = memory->previous->folder(uint32_t(old));
    return !(f.flags & ScanIndex::Unreadable) && f.timeNs != 0 && f.timeNs == timeNs;
}

ScanOutcome walkFolder(Walk &w, const QString &path, QStringView name, platform::FolderHandle handle,
                       int64_t old);

// Lets pending messages run after every 11 files; false when the scan was cancelled meanwhile.
bool fileDone(Walk &w, int &filesSinceMessages)
{
    if (++filesSinceMessages > kFilesBetweenMessages) {
        filesSinceMessages = 0;
        processMessages();
        if (w.cat.app.st.ScanCancelled)
            return false;
    }
    return true;
}

// The media files of an unchanged folder of the previous walk: counted and handed to the trees with
// their sizes asked again, through dir (the folder itself, or its parent with prefix its name and
// a slash).
bool reuseFiles(Walk &w, const QString &path, bool isRoot, const platform::FolderHandle &dir,
                const QByteArray &prefix, uint32_t folder, bool paused)
{
    const ScanIndex &previous = *w.memory->previous;
    const ScanIndex::Folder &f = previous.folder(folder);
    ScanIndex *next = w.memory->next;
    QByteArray native;
    int filesSinceMessages = 0;
    for (uint32_t i = 0; i < f.fileCount; ++i) {
        const ScanIndex::File &file = previous.files()[f.firstFile + i];
        std::optional<int64_t> early = w.ahead ? w.ahead->fileSize(folder, f.firstFile + i) : std::nullopt;
        if (!early) {
            native = prefix;
            AppendNativeName(previous, file.name, native);
            early = dir.fileSizeNative(native.constData());
        }
        const int64_t size = *early;
        if (size >= 0) {
            takeMediaFile(w.cat, mediaTypeOf(int(file.type)), path, size, !isRoot);
            if (next)
                next->addFileNamed(file.name, size, file.type);
        }
        if (!paused && !fileDone(w, filesSinceMessages))
            return false;
    }
    return true;
}

// An unchanged folder without sub-folders, seen from its parent; false when the scan was cancelled.
bool reuseLeaf(Walk &w, const QString &path, const QByteArray &nativeName,
               const platform::FolderHandle &parent, uint32_t old, int64_t timeNs)
{
    ScanIndex *next = w.memory->next;
    const ScanIndex::Folder &f = w.memory->previous->folder(old);
    if (w.progress)
        w.progress->enteringFolder(path);
    if (!pauseAmongReused(w))
        return false;
    ++w.memory->foldersReused;
    const uint32_t id = next ? next->beginFolderNamed(f.name, timeToKeep(*w.memory, timeNs)) : 0;
    reuseFiles(w, path, false, parent, nativeName + '/', old, true);
    if (next)
        next->endFolder(id);
    if (w.progress)
        w.progress->folderDone();
    return true;
}

ScanOutcome reuseOpened(Walk &w, const QString &path, const platform::FolderHandle &base,
                        const QByteArray &prefix, uint32_t old, int64_t timeNs);

// A folder whose change time did not move: its media files and sub-folders are those the previous
// walk found; only the files' sizes are asked again, and each sub-folder is looked at in turn. The
// folder is base itself, or the folder prefix (a relative path ending with a slash) below it.
ScanOutcome reuseFolder(Walk &w, const QString &path, bool isRoot, const platform::FolderHandle &base,
                        const QByteArray &prefix, uint32_t old)
{
    AppState &st = w.cat.app.st;
    const ScanIndex &previous = *w.memory->previous;
    const ScanIndex::Folder &f = previous.folder(old);
    ++w.memory->foldersReused;
    ScanOutcome outcome;
    if (!reuseFiles(w, path, isRoot, base, prefix, old, false))
        return outcome;
    QByteArray nativeName;
    for (uint32_t c = old + 1; c < f.end; c = previous.folder(c).end) {
        const QString childName = previous.nameOf(previous.folder(c).name);
        const QString childPath = path + childName + QLatin1Char('\\');
        // Whether the sub-folder changed is asked without opening it. One that did not is not
        // opened either unless the way down grew deep: its files and sub-folders are asked through
        // the folder opened last.
        nativeName = prefix;
        AppendNativeName(previous, previous.folder(c).name, nativeName);
        const std::optional<platform::FolderHandle::Probe> early = w.ahead ? w.ahead->probe(c) : std::nullopt;
        const platform::FolderHandle::Probe probe =
            early ? *early : base.probeRelative(nativeName.constData());
        if (probe.code == platform::ERROR_SUCCESS && canReuse(w.memory, c, probe.changeTimeNs)) {
            if (previous.folder(c).end == c + 1) {
                if (!reuseLeaf(w, childPath, nativeName, base, c, probe.changeTimeNs))
                    return outcome;
                continue;
            }
            ScanOutcome inner;
            bool reused = true;
            if (!OpensBeforeGoingDeeper(nativeName)) {
                inner = reuseOpened(w, childPath, base, nativeName + '/', c, probe.changeTimeNs);
            } else {
                const platform::FolderHandle child = base.belowRelative(nativeName.constData());
                reused = child.code() == platform::ERROR_SUCCESS;
                if (reused)
                    inner = reuseOpened(w, childPath, child, QByteArray(), c, probe.changeTimeNs);
            }
            if (reused) {
                if (!inner.ok)
                    return inner;
                if (st.ScanCancelled)
                    return outcome;
                continue;
            }
        }
        platform::FolderHandle handle =
            prefix.isEmpty() ? base.below(childName) : base.belowRelative(nativeName.constData());
        const ScanOutcome inner = walkFolder(w, childPath, childName, std::move(handle), int64_t(c));
        if (!inner.ok)
            return inner;
        if (st.ScanCancelled)
            return outcome;
    }
    return outcome;
}

// An unchanged folder with sub-folders, reached by its parent after its time was compared.
ScanOutcome reuseOpened(Walk &w, const QString &path, const platform::FolderHandle &base,
                        const QByteArray &prefix, uint32_t old, int64_t timeNs)
{
    ScanIndex *next = w.memory->next;
    if (w.progress)
        w.progress->enteringFolder(path);
    if (!pauseAmongReused(w))
        return {};
    const uint32_t id =
        next ? next->beginFolderNamed(w.memory->previous->folder(old).name, timeToKeep(*w.memory, timeNs))
             : 0;
    const ScanOutcome outcome = reuseFolder(w, path, false, base, prefix, old);
    if (next)
        next->endFolder(id);
    if (outcome.ok && !w.cat.app.st.ScanCancelled && w.progress)
        w.progress->folderDone();
    return outcome;
}

// The sub-folders of a folder of the previous walk, by name.
QHash<QString, uint32_t> childrenOf(const ScanMemory *memory, int64_t old)
{
    QHash<QString, uint32_t> children;
    if (!memory || !memory->previous || old < 0)
        return children;
    const ScanIndex &previous = *memory->previous;
    const uint32_t end = previous.folder(uint32_t(old)).end;
    for (uint32_t c = uint32_t(old) + 1; c < end; c = previous.folder(c).end)
        children.insert(previous.nameOf(previous.folder(c).name), c);
    return children;
}

// Reads a folder whose listing search stands at its first entry (code), walking what it holds.
ScanOutcome readFolder(Walk &w, const QString &path, bool isRoot, DirSearch &search, int code, int64_t old)
{
    AppState &st = w.cat.app.st;
    ScanOutcome outcome;
    if (w.memory)
        ++w.memory->foldersRead;
    const QHash<QString, uint32_t> oldChildren = childrenOf(w.memory, old);
    int filesSinceMessages = 0;
    while (code != platform::ERROR_NO_MORE_FILES && code != platform::ERROR_FILE_NOT_FOUND) {
        if (st.ScanCancelled)
            return outcome;
        if (code != platform::ERROR_SUCCESS) {
            outcome.ok = false;
            outcome.errorCode = code;
            return outcome;
        }
        const SearchEntry &entry = search.entry();
        if (entry.attributes & platform::FILE_ATTRIBUTE_VOLUME) {
            // A volume label names no file.
        } else if (entry.isFolder()) {
            // A link to a folder or another mount would loop or bring another drive's files in.
            const bool enter = !(entry.attributes & platform::FILE_ATTRIBUTE_REPARSE_POINT) &&
                               entry.name != QLatin1String(".") && entry.name != QLatin1String("..");
            if (enter) {
                const auto known = oldChildren.constFind(entry.name);
                const ScanOutcome inner = walkFolder(w, path + entry.name + QLatin1Char('\\'), entry.name,
                                                     platform::FolderHandle::belowSearch(search),
                                                     known == oldChildren.constEnd() ? -1 : int64_t(*known));
                if (!inner.ok)
                    return inner;
                if (st.ScanCancelled)
                    return outcome;
            }
        } else {
            const MediaType type = w.media.typeOf(entry.name);
            if (type != mtNone) {
                const auto size = static_cast<int64_t>(search.entrySize());
                takeMediaFile(w.cat, type, path, size, !isRoot);
                if (w.memory && w.memory->next)
                    w.memory->next->addFile(entry.name, size, static_cast<int>(type));
            }
            if (!fileDone(w, filesSinceMessages))
                return outcome;
        }
        code = search.findNext();
    }
    if (w.progress)
        w.progress->folderDone();
    return outcome;
}

// A folder below the root, opened by its parent (handle holds how that went).
ScanOutcome walkFolder(Walk &w, const QString &path, QStringView name, platform::FolderHandle handle,
                       int64_t old)
{
    AppState &st = w.cat.app.st;
    ScanIndex *next = w.memory ? w.memory->next : nullptr;
    const int code = handle.code();
    // Another mount found only now, when opened: not entered, not shown.
    if (code == platform::SEARCH_REPARSE_POINT)
        return {};
    if (w.progress)
        w.progress->enteringFolder(path);
    processMessages();
    // One unreadable folder must not cost the rest of the disk; it is tried again next time.
    if (code == platform::ERROR_ACCESS_DENIED) {
        ++st.InaccessibleFolders;
        if (next)
            next->endFolder(next->beginFolder(name, 0, ScanIndex::Unreadable));
        return {};
    }
    // Gone since its parent was listed: nothing left to find in it.
    if (code == platform::ERROR_PATH_NOT_FOUND)
        return {};
    const int64_t timeNs = w.memory && code == platform::ERROR_SUCCESS ? handle.changeTimeNs() : 0;
    const uint32_t id = next ? next->beginFolder(name, timeToKeep(*w.memory, timeNs)) : 0;
    ScanOutcome outcome;
    if (canReuse(w.memory, old, timeNs)) {
        outcome = reuseFolder(w, path, false, handle, QByteArray(), uint32_t(old));
        if (outcome.ok && !st.ScanCancelled && w.progress)
            w.progress->folderDone();
    } else {
        DirSearch search(w.cat.app.drives());
        search.setDetail(platform::SearchDetail::NamesAndKinds);
        const int first = code == platform::ERROR_SUCCESS ? search.findFirstIn(handle) : code;
        outcome = readFolder(w, path, false, search, first, old);
    }
    if (next)
        next->endFolder(id);
    return outcome;
}

// The root of a walk: reused when the previous walk of the same root still stands, else listed by
// its path (which gives the root's own error codes: no medium, no such folder).
ScanOutcome walkRoot(Walk &w, const QString &path, int64_t old)
{
    ScanIndex *next = w.memory ? w.memory->next : nullptr;
    if (w.progress)
        w.progress->enteringFolder(path);
    processMessages();
    platform::FolderHandle handle;
    int64_t timeNs = 0;
    if (w.memory) {
        handle = platform::FolderHandle::open(w.cat.app.drives(), path);
        timeNs = handle.isOpen() ? handle.changeTimeNs() : 0;
    }
    const uint32_t id = next ? next->beginFolder(u"", timeToKeep(*w.memory, timeNs)) : 0;
    ScanOutcome outcome;
    if (canReuse(w.memory, old, timeNs)) {
        outcome = reuseFolder(w, path, true, handle, QByteArray(), uint32_t(old));
        if (outcome.ok && !w.cat.app.st.ScanCancelled && w.progress)
            w.progress->folderDone();
    } else {
        DirSearch search(w.cat.app.drives());
        search.setDetail(platform::SearchDetail::NamesAndKinds);
        outcome = readFolder(w, path, true, search, search.findFirst(path + QStringLiteral("*.*")), old);
    }
    if (next)
        next->endFolder(id);
    return outcome;
}

} // namespace

QString StartPathOfDrive(App &app, const QString &letter)
{
    const Settings &s = app.st.settings;
    if (s.HasStartScanCFolder && letter == QLatin1String("C"))
        return StripTrailingBackslash(s.Start_Scan_C_With) + QLatin1Char('\\');
    return letter + QLatin1String(":\\");
}

QString StartPathOfFolder(App &app)
{
    return StripTrailingBackslash(app.st.ScanRequest.Folder) + QLatin1Char('\\');
}

void ClearLastFolders(App &app)
{
    for (ExtensionsRecord &row : app.st.Extensions)
        row.LastFolder.clear();
}

ScanOutcome ScanFolder(Catalogue &cat, const QString &path, ScanProgress *progress)
{
    const EnabledExtensions media(cat.app.st);
    Walk w{cat, media, progress, cat.memory};
    ScanMemory *memory = cat.memory;
    int64_t old = -1;
    if (memory && memory->previous) {
        const int root = memory->previous->findRoot(path);
        if (root >= 0)
            old = memory->previous->roots()[size_t(root)].folder;
    }
    if (memory && memory->next)
        memory->next->beginRoot(path);
    std::optional<RescanLookAhead> ahead;
    if (old >= 0)
        w.ahead = &ahead.emplace(*memory->previous, uint32_t(old), cat.app.drives(), path,
                                 cat.foldersForTwoLookAheads);
    const ScanOutcome outcome = walkRoot(w, path, old);
    ahead.reset();
    w.ahead = nullptr;
    // Only a whole walk is kept: a rescan must never trust half of one.
    if (memory && memory->next && (!outcome.ok || cat.app.st.ScanCancelled))
        memory->next->abandonRoot();
    return outcome;
}

void ScanFile(Catalogue &cat, const QString &fileName)
{
    const qsizetype folderEnd = fileName.lastIndexOf(QLatin1Char('\\')) + 1;
    const MediaType type = EnabledExtensions(cat.app.st).typeOf(QStringView(fileName).mid(folderEnd));
    if (type != mtNone)
        takeMediaFile(cat, type, fileName.left(folderEnd), FileSizeOf(cat.app, fileName), false);
}

std::function<MediaType(QStringView)> ScanTypeOfName(const AppState &st)
{
    return [table = EnabledExtensions(st)](QStringView name) { return table.typeOf(name); };
}

void ScanFile(Catalogue &cat, const QString &fileName, int64_t size)
{
    const qsizetype folderEnd = fileName.lastIndexOf(QLatin1Char('\\')) + 1;
    const MediaType type = EnabledExtensions(cat.app.st).typeOf(QStringView(fileName).mid(folderEnd));
    if (type != mtNone)
        takeMediaFile(cat, type, fileName.left(folderEnd), size, false);
}
