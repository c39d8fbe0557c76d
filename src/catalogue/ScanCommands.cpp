#include "catalogue/ScanDisk.h"

#include "shell/App.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QComboBox>
#include <QLineEdit>

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

void ConnectScanCommands(App &app)
{
    TfrmMain *f = app.frmMain;
    QObject::connect(f->ComboChoice, &QComboBox::activated, f, [&app] { ComboChoiceChange(app); });
    QObject::connect(f->txtSelectFolder, &QLineEdit::textChanged, f, [&app] { txtSelectFolderChange(app); });
}
