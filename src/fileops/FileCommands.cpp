#include "fileops/FileCommands.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "fileops/ShellCopy.h"
#include "fileops/ShellTexts.h"
#include "platform/files/OpenWith.h"
#include "platform/files/Trash.h"

#include <QFileInfo>
#include <algorithm>

using platform::CopyOutcome;
using platform::MsgKind;

namespace {

using SelectedFile = FileSelectionPort::SelectedFile;

QString nativeOf(App &app, const QString &name)
{
    return app.drives().toNative(app.st.CurrentView.CurrentFolder + name);
}

// A file of the list in its own folder (a search result's may be any folder).
QString nativeOf(App &app, const SelectedFile &file)
{
    return app.drives().toNative(file.folder + file.name);
}

// The file on view as the list would name it.
SelectedFile fileOnViewItem(const App &app)
{
    const SelectionRecord &s = app.st.Selection;
    return {s.Item, s.FileName, SelectionFolder(app.st)};
}

std::vector<FileSelectionPort::SelectedFile> selectedFiles(App &app)
{
    return app.fileSelection ? app.fileSelection->selectedFiles()
                             : std::vector<FileSelectionPort::SelectedFile>{};
}

bool fileOnView(const App &app)
{
    const SelectionRecord &s = app.st.Selection;
    return s.ItemKind == ListItemKind::File && !s.FileName.isEmpty();
}

// Selection.FileName is the file on view, which Ctrl-clicks may have left unselected: the list
// decides what a one-file command acts on.
SelectedFile oneSelectedFile(App &app)
{
    const auto files = selectedFiles(app);
    if (files.size() == 1)
        return files.front();
    const SelectionRecord &s = app.st.Selection;
    for (const auto &file : files)
        if (fileOnView(app) && file.row == s.Item && file.name == s.FileName)
            return file;
    return {-1, {}, {}};
}

FileOpOutcome nothingToDo(App &app)
{
    app.ui().beep(platform::BeepKind::Plain);
    return FileOpOutcome::NothingToDo;
}

// Whether a copy changed the folder the list shows: the listed folder is resolved once, and each
// distinct target folder once, however many files the copy wrote.
bool copiedIntoListedFolder(App &app, const platform::CopyResult &result)
{
    const QString listed = nativeOf(app, QString());
    const QString canonicalListed = listed.isEmpty() ? QString() : QFileInfo(listed).canonicalFilePath();
    if (canonicalListed.isEmpty())
        return false;
    QString checked;
    for (const platform::CopyFileReport &file : result.files) {
        if (file.outcome != CopyOutcome::Copied)
            continue;
        const QString folder = QFileInfo(file.target).absolutePath();
        if (folder == checked)
            continue;
        if (QFileInfo(folder).canonicalFilePath() == canonicalListed)
            return true;
        checked = folder;
    }
    return false;
}

FileOpOutcome finishCopy(App &app, const platform::CopyResult &result, bool several)
{
    if ((!result.ok() || result.anyAborted()) && app.st.settings.Msg_If_Copy_Cancel)
        ShowMessageDlg(app,
                       several ? SelectText("Attention: Un ou plusieurs fichiers n'ont pas été copiés.",
                                            "Warning: Some files have not been copied.")
                               : SelectText("Attention: Le fichier n'a pas été copié.",
                                            "Warning: The file has not been copied."),
                       MsgKind::Warning, platform::mbOK);
    if (app.fileSelection && copiedIntoListedFolder(app, result))
        app.fileSelection->refillList();
    if (!result.ok())
        return FileOpOutcome::Failed;
    return result.anyAborted() ? FileOpOutcome::Aborted : FileOpOutcome::Done;
}

// The on-view file is gone: nothing may show or play it any more.
void forgetFileOnView(App &app)
{
    if (app.fileSelection)
        app.fileSelection->forgetFileOnView();
    else if (app.viewer)
        app.viewer->showEmptyPage();
}

platform::DeleteReport missing(const QString &name)
{
    platform::DeleteReport r;
    r.path = name;
    r.failure = platform::DeleteFailure::Missing;
    return r;
}

FileOpOutcome deleteFiles(App &app, const std::vector<SelectedFile> &files)
{
    QStringList names;
    for (const SelectedFile &f : files)
        names << f.name;
    if (names.isEmpty())
        return nothingToDo(app);
    const bool several = names.size() > 1;
    const QString question = several
                                 ? SelectText("Voulez-vous vraiment mettre ces %1 fichiers à la corbeille ?",
                                              "Are you sure you want to move these %1 files to the Trash?")
                                       .arg(names.size())
                                 : SelectText("Voulez-vous vraiment mettre « %1 » à la corbeille ?",
                                              "Are you sure you want to move \"%1\" to the Trash?")
                                       .arg(names.front());
    if (ShowMessageDlg(app, question, MsgKind::Confirmation, platform::mbYes | platform::mbNo) !=
        platform::mbYes)
        return FileOpOutcome::Cancelled;

    const QString onView = fileOnView(app) ? app.st.Selection.FileName : QString();
    const QString onViewFolder = SelectionFolder(app.st);
    const auto isOnView = [&](const SelectedFile &f) { return f.name == onView && f.folder == onViewFolder; };
    if (std::any_of(files.begin(), files.end(), isOnView))
        StopPlaybackIfActive(app); // released before it goes

    QStringList failures;
    bool declined = false;
    bool listChanged = false;
    bool onViewGone = false;
    for (const SelectedFile &file : files) {
        const QString &name = file.name;
        const QString native = nativeOf(app, file);
        platform::DeleteReport report = native.isEmpty() ? missing(name) : platform::moveToTrash(native);
        if (report.outcome == platform::DeleteOutcome::NoTrash) {
            const int answer = ShowMessageDlg(
                app,
                SelectText("Le fichier « %1 » ne peut pas aller à la corbeille. Voulez-vous le supprimer "
                           "définitivement ?",
                           "The file \"%1\" cannot go to the Trash. Do you want to delete it for good?")
                    .arg(name),
                MsgKind::Confirmation, platform::mbYes | platform::mbNo | (several ? platform::mbCancel : 0));
            if (answer != platform::mbYes) {
                declined = true;
                if (answer == platform::mbCancel)
                    break; // the files that follow stay as they are
                continue;
            }
            report = platform::removeForGood(native);
        }
        if (report.deleted()) {
            listChanged = true;
            onViewGone = onViewGone || isOnView(file);
            if (app.fileSelection)
                app.fileSelection->fileGone(file.folder, file.name);
        } else {
            failures << DeleteFailureText(report);
            // A file already gone was listed wrongly: the list is filled again.
            listChanged = listChanged || report.failure == platform::DeleteFailure::Missing;
        }
    }
    if (!failures.isEmpty())
        ShowMessageDlg(app, failures.join('\n'), MsgKind::Error, platform::mbOK);
    if (onViewGone)
        forgetFileOnView(app);
    if (listChanged && app.fileSelection)
        app.fileSelection->refillList();
    if (!failures.isEmpty())
        return FileOpOutcome::Failed;
    return declined ? FileOpOutcome::Aborted : FileOpOutcome::Done;
}

FileOpOutcome execute(App &app, const SelectedFile &file)
{
    if (file.name.isEmpty())
        return nothingToDo(app);
    StopPlaybackIfActive(app);
    const QString native = nativeOf(app, file);
    // A name the drive map cannot place lies on no drive any more: its path is gone.
    const int code = native.isEmpty() ? int(platform::SE_ERR_PNF)
                                      : platform::shellOpenCode(platform::openWithDefaultApplication(native));
    if (code > 32)
        return FileOpOutcome::Done;
    ShowMessageDlg(app, ShellErrorText(code), MsgKind::Error, platform::mbOK);
    return FileOpOutcome::Failed;
}

} // namespace

