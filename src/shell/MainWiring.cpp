// Connects the main window's toolbar and menus to the commands of the panes that own them, and the
// panes' reports to what the main window shows.
#include "catalogue/CataloguePane.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/ScanCommands.h"
#include "fileops/FileCommands.h"
#include "options/Options.h"
#include "properties/PropertiesDispatch.h"
#include "shell/About.h"
#include "shell/Help.h"
#include "shell/Main.h"
#include "shell/MenuState.h"
#include "shell/TbarMain.h"
#include "shell/ViewerPopup.h"
#include "viewers/View_VIDE.h"
#include "viewers/ViewerPane.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

void TfrmMain::wireCommands()
{
    CataloguePane *pane = m_catalogue;
    for (QToolButton *b : {btnLargeIcon, btnSmallIcon, btnListIcon, btnReportIcon})
        connect(b, &QToolButton::clicked, this,
                [this, b] { SetViewStyle(*this, b->property("Tag").toInt()); });
    for (const char *n :
         {"mnuMain_View_LargeIcon", "mnuMain_View_SmallIcon", "mnuMain_View_List", "mnuMain_View_Report"}) {
        QAction *a = action(n);
        connect(a, &QAction::triggered, this, [this, a] { SetViewStyle(*this, a->property("Tag").toInt()); });
    }
    connect(action("mnuMain_View_Scan_Drives"), &QAction::triggered, this,
            [pane] { ChooseScanMode(*pane, 0); });
    connect(action("mnuMain_View_Scan_Folder"), &QAction::triggered, this,
            [pane] { ChooseScanMode(*pane, 1); });
    connect(action("mnuMain_View_ScanNow"), &QAction::triggered, this,
            [pane] { mnuMain_View_ScanNowClick(*pane); });
    connect(btnScanDrives, &QToolButton::clicked, this, [pane] { btnScanDrivesClick(*pane); });
    connect(action("mnuMain_File_Exit"), &QAction::triggered, this, &QWidget::close);
    connect(action("mnuMain_Tools_DefaultWindow"), &QAction::triggered, this, &TfrmMain::SetDefaultWindow);
    connect(action("mnuMain_Tools_DefaultFrames"), &QAction::triggered, this, &TfrmMain::SetDefaultFrames);

    // The tree commands: toolbar buttons test their rule first, menu and popup items act at once.
    const auto onClick = [this, pane](QToolButton *button, void (*command)(CataloguePane &)) {
        connect(button, &QToolButton::clicked, this, [pane, command] { command(*pane); });
    };
    onClick(btnCollapseTreeView, btnCollapseTreeViewClick);
    onClick(btnExpandTreeView, btnExpandTreeViewClick);
    onClick(btnUpOneLevel, btnUpOneLevelClick);
    const auto onTrigger = [this, pane](const char *name, void (*command)(CataloguePane &)) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this,
                [pane, command] { command(*pane); });
    };
    onTrigger("mnuMain_View_CollapseTreeView", mnuMain_View_CollapseTreeViewClick);
    onTrigger("popmnuTV_CollapseTreeView", mnuMain_View_CollapseTreeViewClick);
    onTrigger("mnuMain_View_ExpandTreeView", mnuMain_View_ExpandTreeViewClick);
    onTrigger("popmnuTV_ExpandTreeView", mnuMain_View_ExpandTreeViewClick);
    onTrigger("mnuMain_View_TreeviewUpOneLevel", mnuMain_View_TreeviewUpOneLevelClick);
    connect(pane, &CataloguePane::upOneLevelAvailable, btnUpOneLevel, &QWidget::setEnabled);
    connect(pane, &CataloguePane::treeContextMenuRequested, this, [this](const QPoint &p) {
        // Properties needs a node to describe.
        action("popmnuTV_Properties")
            ->setEnabled(app.catalogue && app.catalogue->currentNode().kind != CataloguePort::NodeKind::None);
        popmnuTreeView->popup(p);
    });
    connect(pane, &CataloguePane::listContextMenuRequested, this,
            [this](const QPoint &p) { popmnuListView->popup(p); });

    // Properties: the tree's popup describes its node, the list's and the viewer's the list item.
    connect(action("popmnuTV_Properties"), &QAction::triggered, this, [this] { ShowTreeProperties(app); });
    connect(action("popmnuLV_Properties"), &QAction::triggered, this, [this] { ShowListProperties(app); });
    connect(action("popmnuVF_Properties"), &QAction::triggered, this, [this] { ShowListProperties(app); });
    connect(action("mnuMain_File_Properties"), &QAction::triggered, this,
            [this] { ShowPropertiesForFocus(app); });

    // The Play menu mirrors the viewer toolbar.
    ViewerPane *viewer = m_viewer;
    const std::pair<const char *, QToolButton *> mirrors[] = {
        {"mnuMain_Play_FirstFile", viewer->btnFirstFile},
        {"mnuMain_Play_PreviousFile", viewer->btnPreviousFile},
        {"NextFile", viewer->btnNextFile},
        {"LastFile", viewer->btnLastFile},
        {"mnuMain_Play_PlayFile", viewer->btnPlayFile},
        {"mnuMain_Play_StopFile", viewer->btnStopPlayingFile},
        {"mnuMain_Play_Preview", viewer->btnPreview},
        {"mnuMain_Play_Loop", viewer->btnLoop},
        {"mnuMain_Play_Stretch", viewer->btnStretch},
        {"mnuMain_Play_Tile", viewer->btnTile},
    };
    for (const auto &[name, button] : mirrors) {
        QToolButton *b = button;
        connect(action(name), &QAction::triggered, this, [b] { b->click(); });
    }
    connect(viewer, &ViewerPane::resized, this, &TfrmMain::pnlRightResize);
    ConnectViewerPopup(*this);
    ConnectMenuStates(*this);

    // About: from the Help menu and from the presentation picture's popup.
    const auto about = [this] {
        const QPixmap title = m_viewer->pageVIDE->picTitre->pixmap();
        ShowAboutWindow(app, title);
    };
    connect(action("mnuMain_Help_About"), &QAction::triggered, this, about);
    connect(action("popmnuVFPresentation_About"), &QAction::triggered, this, about);
    connect(action("Helpcontents1"), &QAction::triggered, this, [this] { ShowHelp(app); });
    connect(viewer, &ViewerPane::presentationContextMenuRequested, this,
            [this](const QPoint &p) { popmnuViewFilePagePresentation->popup(p); });
    wireFileCommands();
}

