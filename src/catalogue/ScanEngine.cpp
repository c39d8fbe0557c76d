#include "catalogue/ScanEngine.h"

#include "catalogue/My_TView.h"
#include "platform/drives/DirSearch.h"
#include "shell/App.h"
#include "shell/Libry.h"

#include <QCoreApplication>

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

// The type code of a file name (no folder) among the enabled extensions, or -1. Every enabled
// extension is a dot and three letters, so only such endings need looking at.
int enabledCodeOf(const AppState &st, QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || name.size() - dot != 4)
        return -1;
    const QChar key[5] = {u'.', name[dot + 1].toUpper(), name[dot + 2].toUpper(), name[dot + 3].toUpper(),
                          u'/'};
    const QStringView entry(key, 5);
    if (!st.CatalogueState.EnabledExtensions.contains(entry))
        return -1;
    for (int row = 1; row < kTableRows && !st.Extensions[row].Extension.isEmpty(); ++row)
        if (QStringView(st.Extensions[row].Extension) == entry.left(4))
            return row;
    return -1;
}

// The folder with its last component as the directory search spells it (the folder as given when
// it cannot be looked up: a file was just found in it, so it is not worth a message).
QString spelledOnDisk(const QString &folder)
{
    const QString bare = StripTrailingBackslash(folder);
    DirSearch search;
    if (search.findFirst(bare) != platform::ERROR_SUCCESS || !search.entry().isFolder())
        return folder;
    return bare.left(bare.lastIndexOf(QLatin1Char('\\')) + 1) + search.entry().name + QLatin1Char('\\');
}

// Counts a media file of type code and hands its folder to the trees. folderEnd is the length of
// its folder in fileName (up to and including the last backslash). nameAsOnDisk: the folder's
// last component came from a listing, so looking up its spelling again would change nothing.
void takeMediaFile(App &app, int code, const QString &fileName, qsizetype folderEnd, int64_t size,
                   bool nameAsOnDisk)
{
    AppState &st = app.st;
    const int drive = st.ScanRequest.CurrentDrive;
    // A folder outside every drive letter has no row to count into.
    if (drive >= 1 && drive <= 26) {
        st.Disks[drive].FileCount += 1;
        st.Disks[drive].FileBytes += size;
    }
    const QStringView raw = QStringView(fileName).left(folderEnd);
    if (raw == st.Extensions[code].LastFolder)
        return;
    QString folder = raw.toString();
    if (folder.size() > 3 && !nameAsOnDisk)
        folder = spelledOnDisk(folder);
    AddFolderToTree(app, code, folder);
    st.Extensions[code].LastFolder = folder;
    if (st.Extensions[0].LastFolder != folder && st.TabSheets[0].Enabled) {
        AddFolderToTree(app, 0, folder);
        st.Extensions[0].LastFolder = folder;
    }
}

ScanOutcome walk(App &app, const QString &path, bool isRoot)
{
    AppState &st = app.st;
    ScanOutcome outcome;
    if (st.ScanWindow)
        st.ScanWindow->enteringFolder(path);
    processMessages();

    DirSearch search;
    int code = search.findFirst(path + QStringLiteral("*.*"));
    if (!isRoot) {
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
                const ScanOutcome inner = walk(app, path + entry.name + QLatin1Char('\\'), false);
                if (!inner.ok)
                    return inner;
                if (st.ScanCancelled)
                    return outcome;
            }
        } else {
            const int type = enabledCodeOf(st, entry.name);
            if (type > 0)
                takeMediaFile(app, type, path + entry.name, path.size(), static_cast<int64_t>(entry.size),
                              !isRoot);
            if (++filesSinceMessages > kFilesBetweenMessages) {
                filesSinceMessages = 0;
                processMessages();
                if (st.ScanCancelled)
                    return outcome;
            }
        }
        code = search.findNext();
    }
    if (st.ScanWindow)
        st.ScanWindow->folderDone();
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

ScanOutcome ScanFolder(App &app, const QString &path)
{
    return walk(app, path, true);
}

void ScanFile(App &app, const QString &fileName)
{
    const qsizetype folderEnd = fileName.lastIndexOf(QLatin1Char('\\')) + 1;
    const int code = enabledCodeOf(app.st, QStringView(fileName).mid(folderEnd));
    if (code > 0)
        takeMediaFile(app, code, fileName, folderEnd, FileSizeOf(fileName), false);
}

void ScanFile(App &app, const QString &fileName, int64_t size)
{
    const qsizetype folderEnd = fileName.lastIndexOf(QLatin1Char('\\')) + 1;
    const int code = enabledCodeOf(app.st, QStringView(fileName).mid(folderEnd));
    if (code > 0)
        takeMediaFile(app, code, fileName, folderEnd, size, false);
}
