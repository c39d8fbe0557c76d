// Connects the main window's controls to the commands of the units that own them.
#include "catalogue/DiskList.h"
#include "catalogue/MediaTypes.h"
#include "catalogue/My_LView.h"
#include "catalogue/My_TView.h"
#include "catalogue/ScanDisk.h"
#include "shell/App.h"
#include "shell/Main.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

void TfrmMain::wireCommands()
{
    for (QToolButton *b : {btnLargeIcon, btnSmallIcon, btnListIcon, btnReportIcon})
        connect(b, &QToolButton::clicked, this, [this, b] { SetViewStyle(app, b->property("Tag").toInt()); });
    for (const char *n :
         {"mnuMain_View_LargeIcon", "mnuMain_View_SmallIcon", "mnuMain_View_List", "mnuMain_View_Report"}) {
        QAction *a = action(n);
        connect(a, &QAction::triggered, this, [this, a] { SetViewStyle(app, a->property("Tag").toInt()); });
    }
    for (int n = 1; n <= 26; ++n) {
        QToolButton *b = tbDrive[n];
        connect(b, &QToolButton::clicked, this, [this, b] { tbAClick(app, b); });
    }
    connect(action("mnuMain_View_Scan_Drives"), &QAction::triggered, this, [this] {
        ComboChoice->setCurrentIndex(0);
        ComboChoiceChange(app);
    });
    connect(action("mnuMain_View_Scan_Folder"), &QAction::triggered, this, [this] {
        ComboChoice->setCurrentIndex(1);
        ComboChoiceChange(app);
    });
    connect(action("mnuMain_File_Exit"), &QAction::triggered, this, &QWidget::close);
    connect(action("mnuMain_Tools_DefaultWindow"), &QAction::triggered, this, &TfrmMain::SetDefaultWindow);
    connect(action("mnuMain_Tools_DefaultFrames"), &QAction::triggered, this, &TfrmMain::SetDefaultFrames);

    // The Play menu mirrors the viewer toolbar.
    const std::pair<const char *, QToolButton *> mirrors[] = {
        {"mnuMain_Play_FirstFile", btnFirstFile},
        {"mnuMain_Play_PreviousFile", btnPreviousFile},
        {"NextFile", btnNextFile},
        {"LastFile", btnLastFile},
        {"mnuMain_Play_PlayFile", btnPlayFile},
        {"mnuMain_Play_StopFile", btnStopPlayingFile},
        {"mnuMain_Play_Preview", btnPreview},
        {"mnuMain_Play_Loop", btnLoop},
        {"mnuMain_Play_Stretch", btnStretch},
        {"mnuMain_Play_Tile", btnTile},
    };
    for (const auto &[name, button] : mirrors) {
        QToolButton *b = button;
        connect(action(name), &QAction::triggered, this, [b] { b->click(); });
    }

    connect(pcMain, &QTabWidget::currentChanged, this, [this] { pcMainChange(app); });
    ConnectTreeHandlers(app);
    ConnectListHandlers(app);
    ConnectScanCommands(app);
}
