#include "catalogue/ScanDisk.h"

#include "platform/Ui.h"
#include "platform/drives/DriveMap.h"
#include "shell/App.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

void ComboChoiceChange(App &app)
{
    TfrmMain *f = app.frmMain;
    AppState &st = app.st;
    const bool drives = f->ComboChoice->currentIndex() == 0;
    f->pnlToolBarAllDisks->setVisible(drives);
    f->pnlToolBarDir->setVisible(!drives);
    st.ScanRequest.ScanDrives = drives;
    st.settings.Scan_Type = drives ? 0 : 1;
    SaveScanType(st);
}

void txtSelectFolderChange(App &app)
{
    app.st.ScanRequest.Folder = NormaliseFolderPath(app.frmMain->txtSelectFolder->text());
}

void btnMoreFolderClick(App &app)
{
    TfrmMain *f = app.frmMain;
    const platform::DriveMap &drives = platform::DriveMap::current();
    const QString start = NormaliseFolderPath(f->txtSelectFolder->text().trimmed());
    const QString chosen = platform::ui().browseFolder(
        f, SelectText("Sélectionner le dossier à explorer:", "Select the folder to scan:"),
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
    f->txtSelectFolder->setText(NormaliseFolderPath(*drivePath));
    app.st.settings.Starting_Folder = f->txtSelectFolder->text();
    SaveStartingFolder(app.st);
    if (app.st.settings.Scan_After_Change_Folder)
        RunScan(app);
}

void mnuMain_View_ScanNowClick(App &app)
{
    RunScan(app);
}

void btnScanDrivesClick(App &app)
{
    StopPlaybackIfActive(app);
    mnuMain_View_ScanNowClick(app);
}

void ConnectScanCommands(App &app)
{
    TfrmMain *f = app.frmMain;
    QObject::connect(f->ComboChoice, &QComboBox::activated, f, [&app] { ComboChoiceChange(app); });
    QObject::connect(f->txtSelectFolder, &QLineEdit::textChanged, f, [&app] { txtSelectFolderChange(app); });
    QObject::connect(f->btnMoreFolder, &QToolButton::clicked, f, [&app] { btnMoreFolderClick(app); });
    QObject::connect(f->btnScanDrives, &QToolButton::clicked, f, [&app] { btnScanDrivesClick(app); });
    if (QAction *scanNow = f->action(QStringLiteral("mnuMain_View_ScanNow")))
        QObject::connect(scanNow, &QAction::triggered, f, [&app] { mnuMain_View_ScanNowClick(app); });
}
