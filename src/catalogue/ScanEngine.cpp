#include "catalogue/ScanEngine.h"

#include "app/Libry.h"
#include "catalogue/Catalogue.h"
#include "catalogue/FolderTrees.h"
#include "platform/drives/DirSearch.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

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

// The enabled media extensions of a walk, looked up by a file name's last four characters. Built
// once per walk: every file of a disk is tested against them.
class EnabledExtensions
{
public:
    explicit EnabledExtensions(const AppState &st)
    {
        const QString &enabled = st.CatalogueState.EnabledExtensions;
        for (int row = 1; row < kTableRows && !st.Extensions[row].Extension.isEmpty(); ++row) {
            const QString &ext = st.Extensions[row].Extension;
            // Every enabled extension is a dot and three letters; the first row of one wins.
            if (ext.size() != 4 || ext[0] != u'.' || !enabled.contains(ext + QLatin1Char('/')))
                continue;
            const uint64_t key = keyOf(ext[1].unicode(), ext[2].unicode(), ext[3].unicode());
            if (std::none_of(m_rows.begin(), m_rows.begin() + m_count,
                             [&](const Row &r) { return r.key == key; }))
                m_rows[m_count++] = {key, row};
        }
    }

    // The type of a file name (no folder), or None. The name's extension is upper-cased to
    // compare: the rows hold upper-case extensions.
    MediaType typeOf(QStringView name) const
    {
        const qsizetype size = name.size();
        if (size < 4 || name[size - 4] != u'.' || m_count == 0)
            return mtNone;
        if (name[size - 3] == u'.' || name[size - 2] == u'.' || name[size - 1] == u'.')
            return mtNone; // the last dot decides
        const uint64_t key = keyOf(upper(name[size - 3]), upper(name[size - 2]), upper(name[size - 1]));
        for (int i = 0; i < m_count; ++i)
            if (m_rows[i].key == key)
                return mediaTypeOf(m_rows[i].code);
        return mtNone;
    }

private:
    struct Row
    {
        uint64_t key = 0;
        int code = 0;
    };

    static uint64_t keyOf(char16_t a, char16_t b, char16_t c)
    {
        return uint64_t(a) << 32 | uint64_t(b) << 16 | c;
    }

    static char16_t upper(QChar c)
    {
        const char16_t u = c.unicode();
        if (u < 0x80)
            return u >= u'a' && u <= u'z' ? char16_t(u - 32) : u;
        return c.toUpper().unicode();
    }

    std::array<Row, kTableRows> m_rows{};
    int m_count = 0;
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

// Lists the folder at path: the root of the walk (parent null), or the folder parent's search stands
// on, then walks what it holds.
ScanOutcome walk(Catalogue &cat, const EnabledExtensions &media, const QString &path, DirSearch *parent,
                 ScanProgress *progress)
{
    AppState &st = cat.app.st;
    const bool isRoot = parent == nullptr;
    ScanOutcome outcome;
    // Only the kinds are needed, and the sizes of media files: nothing else is asked of the disk.
    DirSearch search(cat.app.drives());
    search.setDetail(platform::SearchDetail::NamesAndKinds);
    int code = platform::ERROR_SUCCESS;
    if (!isRoot) {
        // Another mount found only now, when opened: not entered, not shown.
        code = search.findFirstBelow(*parent);
        if (code == platform::SEARCH_REPARSE_POINT)
            return outcome;
    }
    if (progress)
        progress->enteringFolder(path);
    processMessages();
    if (isRoot)
        code = search.findFirst(path + QStringLiteral("*.*"));
    else {
        // One unreadable folder must not cost the rest of the disk.
        if (code == platform::ERROR_ACCESS_DENIED) {
            ++st.InaccessibleFolders;
            return outcome;
        }
        // Gone since its parent was listed: nothing left to find in it.
        if (code == platform::ERROR_PATH_NOT_FOUND)
            return outcome;
    }
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
                const ScanOutcome inner =
                    walk(cat, media, path + entry.name + QLatin1Char('\\'), &search, progress);
                if (!inner.ok)
                    return inner;
                if (st.ScanCancelled)
                    return outcome;
            }
        } else {
            const MediaType type = media.typeOf(entry.name);
            if (type != mtNone)
                takeMediaFile(cat, type, path, static_cast<int64_t>(search.entrySize()), !isRoot);
            if (++filesSinceMessages > kFilesBetweenMessages) {
                filesSinceMessages = 0;
                processMessages();
                if (st.ScanCancelled)
                    return outcome;
            }
        }
        code = search.findNext();
    }
    if (progress)
        progress->folderDone();
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
    return walk(cat, media, path, nullptr, progress);
}

void ScanFile(Catalogue &cat, const QString &fileName)
{
    const qsizetype folderEnd = fileName.lastIndexOf(QLatin1Char('\\')) + 1;
    const MediaType type = EnabledExtensions(cat.app.st).typeOf(QStringView(fileName).mid(folderEnd));
    if (type != mtNone)
        takeMediaFile(cat, type, fileName.left(folderEnd), FileSizeOf(cat.app, fileName), false);
}

void ScanFile(Catalogue &cat, const QString &fileName, int64_t size)
{
    const qsizetype folderEnd = fileName.lastIndexOf(QLatin1Char('\\')) + 1;
    const MediaType type = EnabledExtensions(cat.app.st).typeOf(QStringView(fileName).mid(folderEnd));
    if (type != mtNone)
        takeMediaFile(cat, type, fileName.left(folderEnd), size, false);
}
