#include "convert/window/ConvertCommands.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "app/Settings.h"
#include "convert/BatchRun.h"
#include "convert/Formats.h"
#include "convert/window/ConvertChoices.h"
#include "convert/window/ConvertProgress.h"
#include "convert/window/ConvertWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

using convert::JobOutcome;
using platform::MsgKind;

namespace {

QString text(const char *fr, const char *en)
{
    return SelectText(QString::fromUtf8(fr), QString::fromUtf8(en));
}

QString nativeOf(const App &app, const QString &name)
{
    return app.drives().toNative(app.st.CurrentView.CurrentFolder + name);
}

bool fileOnView(const App &app)
{
    const SelectionRecord &s = app.st.Selection;
    return s.ItemKind == ListItemKind::File && !s.FileName.isEmpty();
}

bool convertible(const QString &name)
{
    return convert::sourceOf(name) != convert::Source::None;
}

QStringList selectedNatives(App &app)
{
    QStringList files;
    if (!app.fileSelection)
        return files;
    for (const FileSelectionPort::SelectedFile &file : app.fileSelection->selectedFiles())
        if (convertible(file.name))
            if (const QString native = nativeOf(app, file.name); !native.isEmpty())
                files << native;
    return files;
}

ConvertOutcome nothingToDo(App &app)
{
    app.ui().beep(platform::BeepKind::Plain);
    return ConvertOutcome::NothingToDo;
}

// Whether an output went into the folder the list shows.
bool landedInListedFolder(const App &app, const convert::BatchRun &run)
{
    const QString listed = QFileInfo(nativeOf(app, QString())).canonicalFilePath();
    if (listed.isEmpty())
        return false;
    for (const JobOutcome &outcome : run.outcomes())
        if (outcome.state == JobOutcome::State::Converted &&
            QFileInfo(QFileInfo(outcome.output).absolutePath()).canonicalFilePath() == listed)
            return true;
    return false;
}

} // namespace

QStringList MediaFilesUnder(const QString &folder, MediaType type)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const MediaType t = TypeOfFile(QFileInfo(path).fileName());
        if (isMediaType(t) && (type == mtALL || type == t))
            files << path;
    }
    files.sort();
    return files;
}

ConvertOutcome ConvertFiles(App &app, const QStringList &files)
{
    const std::array<int, convert::kKindCount> counts = convert::countKinds(files);
    int total = 0;
    for (int n : counts)
        total += n;
    if (total == 0)
        return nothingToDo(app);

    TfrmConvert window(app, counts, convert::choicesFromSettings(app.st.settings), app.mainWindow);
    if (app.ui().execModal(&window) != QDialog::Accepted)
        return ConvertOutcome::Cancelled;
    const convert::Choices choices = window.choices();
    convert::storeChoices(app.st.settings, choices);
    if (!SaveConvertSettings(app))
        return ConvertOutcome::Cancelled;

    convert::Options options;
    options.width = choices.width;
    convert::BatchRun run(convert::jobsFor(files, choices), options);
    {
        TfrmConvertProgress progress(run, app.mainWindow);
        app.ui().execModal(&progress);
    }
    if (!run.isFinished()) {
        // The window went without the run's end (never shown): nothing may go on behind it.
        run.cancel();
        run.start();
        run.wait();
        QCoreApplication::sendPostedEvents(&run);
    }
    const bool allDone = std::all_of(run.outcomes().begin(), run.outcomes().end(), [](const JobOutcome &o) {
        return o.state == JobOutcome::State::Converted;
    });
    if (app.fileSelection && landedInListedFolder(app, run))
        app.fileSelection->refillList();
    return allDone ? ConvertOutcome::Done : ConvertOutcome::Partly;
}

ConvertOutcome ConvertSelectedFiles(App &app)
{
    const QStringList files = selectedNatives(app);
    return files.isEmpty() ? nothingToDo(app) : ConvertFiles(app, files);
}

ConvertOutcome ConvertFileOnView(App &app)
{
    if (!CanConvertFileOnView(app))
        return nothingToDo(app);
    return ConvertFiles(app, {nativeOf(app, app.st.Selection.FileName)});
}

ConvertOutcome ConvertCurrentFolder(App &app)
{
    if (!CanConvertCurrentFolder(app))
        return nothingToDo(app);
    const QString folder = nativeOf(app, QString());
    const QStringList files = MediaFilesUnder(folder, app.st.CurrentView.CurrentType);
    if (files.isEmpty()) {
        ShowMessageDlg(app,
                       text("Le dossier « %1 » ne contient aucun fichier à convertir.",
                            "The folder \"%1\" holds no file to convert.")
                           .arg(app.st.CurrentView.CurrentFolder),
                       MsgKind::Information, platform::mbOK);
        return ConvertOutcome::NothingToDo;
    }
    return ConvertFiles(app, files);
}

bool CanConvertSelectedFiles(App &app)
{
    return !selectedNatives(app).isEmpty();
}

bool CanConvertFileOnView(App &app)
{
    return fileOnView(app) && convertible(app.st.Selection.FileName) &&
           !nativeOf(app, app.st.Selection.FileName).isEmpty();
}

bool CanConvertCurrentFolder(App &app)
{
    if (app.st.CurrentView.CurrentFolder.isEmpty() || !app.cataloguePane)
        return false;
    using Kind = CataloguePort::NodeKind;
    const Kind kind = app.cataloguePane->currentNode().kind;
    return kind == Kind::Drive || kind == Kind::Folder || kind == Kind::MediaFolder;
}