FileOpOutcome CopyOneFile(App &app, bool saveAs)
{
    const SelectedFile file =
        saveAs ? (fileOnView(app) ? fileOnViewItem(app) : SelectedFile{-1, {}, {}}) : oneSelectedFile(app);
    const QString &name = file.name;
    const QString source = name.isEmpty() ? QString() : nativeOf(app, file);
    if (source.isEmpty())
        return nothingToDo(app);
    const QString suffix = QFileInfo(name).suffix();
    QString filter = SelectText("Tous fichiers (*)", "All files (*)");
    if (!suffix.isEmpty())
        filter = DescriptionOfFile(name) +
                 QStringLiteral(" (*.%1 *.%2);;").arg(suffix.toLower(), suffix.toUpper()) + filter;
    const QString title = saveAs ? SelectText("Enregistrer le fichier sous...", "Save file as...")
                                 : SelectText("Copier fichier vers...", "Copy file to...");
    // The dialog does not ask about an existing file: the copy does.
    QString target = app.ui().saveFileName(app.mainWindow, title, source, filter);
    if (target.isEmpty())
        return FileOpOutcome::Cancelled;
    if (!suffix.isEmpty() && !QFileInfo(target).fileName().contains('.'))
        target += '.' + suffix; // the dialog's default extension
    return finishCopy(app, RunShellCopy(app, {{source}, target, false, title}), false);
}

FileOpOutcome CopySelectedFiles(App &app)
{
    QStringList sources;
    for (const auto &file : selectedFiles(app))
        sources << nativeOf(app, file);
    sources.removeAll(QString());
    if (sources.isEmpty())
        return nothingToDo(app);
    const QString folder = app.ui().browseFolder(
        app.mainWindow, SelectText("Sélectionner le dossier destination:", "Select destination folder:"),
        nativeOf(app, QString()));
    if (folder.isEmpty())
        return FileOpOutcome::Cancelled;
    const QString title = SelectText("Copier les fichiers vers...", "Copy files to...");
    return finishCopy(app, RunShellCopy(app, {sources, folder, true, title}), true);
}

FileOpOutcome DeleteOneFile(App &app)
{
    const SelectedFile file = oneSelectedFile(app);
    return deleteFiles(app,
                       file.name.isEmpty() ? std::vector<SelectedFile>() : std::vector<SelectedFile>{file});
}

FileOpOutcome DeleteSelectedFiles(App &app)
{
    return deleteFiles(app, selectedFiles(app));
}

FileOpOutcome ExecuteSelectedFile(App &app)
{
    return execute(app, oneSelectedFile(app));
}

FileOpOutcome ExecuteFileOnView(App &app)
{
    return execute(app, fileOnView(app) ? fileOnViewItem(app) : SelectedFile{-1, {}, {}});
}

bool HasOneFileToActOn(App &app)
{
    return !oneSelectedFile(app).name.isEmpty();
}

FileCommands::FileCommands(App &app) : m_app(app) {}
