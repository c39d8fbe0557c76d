#include "shell/Main.h"

#include "catalogue/DiskList.h"
#include "catalogue/ListView.h"
#include "catalogue/MediaTypes.h"
#include "catalogue/My_LView.h"
#include "catalogue/ScanDisk.h"
#include "components/controls/TURLLabel.h"
#include "shell/App.h"
#include "shell/Artwork.h"
#include "shell/Firstime.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "viewers/ViewerDispatch.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

const char *const kHomePageAddress = "lumavista.example.org/";

TfrmMain::TfrmMain(App &application) : QMainWindow(nullptr), app(application)
{
    setObjectName("frmMain");
    app.frmMain = this;
    setWindowIcon(ArtIcon("app/lumavista"));
    resize(736, 534);

    createToolbars();
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    createDriveBar();
    column->addWidget(pnlToolBarDisk);
    pnlAllClient = new QWidget(central);
    pnlAllClient->setObjectName("pnlAllClient");
    auto *clientRow = new QHBoxLayout(pnlAllClient);
    clientRow->setContentsMargins(0, 0, 0, 0);
    SplitRight = new QSplitter(Qt::Horizontal, pnlAllClient);
    SplitRight->setObjectName("SplitRight");
    SplitRight->setHandleWidth(7);
    SplitRight->setChildrenCollapsible(false);
    createTabs();
    createViewer();
    SplitRight->addWidget(pcMain);
    SplitRight->addWidget(pnlRight);
    SplitRight->setStretchFactor(0, 0);
    SplitRight->setStretchFactor(1, 1);
    connect(SplitRight, &QSplitter::splitterMoved, this, &TfrmMain::SplitRightMoved);
    clientRow->addWidget(SplitRight);
    column->addWidget(pnlAllClient, 1);
    setCentralWidget(central);
    createStatusBar();
    createTimers();
    CreateMenus(*this);
    wireCommands();
    SetViewerButtons(app, mtNone);

    // FormCreate: the start-up sequence, then the French texts.
    InitialiseApplication();
    setFrenchTexts();
}

TfrmMain::~TfrmMain()
{
    if (app.frmMain == this)
        app.frmMain = nullptr;
}

QAction *TfrmMain::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

QWidget *TfrmMain::viewerPage(const QString &name) const
{
    for (int i = 0; i < nbkViewer->count(); ++i)
        if (nbkViewer->widget(i)->objectName() == name)
            return nbkViewer->widget(i);
    return nullptr;
}

QString TfrmMain::currentViewerPage() const
{
    return nbkViewer->currentWidget() ? nbkViewer->currentWidget()->objectName() : QString();
}

void TfrmMain::showViewerPage(const QString &name)
{
    if (QWidget *page = viewerPage(name))
        nbkViewer->setCurrentWidget(page);
}

void TfrmMain::InitialiseApplication()
{
    AppState &st = app.st;
    st.CurrentView.TreeHasFocus = false;
    st.Selection.ListHasFocus = false;
    st.FormReady = false;
    st.Selection.FileType = mtNone;
    st.SettingsFilePath = QStringLiteral("LUMA.INI");
    LoadSettings(st);
    ApplyWindowGeometry();
    InitExtensions(app);
    InitTabSheets(app);
    InitDiskTable(app);
    setWindowTitle(QStringLiteral("Lumavista"));
    URLLabelHomePage->setText(QString::fromLatin1(kHomePageAddress));
    URLLabelHomePage->setAddress(QString::fromLatin1(kHomePageAddress));
    pnlToolBarAllDisks->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pnlToolBarDir->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ComboChoice->setCurrentIndex(st.settings.Scan_Type == 0 ? 0 : 1);
    ComboChoiceChange(app);
    txtSelectFolder->setText(st.settings.Starting_Folder);
    applyHints();
    for (TListView *list : lv)
        SetupColumns(list);
    QToolButton *styleButton = ViewStyleButton(app, st.settings.Icon_Style);
    styleButton->setChecked(true);
    SetViewStyle(app, styleButton->property("Tag").toInt());
    ResetCatalogue(app);
    if (st.settings.Show_Non_Empty_Tabs)
        SetTypeTabsVisible(app, false);
    setPaneWidths(st.settings.Panel_Width, st.settings.TreeView_Width);
    SplitLeftALLMoved(SplitLeft[0]);
}

