// Connects the main window's toolbar to the commands of the panes that own them, and the panes'
// reports to what the main window shows. The menus' items are connected where they are made
// (MenuMain.cpp).
#include "catalogue/CataloguePane.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/ScanCommands.h"
#include "shell/About.h"
#include "shell/FileTransfer.h"
#include "shell/Main.h"
#include "shell/MenuState.h"
#include "shell/TbarMain.h"
#include "shell/ViewerPopup.h"
#include "viewers/ViewerPane.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

void TfrmMain::wireCommands()
{
    CataloguePane *pane = m_catalogue;
    int style = 0;
    for (QToolButton *b : {btnLargeIcon, btnSmallIcon, btnListIcon, btnReportIcon}) {
        connect(b, &QToolButton::clicked, this, [this, style] { SetViewStyle(*this, style); });
        ++style;
    }
    connect(btnScanDrives, &QToolButton::clicked, this, [pane] { btnScanDrivesClick(*pane); });
    // The tree commands of the toolbar test their rule first; the menus' items act at once.
    connect(btnCollapseTreeView, &QToolButton::clicked, this, [pane] { btnCollapseTreeViewClick(*pane); });
    connect(btnExpandTreeView, &QToolButton::clicked, this, [pane] { btnExpandTreeViewClick(*pane); });
    connect(btnUpOneLevel, &QToolButton::clicked, this, [pane] { btnUpOneLevelClick(*pane); });
    connect(pane, &CataloguePane::upOneLevelAvailable, btnUpOneLevel, &QWidget::setEnabled);
    connect(pane, &CataloguePane::treeContextMenuRequested, this, [this](const QPoint &p) {
        // Properties needs a node to describe.
        menus.popmnuTV_Properties->setEnabled(app.cataloguePane && app.cataloguePane->currentNode().kind !=
                                                                       CataloguePort::NodeKind::None);
        popmnuTreeView->popup(p);
    });
    connect(pane, &CataloguePane::listContextMenuRequested, this,
            [this](const QPoint &p) { popmnuListView->popup(p); });
    connect(m_viewer, &ViewerPane::resized, this, &TfrmMain::pnlRightResize);
    connect(m_viewer, &ViewerPane::presentationContextMenuRequested, this,
            [this](const QPoint &p) { popmnuViewFilePagePresentation->popup(p); });
    ConnectViewerPopup(*this);
    ConnectMenuStates(*this);
    new FileTransfer(*this);
}

void TfrmMain::showAbout()
{
    ShowAboutWindow(app, m_viewer->titlePicture());
}
