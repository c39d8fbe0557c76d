#include "shell/CommandLine.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/ScanCommands.h"
#include "catalogue/TypeTabs.h"
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

// The node of a folder ("C:\Photos\") in a tree, or kNoNode.
NodeId nodeOfFolder(const CatalogueStore &store, MediaType tree, const QString &folder)
{
    const NodeId root = store.root(tree);
    if (root == kNoNode || folder.size() < 3)
        return kNoNode;
    NodeId node = kNoNode;
    const QString drive = folder.left(3);
    for (int row = 0; row < store.childCount(root) && node == kNoNode; ++row)
        if (store.pathOf(store.child(root, row)) == drive)
            node = store.child(root, row);
    const QStringList names = folder.mid(3).split(u'\\', Qt::SkipEmptyParts);
    for (const QString &name : names) {
        if (node == kNoNode)
            break;
        node = store.findChild(node, name);
    }
    return node;
}

// Shows the file in the ALL list, as a click on its folder and then on its row would.
void selectFile(TfrmMain &form, const QString &folder, const QString &name)
{
    App &app = form.app;
    CataloguePane &pane = form.cataloguePane();
    const NodeId node = nodeOfFolder(form.catalogue.store, mtALL, folder);
    TListView *list = pane.list(mtALL);
    int row = -1;
    if (node != kNoNode && pane.pcMain->indexOf(pane.sheet(mtALL)) >= 0) {
        pane.pcMain->setCurrentWidget(pane.sheet(mtALL));
        app.st.CurrentView.CurrentType = mtALL;
        app.st.Selection.List = mtALL;
        pane.tree(mtALL)->setCurrentNodeQuietly(node);
        tvALLChange(pane, mtALL, node);
        for (int r = 0; r < list->count() && row < 0; ++r)
            if (IsMediaItem(list, r) && list->item(r).caption == name)
                row = r;
    }
    if (row < 0) {
        refuse(app,
               SelectText("Le fichier " + folder + name + " ne figure pas dans la liste du dossier exploré.",
                          "The file " + folder + name + " is not in the list of the scanned folder."));
        return;
    }
    pane.selectItem(row);
    const SelectionRecord &s = app.st.Selection;
    // A click shows the file only when the options say so; here it is shown in any case.
    if (s.List == mtALL && s.Item == row && !app.st.settings.Wiew_When_Click_ListView && app.viewer)
        app.viewer->play();
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
    selectFile(form, folder, name);
}

void OpenWhenReady(TfrmMain &form, const QString &nativePath)
{
    // Only PendingOpen takes this name among the window's children.
    QObject *found =
        form.findChild<QObject *>(QStringLiteral("commandLinePendingOpen"), Qt::FindDirectChildrenOnly);
    auto *pending = found ? static_cast<PendingOpen *>(found) : new PendingOpen(form);
    pending->request(nativePath);
}