void TfrmMain::applyHints()
{
    // Qt shows a tool tip whenever one is set, so hints switched off are swallowed by eventFilter; the
    // texts stay as the buttons' accessible names.
    m_hintsOn = app.st.settings.Show_Hints;
    for (QToolBar *bar : {tbMain, tbDir, tbViewer, tbDisk})
        for (QToolButton *b : bar->findChildren<QToolButton *>())
            b->installEventFilter(this);
}

void TfrmMain::ApplyWindowGeometry()
{
    AppState &st = app.st;
    const bool oldResizing = st.RightPaneResizing;
    const bool oldApplying = st.ApplyingGeometry;
    st.RightPaneResizing = true;
    st.ApplyingGeometry = true;
    const Settings &s = st.settings;
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    setGeometry(s.WindowLeft, s.Window_Top, s.Window_Width, s.Window_Height);
    if (s.Window_State == 0)
        setWindowState(windowState() | Qt::WindowMaximized);
    st.RightPaneResizing = oldResizing;
    st.ApplyingGeometry = oldApplying;
}

void TfrmMain::SetDefaultWindow()
{
    Settings &s = app.st.settings;
    s.WindowLeft = 0;
    s.Window_Top = 0;
    s.Window_Width = 740;
    s.Window_Height = 565;
    s.Window_State = 0;
    ApplyWindowGeometry();
    SaveWindowSettings(app.st);
}

void TfrmMain::SetDefaultFrames()
{
    Settings &s = app.st.settings;
    s.Panel_Width = 400;
    s.TreeView_Width = 230;
    setPaneWidths(400, 230);
    SplitLeftALLMoved(SplitLeft[0]);
    SplitRightMoved();
}

void TfrmMain::setPaneWidths(int panelWidth, int treeWidth)
{
    // Splitters share out their own width; before the window is first laid out that width is not
    // known yet, so each splitter is first given room for the wanted widths. Later growth goes to the
    // list and the viewer (their stretch factors), so the widths stay as set.
    const int handle = SplitRight->handleWidth();
    const int total = qMax(SplitRight->width(), panelWidth + handle + 200);
    SplitRight->resize(total, qMax(SplitRight->height(), 100));
    SplitRight->setSizes({panelWidth, total - panelWidth - handle});
    QSplitter *all = SplitLeft[0];
    const int inner = qMax(all->width(), treeWidth + all->handleWidth() + 100);
    all->resize(inner, qMax(all->height(), 100));
    all->setSizes({treeWidth, inner - treeWidth - all->handleWidth()});
}

void TfrmMain::CentreFramePanels()
{
    const int w = nbkViewer->width();
    const int h = nbkViewer->height();
    for (QFrame *panel : {pnlANI, pnlICO})
        panel->move(w / 3 - panel->width() / 2, h / 3 - panel->height() / 2);
}

void TfrmMain::FormActivate()
{
    if (QTreeWidget *tree = tv[TypeOfTabSheet(app, pcMain->currentWidget())])
        tree->setFocus();
    app.st.FormReady = true;
    CentreFramePanels();
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        if (app.st.settings.First_Time)
            timFirstTimeOpenForm->start();
    }
}

void TfrmMain::timFirstTimeOpenFormTimer()
{
    timFirstTimeOpenForm->stop();
    if (ShowFirstTimeWindow(app)) {
        app.st.settings.First_Time = false;
        SaveFirstTime(app.st);
    }
}

void TfrmMain::FormResize()
{
    AppState &st = app.st;
    if (!st.FormReady || st.ApplyingGeometry)
        return;
    if (isMinimized())
        return;
    if (isMaximized() || isFullScreen()) {
        st.settings.Window_State = 0;
    } else {
        st.settings.Window_State = 1;
        const QRect g = geometry();
        st.settings.Window_Width = g.width();
        st.settings.Window_Height = g.height();
        st.settings.WindowLeft = g.left();
        st.settings.Window_Top = g.top();
    }
    SaveWindowSettings(st);
    st.RelayoutOnly = true;
    nbkViewerPageChanged(app);
    st.RelayoutOnly = false;
}

void TfrmMain::pnlRightResize()
{
    AppState &st = app.st;
    if (!st.FormReady || st.RightPaneResizing)
        return;
    st.RightPaneResizing = true;
    QApplication::processEvents();
    CentreFramePanels();
    nbkViewerPageChanged(app);
    st.RightPaneResizing = false;
}

