#include "shell/CommandLine.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/ScanCommands.h"
#include "platform/drives/DirSearch.h"
#include "shell/Main.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <optional>
#include <utility>

namespace {

void refuse(App &app, const QString &text)
{
    ShowMessageDlg(app, text, platform::MsgKind::Error, platform::mbOK);
}

// Whether a drive path names a folder (true), a file (false), or nothing (nullopt).
std::optional<bool> kindOf(App &app, const QString &drivePath)
{
    // A drive root is never found by name; listing it tells whether its medium is there.
    if (drivePath.size() == 3 && drivePath.endsWith(QLatin1String(":\\"))) {
        const int code = SearchOne(app, drivePath + QStringLiteral("*.*"), nullptr);
        if (code == platform::ERROR_SUCCESS || code == platform::ERROR_FILE_NOT_FOUND)
            return true;
        return std::nullopt;
    }
    platform::SearchEntry entry;
    if (SearchOne(app, StripTrailingBackslash(drivePath), &entry) != platform::ERROR_SUCCESS)
        return std::nullopt;
    return entry.isFolder();
}

// Runs a request once the main window can take it; polls only while one waits.
class PendingOpen : public QObject
{
public:
    explicit PendingOpen(TfrmMain &form) : QObject(&form), m_form(form)
    {
        setObjectName(QStringLiteral("commandLinePendingOpen"));
        m_timer.setInterval(100);
        connect(&m_timer, &QTimer::timeout, this, [this] { tryNow(); });
    }

    void request(const QString &path)
    {
        m_path = path;
        m_timer.start();
        // Not inside the caller: it may be a socket's handler or a modal loop's.
        QTimer::singleShot(0, this, [this] { tryNow(); });
    }

private:
    bool ready() const
    {
        return m_form.firstActivationDone() && !m_form.timFirstTimeOpenForm->isActive() &&
               !QApplication::activeModalWidget() && !m_form.app.st.ScanRequest.Scanning;
    }

    void tryNow()
    {
        if (m_path.isEmpty() || !ready())
            return;
        m_timer.stop();
        const QString path = std::exchange(m_path, QString());
        OpenFromCommandLine(m_form, path);
    }

    TfrmMain &m_form;
    QTimer m_timer;
    QString m_path;
};

} // namespace

void OpenFromCommandLine(TfrmMain &form, const QString &nativePath)
{
    App &app = form.app;
    CataloguePane &pane = form.cataloguePane();
    if (app.st.ScanRequest.Scanning)
        return; // OpenWhenReady waits for the end of a scan; a scan never restarts inside itself
    std::optional<QString> drivePath = app.drives().toDrivePath(nativePath);
    if (!drivePath) {
        refuse(app, SelectText("Le chemin " + nativePath +
                                   " ne se trouve sur aucun disque : il ne peut pas être ouvert.",
                               "The path " + nativePath + " lies on no drive: it cannot be opened."));
        return;
    }
    QString path = *drivePath;
    if (path.size() > 3 && path.endsWith(u'\\'))
        path.chop(1);
    const std::optional<bool> isFolder = kindOf(app, path);
    if (!isFolder) {
        refuse(app, SelectText("Le chemin " + nativePath + " n'existe pas ou n'est pas accessible.",
                               "The path " + nativePath + " does not exist or cannot be reached."));
        return;
    }
    QString folder = path;
    QString name;
    if (!*isFolder) {
        const qsizetype cut = path.lastIndexOf(u'\\') + 1;
        folder = path.left(cut);
        name = path.mid(cut);
        if (TypeOfFile(name) == mtNone) {
            refuse(app, SelectText("Le fichier " + nativePath + " n'est pas d'un type multimédia connu.",
                                   "The file " + nativePath + " is not of a known media type."));
            return;
        }
    }

    ChooseScanMode(pane, 1);
    pane.txtSelectFolder->setText(NormaliseFolderPath(folder));
    app.st.settings.Starting_Folder = pane.txtSelectFolder->text();
    if (!SaveStartingFolder(app))
        return;
    btnScanDrivesClick(pane);
    if (name.isEmpty() || app.st.ScanCancelled)
        return;
    if (!folder.endsWith(u'\\'))
        folder += u'\\';
    if (!app.cataloguePane || !app.cataloguePane->showListedFile(folder, name))
        refuse(app,
               SelectText("Le fichier " + folder + name + " ne figure pas dans la liste du dossier exploré.",
                          "The file " + folder + name + " is not in the list of the scanned folder."));
}

void OpenWhenReady(TfrmMain &form, const QString &nativePath)
{
    // Only PendingOpen takes this name among the window's children.
    QObject *found =
        form.findChild<QObject *>(QStringLiteral("commandLinePendingOpen"), Qt::FindDirectChildrenOnly);
    auto *pending = found ? static_cast<PendingOpen *>(found) : new PendingOpen(form);
    pending->request(nativePath);
}
