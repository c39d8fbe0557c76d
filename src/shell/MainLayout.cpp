// Creation of the main window's controls: toolbars, drive bar, tab pane and status bar.
#include "catalogue/ListView.h"
#include "shell/App.h"
#include "shell/Artwork.h"
#include "shell/Main.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

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

QToolBar *makeBar(const char *name, QWidget *parent, int height = 26)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->setFixedHeight(height);
    return bar;
}

} // namespace

// Tab sheets in page order; the code is the media type each holds.
const char *const kTabCodes[13] = {"ALL", "ANI", "AVI", "BMP", "JPG", "MID", "WAV",
                                   "GIF", "PCX", "TIF", "WMF", "EMF", "ICO"};
static const int kPageOrder[13] = {0, 1, 2, 3, 11, 7, 12, 4, 5, 8, 9, 6, 10};

void TfrmMain::createToolbars()
{
    tbMain = makeBar("tbMain", this);
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

void TfrmMain::createDriveBar()
{
    pnlToolBarDisk = new QFrame(this);
    pnlToolBarDisk->setObjectName("pnlToolBarDisk");
    pnlToolBarDisk->setFixedHeight(26);
    auto *row = new QHBoxLayout(pnlToolBarDisk);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    pnlToolBarChoice = new QWidget(pnlToolBarDisk);
    pnlToolBarChoice->setObjectName("pnlToolBarChoice");
    pnlToolBarChoice->setFixedWidth(121);
    auto *choiceRow = new QHBoxLayout(pnlToolBarChoice);
    choiceRow->setContentsMargins(0, 0, 0, 0);
    tbChoice = makeBar("tbChoice", pnlToolBarChoice);
    ComboChoice = new QComboBox(tbChoice);
    ComboChoice->setObjectName("ComboChoice");
    ComboChoice->setFixedWidth(108);
    ComboChoice->setIconSize(QSize(13, 13));
    ComboChoice->addItem(ArtIcon("choice/drives"), "Scan drives");
    ComboChoice->addItem(ArtIcon("choice/folder"), "Scan folder");
    tbChoice->addWidget(ComboChoice);
    choiceRow->addWidget(tbChoice);
    row->addWidget(pnlToolBarChoice);

    pnlToolBarDir = new QWidget(pnlToolBarDisk);
    pnlToolBarDir->setObjectName("pnlToolBarDir");
    auto *dirRow = new QHBoxLayout(pnlToolBarDir);
    dirRow->setContentsMargins(0, 0, 0, 0);
    tbDir = makeBar("tbDir", pnlToolBarDir);
    btnMoreFolder = addButton(tbDir, "btnMoreFolder", ArtIcon("toolbar/folder-open"));
    txtSelectFolder = new QLineEdit(tbDir);
    txtSelectFolder->setObjectName("txtSelectFolder");
    txtSelectFolder->setReadOnly(true);
    txtSelectFolder->setFixedWidth(226);
    tbDir->addWidget(txtSelectFolder);
    dirRow->addWidget(tbDir);
    pnlToolBarDir->setVisible(false);
    row->addWidget(pnlToolBarDir, 1);

    pnlToolBarAllDisks = new QWidget(pnlToolBarDisk);
    pnlToolBarAllDisks->setObjectName("pnlToolBarAllDisks");
    auto *diskRow = new QHBoxLayout(pnlToolBarAllDisks);
    diskRow->setContentsMargins(0, 0, 0, 0);
    tbDisk = makeBar("tbDisk", pnlToolBarAllDisks);
    tbDisk->setIconSize(QSize(16, 16));
    tbDisk->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (int n = 1; n <= 26; ++n) {
        const QString letter(QChar('A' + n - 1));
        auto *b = new QToolButton(tbDisk);
        b->setObjectName("tb" + letter);
        b->setText(letter);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFixedWidth(43);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setFocusPolicy(Qt::TabFocus);
        tbDrive[n] = b;
        // A widget in a tool bar is shown and hidden through its action.
        b->setProperty("toolbarAction", QVariant::fromValue(static_cast<QObject *>(tbDisk->addWidget(b))));
    }
    diskRow->addWidget(tbDisk);
    pnlToolBarAllDisks->setVisible(false);
    row->addWidget(pnlToolBarAllDisks, 1);
}

void TfrmMain::createTabs()
{
    pcMain = new QTabWidget(pnlAllClient);
    pcMain->setObjectName("pcMain");
    pcMain->setTabPosition(QTabWidget::South);
    pcMain->tabBar()->setExpanding(false);
    pcMain->tabBar()->setUsesScrollButtons(true);
    pcMain->setDocumentMode(false);
    for (int page = 0; page < 13; ++page) {
        const int code = kPageOrder[page];
        const QString c = kTabCodes[code];
        auto *sheet = new QWidget(pcMain);
        sheet->setObjectName("ts" + c);
        auto *lay = new QHBoxLayout(sheet);
        lay->setContentsMargins(0, 0, 0, 0);
        auto *split = new QSplitter(Qt::Horizontal, sheet);
        split->setObjectName("SplitLeft" + c);
        split->setHandleWidth(7);
        split->setChildrenCollapsible(false);
        auto *tree = new QTreeWidget(split);
        tree->setObjectName("tv" + c);
        tree->setHeaderHidden(true);
        tree->setRootIsDecorated(false);
        tree->setIndentation(19);
        tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tree->setContextMenuPolicy(Qt::CustomContextMenu);
        tree->setUniformRowHeights(true);
        tree->setMinimumWidth(20);
        auto *list = new TListView(split);
        list->setObjectName("lv" + c);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->setImages(&Images().smallList, &Images().largeList);
        split->addWidget(tree);
        split->addWidget(list);
        split->setStretchFactor(0, 0);
        split->setStretchFactor(1, 1);
        lay->addWidget(split);
        pcMain->addTab(sheet, c);
        ts[code] = sheet;
        tv[code] = tree;
        SplitLeft[code] = split;
        lv[code] = list;
        connect(split, &QSplitter::splitterMoved, this, [this, split] { SplitLeftALLMoved(split); });
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
        StatusPanels[i] = panel;
    }
    setStatusBar(StatusBarMain);
}

void TfrmMain::createTimers()
{
    auto make = [this](const char *name, int interval) {
        auto *t = new QTimer(this);
        t->setObjectName(name);
        t->setInterval(interval);
        t->setSingleShot(interval == 1);
        return t;
    };
    timRepeatAVI = make("timRepeatAVI", 1);
    timAutoRepeatWAV = make("timAutoRepeatWAV", 1);
    timAutoRepeatMID = make("timAutoRepeatMID", 1);
    timPositionWav = make("timPositionWav", 300);
    timPositionMID = make("timPositionMID", 300);
    timFirstTimeOpenForm = make("timFirstTimeOpenForm", 1);
    connect(timFirstTimeOpenForm, &QTimer::timeout, this, &TfrmMain::timFirstTimeOpenFormTimer);
}