void TfrmMain::SplitLeftALLMoved(QSplitter *sender)
{
    AppState &st = app.st;
    if (st.PropagatingTreeWidth || !sender)
        return;
    const int width = sender->sizes().value(0);
    st.PropagatingTreeWidth = true;
    for (QSplitter *split : SplitLeft) {
        if (split == sender)
            continue;
        const int total = qMax(split->width(), sender->width());
        if (split->width() < total)
            split->resize(total, qMax(split->height(), 100));
        split->setSizes({width, qMax(1, total - width - split->handleWidth())});
    }
    st.PropagatingTreeWidth = false;
    st.settings.TreeView_Width = SplitLeft[0]->sizes().value(0);
    SaveTreeViewWidth(st);
}

void TfrmMain::SplitRightMoved()
{
    if (!app.st.FormReady)
        return;
    app.st.settings.Panel_Width = SplitRight->sizes().value(0);
    SavePanelWidth(app.st);
}

bool TfrmMain::FormCloseQuery()
{
    AppState &st = app.st;
    st.FormReady = false;
    if (!isMaximized()) {
        st.settings.WindowLeft = geometry().left();
        st.settings.Window_Top = geometry().top();
    }
    SaveWindowSettings(st);
    return true;
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    else if (event->type() == QEvent::WindowStateChange)
        FormResize();
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == pnlRight && event->type() == QEvent::Resize)
        pnlRightResize();
    else if (event->type() == QEvent::ToolTip && !m_hintsOn && qobject_cast<QToolButton *>(watched))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::setFrenchTexts()
{
    pcMain->setTabText(pcMain->indexOf(ts[0]), SelectText("TOUS", "ALL"));
    struct Hint
    {
        QWidget *w;
        const char *fr;
        const char *en;
    };
    const Hint hints[] = {
        {btnFirstFile, "Premier fichier", "First file in list"},
        {btnPreviousFile, "Fichier précédent", "Previous file in list"},
        {btnNextFile, "Fichier suivant", "Next file in list"},
        {btnLastFile, "Dernier fichier", "Last file in list"},
        {btnPlayFile, "Jouer le fichier/Rafraîchir l'image", "Play file / refresh image"},
        {btnStopPlayingFile, "Arrêter la lecture", "Stop playing file"},
        {btnPreview, "Mode aperçu", "Preview file"},
        {btnLoop, "Boucle", "Loop"},
        {btnStretch, "Etirer l'image", "Stretch image"},
        {btnTile, "Mosaïque", "Tile image"},
        {btnMoreFolder, "Sélectionner le dossier", "Select folder"},
        {btnScanDrives, "Explorer le(s) disque(s) / Le dossier", "Scan drive(s) / Folder"},
        {btnCollapseTreeView, "Réduire l'arborescence", "Collapse tree view"},
        {btnExpandTreeView, "Développer l'arborescence", "Expand tree view"},
        {btnUpOneLevel, "Remonter d'un niveau dans l'arborescence", "Treeview: Up one level"},
        {btnLargeIcon, "Grandes icônes", "Large icons"},
        {btnSmallIcon, "Petites icônes", "Small icons"},
        {btnListIcon, "Liste", "List"},
        {btnReportIcon, "Détails", "Report"},
    };
    for (const Hint &h : hints) {
        const QString text = SelectText(QString::fromUtf8(h.fr), QString::fromUtf8(h.en));
        h.w->setToolTip(text);
        h.w->setAccessibleName(text);
    }
    for (QGroupBox *box : {GroupBoxMID, GroupBoxWAV})
        box->setTitle(SelectText("Durée", "Time"));
    for (QLabel *l : {lblTotalMID, lblTotalWAV})
        l->setText(SelectText("Total:", "Total:"));
    for (QLabel *l : {lblPlayedMID, lblPlayedWAV})
        l->setText(SelectText("Joué:", "Played:"));
    ComboChoice->setItemText(0, SelectText("Disques", "Scan drives"));
    ComboChoice->setItemText(1, SelectText("Dossier", "Scan folder"));
    ComboChoice->setAccessibleName(SelectText("Mode d'exploration", "Scan mode"));
    txtSelectFolder->setAccessibleName(SelectText("Dossier à explorer", "Folder to scan"));
}
