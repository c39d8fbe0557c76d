#include "shell/Main.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/ControlTexts.h"
#include "app/Language.h"
#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/DriveTable.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/KeptCatalogueCommands.h"
#include "catalogue/MediaTabs.h"
#include "catalogue/ScanCommands.h"
#include "catalogue/TypeTabs.h"
#include "fileops/FileCommands.h"
#include "shell/Firstime.h"
#include "shell/TbarMain.h"
#include "viewers/ViewerPane.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

namespace {

// Notices a click that makes the window active: the click's own focus change comes first (X delivers
// the press before the activation it causes), and the activation must not move the focus away again.
class ClickActivation : public QObject
{
public:
    ClickActivation(QWidget *window, bool &clicked) : QObject(window), m_window(window), m_clicked(clicked)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonPress || m_window->isActiveWindow() ||
            !watched->isWidgetType())
            return false;
        for (auto *w = static_cast<QWidget *>(watched); w && w->window() == m_window; w = w->parentWidget())
            if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) {
                m_clicked = true;
                break;
            }
        return false;
    }

private:
    QWidget *m_window;
    bool &m_clicked;
};

} // namespace

TfrmMain::TfrmMain(App &application) : QMainWindow(nullptr), app(application), catalogue(application)
{
    try {
        create();
    } catch (...) {
        tearDown();
        throw;
    }
}

TfrmMain::~TfrmMain()
{
    tearDown();
}

void TfrmMain::create()
{
    setObjectName("frmMain");
    // Read while the window is built: the kept catalogue is put back at the end of the start-up.
    PreloadKeptCatalogue(catalogue);
    setWindowIcon(ArtIcon("app/lumavista"));
    resize(736, 534);

    createToolbar();
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    pnlAllClient = new QWidget(central);
    pnlAllClient->setObjectName("pnlAllClient");
    m_catalogue = new CataloguePane(catalogue, pnlAllClient);
    m_viewer = new ViewerPane(app, pnlAllClient);
    m_fileCommands = std::make_unique<FileCommands>(app);
    column->addWidget(m_catalogue->pnlToolBarDisk);
    auto *clientRow = new QHBoxLayout(pnlAllClient);
    clientRow->setContentsMargins(0, 0, 0, 0);
    SplitRight = new QSplitter(Qt::Horizontal, pnlAllClient);
    SplitRight->setObjectName("SplitRight");
    SplitRight->setHandleWidth(7);
    SplitRight->setChildrenCollapsible(false);
    SplitRight->addWidget(m_catalogue->pcMain);
    SplitRight->addWidget(m_viewer);
    SplitRight->setStretchFactor(0, 0);
    SplitRight->setStretchFactor(1, 1);
    connect(SplitRight, &QSplitter::splitterMoved, this, &TfrmMain::SplitRightMoved);
    clientRow->addWidget(SplitRight);
    column->addWidget(pnlAllClient, 1);
    setCentralWidget(central);
    createStatusBar();
    timFirstTimeOpenForm = new QTimer(this);
    timFirstTimeOpenForm->setObjectName("timFirstTimeOpenForm");
    timFirstTimeOpenForm->setInterval(1);
    timFirstTimeOpenForm->setSingleShot(true);
    connect(timFirstTimeOpenForm, &QTimer::timeout, this, &TfrmMain::timFirstTimeOpenFormTimer);
    new ClickActivation(this, m_activatedByClick);
    connectPorts();
    CreateMenus(*this);
    wireCommands();

    // FormCreate: the start-up sequence, then the French texts.
    InitialiseApplication();
    setFrenchTexts();
}

void TfrmMain::connectPorts()
{
    app.mainWindow = this;
    app.status = this;
    app.toolbarHints = this;
    app.viewer = m_viewer;
    app.fileCommands = m_fileCommands.get();
    app.selectionList = m_catalogue;
    app.cataloguePane = m_catalogue;
    app.fileSelection = m_catalogue;
}

void TfrmMain::tearDown()
{
    app.mainWindow = nullptr;
    app.status = nullptr;
    app.toolbarHints = nullptr;
    app.viewer = nullptr;
    app.fileCommands = nullptr;
    app.selectionList = nullptr;
    app.cataloguePane = nullptr;
    app.fileSelection = nullptr;
    // The panes' models read the catalogue store (a member, gone after this): they go first.
    delete takeCentralWidget();
    m_catalogue = nullptr;
    m_viewer = nullptr;
}

void TfrmMain::setStatusText(int panel, const QString &text)
{
    if (panel < 0 || panel >= int(StatusPanels.size()))
        return;
    QLabel *label = StatusPanels[static_cast<size_t>(panel)];
    label->setText(text);
    // The catalogue's date takes room only when there is one to show.
    if (panel == 3)
        label->setVisible(!text.isEmpty());
    label->repaint();
}

QString TfrmMain::statusText(int panel) const
{
    return panel >= 0 && panel < int(StatusPanels.size()) ? StatusPanels[static_cast<size_t>(panel)]->text()
                                                          : QString();
}

