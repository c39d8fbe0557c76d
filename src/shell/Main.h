// TfrmMain, the main window: it composes the catalogue pane (drive bar, tab pane) and the viewer
// pane, and owns what belongs to the whole window: the main toolbar tbMain, the menus and popups,
// the status bar, and its own life cycle (creation, activation, resizing, splitters, closing). It is
// the one place that knows every pane: it connects the ports of App and wires the menus and
// toolbars to the panes' commands. Object names are the controls' names.
#pragma once

#include "app/Ports.h"
#include "catalogue/Catalogue.h"
#include "shell/MenuMain.h"

#include <QMainWindow>
#include <array>
#include <memory>

class App;
class CataloguePane;
class FileCommands;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class ViewerPane;

class TfrmMain : public QMainWindow, private StatusPort, private ToolbarHintsPort
{
    Q_OBJECT
public:
    // Creates the window and runs the start-up sequence (FormCreate).
    explicit TfrmMain(App &app);
    ~TfrmMain() override;

    App &app;
    Catalogue catalogue; // the store of the trees, for the whole run

    CataloguePane &cataloguePane() const { return *m_catalogue; }
    ViewerPane &viewerPane() const { return *m_viewer; }

    // Main toolbar.
    QToolBar *tbMain = nullptr;
    QToolButton *btnScanDrives = nullptr, *btnCollapseTreeView = nullptr, *btnExpandTreeView = nullptr,
                *btnUpOneLevel = nullptr, *btnLargeIcon = nullptr, *btnSmallIcon = nullptr,
                *btnListIcon = nullptr, *btnReportIcon = nullptr;

    QWidget *pnlAllClient = nullptr;
    QSplitter *SplitRight = nullptr;
    QStatusBar *StatusBarMain = nullptr;
    std::array<QLabel *, kStatusPanels> StatusPanels{}; // 3: when the catalogue on show was made; 4: the zoom

    // Menus.
    QMenu *mnuMain_File = nullptr, *mnuMain_View = nullptr, *mnuMain_Play = nullptr, *mnuMain_Tools = nullptr,
          *mnuMain_Help = nullptr;
    QMenu *popmnuTreeView = nullptr, *popmnuListView = nullptr, *popmnuViewFile = nullptr,
          *popmnuViewFilePagePresentation = nullptr;
    MenuActions menus; // every item of those menus

    QTimer *timFirstTimeOpenForm = nullptr;

    // Life cycle.
    void InitialiseApplication();
    void ApplyWindowGeometry();
    void SetDefaultWindow();
    void SetDefaultFrames();
    void FormActivate();
    void FormResize();
    void pnlRightResize();
    void SplitLeftALLMoved(QSplitter *sender);
    void SplitRightMoved();
    bool FormCloseQuery();
    void timFirstTimeOpenFormTimer();

    bool firstActivationDone() const { return m_activatedOnce; }
    // The About window, from the Help menu and from the presentation picture's popup.
    void showAbout();
    // The tool-tip switch of the toolbars.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Switches the tool tips of the four toolbars on or off (Show_Hints).
    void applyHints();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // StatusPort.
    void setStatusText(int panel, const QString &text) override;
    QString statusText(int panel) const override;
    // ToolbarHintsPort: the options window's hint switch.
    void showHintsOnToolbars(bool on) override;

    void create();
    // Sets every port of App, in this one place.
    void connectPorts();
    // Clears the ports and deletes the panes, which read the catalogue store, before the store goes;
    // also when the window's creation ends early (an internal error at start).
    void tearDown();
    void createToolbar();
    void createStatusBar();
    void setFrenchTexts();
    void wireCommands();
    void setPaneWidths(int panelWidth, int treeWidth);

    CataloguePane *m_catalogue = nullptr;
    ViewerPane *m_viewer = nullptr;
    std::unique_ptr<FileCommands> m_fileCommands; // the lists' Delete key
    bool m_activatedOnce = false;
    bool m_activatedByClick = false; // a click into the inactive window gave the focus already
    bool m_hintsOn = true;
};

// Builds the main menu and the popup menus of the window (captions, shortcuts, names).
void CreateMenus(TfrmMain &form);
