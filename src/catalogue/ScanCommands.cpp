#include "catalogue/ScanCommands.h"

#include "app/Language.h"
#include "app/Libry.h"
#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/KeptCatalogueCommands.h"
#include "catalogue/MediaTabs.h"
#include "catalogue/ScanWindow.h"
#include "platform/Memory.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace {
// Keeps the store in one batch for the scan, however the scan ends.
class StoreBatch
{
public:
    explicit StoreBatch(CatalogueStore &store) : m_store(store) { m_store.beginBatch(); }
    ~StoreBatch() { m_store.endBatch(); }
    StoreBatch(const StoreBatch &) = delete;
    StoreBatch &operator=(const StoreBatch &) = delete;

private:
    CatalogueStore &m_store;
};
} // namespace

void RunScan(CataloguePane &pane)
{
    AppState &st = pane.app.st;
    // The walk processes messages: a second scan must not start inside the first.
    if (st.ScanRequest.Scanning)
        return;
    st.ScanRequest.Scanning = true;
    // Cleared however the command ends, an error box included.
    const std::unique_ptr<bool, void (*)(bool *)> scanning(&st.ScanRequest.Scanning,
                                                           [](bool *flag) { *flag = false; });

    ResetCatalogue(pane);
    if (st.settings.Show_Non_Empty_Tabs)
        SetTypeTabsVisible(pane, false);
    int result = 0;
    {
        const StoreBatch batch(pane.cat.store);
        TfrmScanDisks window(pane.cat, pane.app.mainWindow);
        result = pane.app.ui().execModal(&window);
    }
    if (result == 2)
        ResetCatalogue(pane);
    else if (st.settings.Expand_Treeview_At_End_Of_Scan)
        ExpandAllTrees(pane);
    else
        CollapseAllTrees(pane);
    if (st.settings.Show_Non_Empty_Tabs)
        ShowNonEmptyTypeTabs(pane, true);
    pcMainChange(pane);
    KeepScannedCatalogue(pane, result != 2 && !st.ScanFailed);
    platform::ReleaseFreedMemory();
}

void ComboChoiceChange(CataloguePane &pane)
{
    AppState &st = pane.app.st;
    const bool drives = pane.ComboChoice->currentIndex() == 0;
    pane.pnlToolBarAllDisks->setVisible(drives);
    pane.pnlToolBarDir->setVisible(!drives);
    st.ScanRequest.ScanDrives = drives;
    st.settings.Scan_Type = drives ? 0 : 1;
    SaveScanType(pane.app);
}

void ChooseScanMode(CataloguePane &pane, int mode)
{
    pane.ComboChoice->setCurrentIndex(mode == 0 ? 0 : 1);
    ComboChoiceChange(pane);
}

void txtSelectFolderChange(CataloguePane &pane)
{
    pane.app.st.ScanRequest.Folder = NormaliseFolderPath(pane.txtSelectFolder->text());
}

void btnMoreFolderClick(CataloguePane &pane)
{
    App &app = pane.app;
    const platform::DriveMap &drives = app.drives();
    const QString start = NormaliseFolderPath(pane.txtSelectFolder->text().trimmed());
    const QString chosen = app.ui().browseFolder(
        app.mainWindow, SelectText("Sélectionner le dossier à explorer:", "Select the folder to scan:"),
        drives.toNative(start));
    if (chosen.isEmpty())
        return;
    const std::optional<QString> drivePath = drives.toDrivePath(chosen);
    if (!drivePath) {
        ShowMessageDlg(app,
                       SelectText("Le dossier " + chosen +
                                      " ne se trouve sur aucun disque : il ne peut pas être exploré.",
                                  "The folder " + chosen + " lies on no drive: it cannot be scanned."),
                       platform::MsgKind::Error, platform::mbOK);
        return;
    }
    pane.txtSelectFolder->setText(NormaliseFolderPath(*drivePath));
    app.st.settings.Starting_Folder = pane.txtSelectFolder->text();
    if (!SaveStartingFolder(app))
        return;
    if (app.st.settings.Scan_After_Change_Folder)
        RunScan(pane);
}

void mnuMain_View_ScanNowClick(CataloguePane &pane)
{
    RunScan(pane);
}

void btnScanDrivesClick(CataloguePane &pane)
{
    StopPlaybackIfActive(pane.app);
    mnuMain_View_ScanNowClick(pane);
}

void ConnectScanCommands(CataloguePane &pane)
{
    CataloguePane *p = &pane;
    QObject::connect(pane.ComboChoice, &QComboBox::activated, p, [p] { ComboChoiceChange(*p); });
    QObject::connect(pane.txtSelectFolder, &QLineEdit::textChanged, p, [p] { txtSelectFolderChange(*p); });
    QObject::connect(pane.btnMoreFolder, &QToolButton::clicked, p, [p] { btnMoreFolderClick(*p); });
}