void TfrmMain::InitialiseApplication()
{
    AppState &st = app.st;
    CataloguePane &pane = *m_catalogue;
    pane.clearFocusFlags();
    st.FormReady = false;
    st.OnView.FileType = mtNone;
    st.SettingsFilePath = QStringLiteral("LUMA.INI");
    LoadSettings(app);
    ApplyWindowGeometry();
    setWindowTitle(QStringLiteral("Lumavista"));
    pane.startUp();
    applyHints();
    QToolButton *styleButton = ViewStyleButton(*this, st.settings.Icon_Style);
    styleButton->setChecked(true);
    SetViewStyle(*this, styleButton->property("Tag").toInt());
    pane.showEmptyCatalogue();
    setPaneWidths(st.settings.Panel_Width, st.settings.TreeView_Width);
    pane.SplitLeftALLMoved(pane.SplitLeft[0]);
    RestoreKeptCatalogue(pane);
}

void TfrmMain::showHintsOnToolbars(bool on)
{
    m_hintsOn = on;
}

void TfrmMain::applyHints()
{
    // Qt shows a tool tip whenever one is set, so hints switched off are swallowed by eventFilter; the
    // texts stay as the buttons' accessible names.
    m_hintsOn = app.st.settings.Show_Hints;
    for (QToolBar *bar : {tbMain, m_catalogue->tbDir, m_viewer->toolBar(), m_catalogue->tbDisk})
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
    SaveWindowSettings(app);
}

void TfrmMain::SetDefaultFrames()
{
    Settings &s = app.st.settings;
    s.Panel_Width = 400;
    s.TreeView_Width = 230;
    setPaneWidths(400, 230);
    SplitLeftALLMoved(m_catalogue->SplitLeft[0]);
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
    m_catalogue->setTreeWidth(treeWidth);
}

void TfrmMain::FormActivate()
{
    CataloguePane &pane = *m_catalogue;
    // A click that activated the window has put the focus where the user wants it already.
    const bool clicked = std::exchange(m_activatedByClick, false);
    if (TFolderTreeView *tree = pane.tree(TypeOfTabSheet(pane, pane.pcMain->currentWidget()));
        tree && !clicked)
        tree->setFocus();
    app.st.FormReady = true;
    m_viewer->CentreFramePanels();
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
        SaveFirstTime(app);
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
    if (!SaveWindowSettings(app))
        return;
    st.RelayoutOnly = true;
    m_viewer->relayout();
    st.RelayoutOnly = false;
}

void TfrmMain::pnlRightResize()
{
    AppState &st = app.st;
    if (!st.FormReady || st.RightPaneResizing)
        return;
    st.RightPaneResizing = true;
    QApplication::processEvents();
    m_viewer->CentreFramePanels();
    m_viewer->relayout();
    st.RightPaneResizing = false;
}

void TfrmMain::SplitLeftALLMoved(QSplitter *sender)
{
    m_catalogue->SplitLeftALLMoved(sender);
}

void TfrmMain::SplitRightMoved()
{
    if (!app.st.FormReady)
        return;
    app.st.settings.Panel_Width = SplitRight->sizes().value(0);
    SavePanelWidth(app);
}

bool TfrmMain::FormCloseQuery()
{
    AppState &st = app.st;
    st.FormReady = false;
    if (!isMaximized()) {
        st.settings.WindowLeft = geometry().left();
        st.settings.Window_Top = geometry().top();
    }
    SaveWindowSettings(app);
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
    if (FormCloseQuery()) {
        // What the live follow changed in the kept catalogue is kept for the next start.
        KeepChangedCatalogue(catalogue);
        // Nothing the viewer opened outlives the window: the video preview's own window included.
        m_viewer->closePreviews();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_hintsOn && qobject_cast<QToolButton *>(watched))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::setFrenchTexts()
{
    CataloguePane &pane = *m_catalogue;
    pane.setTabCaption(mtALL, SelectText("TOUS", "ALL"));
    NameControls({
        {pane.btnMoreFolder, "Sélectionner le dossier", "Select folder"},
        {btnScanDrives, "Explorer le(s) disque(s) / Le dossier", "Scan drive(s) / Folder"},
        {btnCollapseTreeView, "Réduire l'arborescence", "Collapse tree view"},
        {btnExpandTreeView, "Développer l'arborescence", "Expand tree view"},
        {btnUpOneLevel, "Remonter d'un niveau dans l'arborescence", "Treeview: Up one level"},
        {btnLargeIcon, "Grandes icônes", "Large icons"},
        {btnSmallIcon, "Petites icônes", "Small icons"},
        {btnListIcon, "Liste", "List"},
        {btnReportIcon, "Détails", "Report"},
    });
    pane.ComboChoice->setItemText(0, SelectText("Disques", "Scan drives"));
    pane.ComboChoice->setItemText(1, SelectText("Dossier", "Scan folder"));
    pane.ComboChoice->setAccessibleName(SelectText("Mode d'exploration", "Scan mode"));
    pane.txtSelectFolder->setAccessibleName(SelectText("Dossier à explorer", "Folder to scan"));
}