void TfrmMain::wireFileCommands()
{
    const std::pair<const char *, FileOpOutcome (*)(App &)> commands[] = {
        {"mnuMain_File_CopySelectedFiles", CopySelectedFiles},
        {"popmnuLV_CopySelectedFiles", CopySelectedFiles},
        {"mnuMain_File_Copy1FileSelected", [](App &a) { return CopyOneFile(a, false); }},
        {"popmnuLV_Copy1File", [](App &a) { return CopyOneFile(a, false); }},
        {"popmnuVF_SaveFile", [](App &a) { return CopyOneFile(a, true); }},
        {"mnuMain_File_DeleteSelectedFiles", DeleteSelectedFiles},
        {"popmnuLV_DeleteSelectedFiles", DeleteSelectedFiles},
        {"mnuMain_File_Delete1FileSelected", DeleteOneFile},
        {"popmnuLV_Delete1File", DeleteOneFile},
        {"mnuMain_File_Execute", ExecuteSelectedFile},
        {"popmnuLV_ExecuteFile", ExecuteSelectedFile},
        {"popmnuVF_Execute", ExecuteFileOnView},
    };
    for (const auto &[name, command] : commands) {
        const auto run = command;
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, [this, run] { run(app); });
    }
    connect(action("popmnuLV_SelectAll"), &QAction::triggered, this,
            [pane = m_catalogue] { SelectAllFiles(*pane); });
    connect(action("mnuMain_Tools_Options"), &QAction::triggered, this, [this] { ShowOptionsWindow(app); });
}
