// The main window's own controls: the main toolbar and the status bar.
#include "app/Artwork.h"
#include "shell/Main.h"

#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {
QToolButton *addButton(QToolBar *bar, const char *name, const QIcon &icon, bool checkable = false)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(name);
    b->setIcon(icon);
    b->setAutoRaise(true);
    b->setCheckable(checkable);
    b->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(b);
    return b;
}
} // namespace

void TfrmMain::createToolbar()
{
    tbMain = new QToolBar(this);
    tbMain->setObjectName("tbMain");
    tbMain->setMovable(false);
    tbMain->setFloatable(false);
    tbMain->setIconSize(QSize(20, 20));
    tbMain->setFixedHeight(26);
    addToolBar(Qt::TopToolBarArea, tbMain);
    btnScanDrives = addButton(tbMain, "btnScanDrives", ArtToolbarIcon("main", "scan"));
    tbMain->addSeparator();
    btnCollapseTreeView = addButton(tbMain, "btnCollapseTreeView", ArtToolbarIcon("main", "collapse"));
    btnExpandTreeView = addButton(tbMain, "btnExpandTreeView", ArtToolbarIcon("main", "expand"));
    tbMain->addSeparator();
    btnUpOneLevel = addButton(tbMain, "btnUpOneLevel", ArtToolbarIcon("main", "up"));
    tbMain->addSeparator();
    btnLargeIcon = addButton(tbMain, "btnLargeIcon", ArtToolbarIcon("main", "large"), true);
    btnSmallIcon = addButton(tbMain, "btnSmallIcon", ArtToolbarIcon("main", "small"), true);
    btnListIcon = addButton(tbMain, "btnListIcon", ArtToolbarIcon("main", "list"), true);
    btnReportIcon = addButton(tbMain, "btnReportIcon", ArtToolbarIcon("main", "report"), true);
    int tag = 0;
    for (QToolButton *b : {btnLargeIcon, btnSmallIcon, btnListIcon, btnReportIcon}) {
        b->setProperty("Tag", tag++);
        b->setAutoExclusive(true);
    }
}

void TfrmMain::createStatusBar()
{
    StatusBarMain = new QStatusBar(this);
    StatusBarMain->setObjectName("StatusBarMain");
    StatusBarMain->setSizeGripEnabled(true);
    StatusBarMain->setFixedHeight(19 + 4);
    const int widths[3] = {100, 60, 0};
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(StatusBarMain);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (widths[i] > 0) {
            // At least the design width; wider when the text needs it ("1 234 fichiers").
            panel->setMinimumWidth(widths[i]);
            StatusBarMain->addWidget(panel);
        } else {
            StatusBarMain->addWidget(panel, 1);
        }
        StatusPanels[static_cast<size_t>(i)] = panel;
    }
    // When the catalogue on show was made: at the right end, out of the way of the folder's panel.
    auto *made = new QLabel(StatusBarMain);
    made->setObjectName(QStringLiteral("StatusPanel3"));
    made->setFrameShape(QFrame::Panel);
    made->setFrameShadow(QFrame::Sunken);
    StatusBarMain->addPermanentWidget(made);
    made->setVisible(false);
    StatusPanels[3] = made;
    // The zoom of the picture on view ("Zoom 200 %"), beyond the original three panels.
    auto *zoom = new QLabel(StatusBarMain);
    zoom->setObjectName(QStringLiteral("StatusPanelZoom"));
    zoom->setFrameShape(QFrame::Panel);
    zoom->setFrameShadow(QFrame::Sunken);
    zoom->setMinimumWidth(80);
    StatusBarMain->addPermanentWidget(zoom);
    StatusPanels[4] = zoom;
    setStatusBar(StatusBarMain);
}
