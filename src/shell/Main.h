// TfrmMain, the main window: the toolbars, the tab pane with one folder tree and one file list per
// media type, the viewer pane and the status bar. It owns every control for the whole run; the
// subsystems hang their behaviour on these controls through App. The window's own life cycle
// (creation, activation, resizing, splitters, closing) is here; object names are the controls' names.
#pragma once

#include <QMainWindow>
#include <array>

struct App;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QScrollArea;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class TAniIcon;
class TAVIControl;
class TGIFImage;
class TImageEn;
class TListView;
class TMediaPlayer;
class TPicture;
class TURLLabel;

class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    // Creates the window and runs the start-up sequence (FormCreate).
    explicit TfrmMain(App &app);
    ~TfrmMain() override;

    App &app;

    // Main toolbar.
    QToolBar *tbMain = nullptr;
    QToolButton *btnScanDrives = nullptr, *btnCollapseTreeView = nullptr, *btnExpandTreeView = nullptr,
                *btnUpOneLevel = nullptr, *btnLargeIcon = nullptr, *btnSmallIcon = nullptr,
                *btnListIcon = nullptr, *btnReportIcon = nullptr;

    // Second bar: scan mode, folder, drives.
    QFrame *pnlToolBarDisk = nullptr;
    QWidget *pnlToolBarChoice = nullptr, *pnlToolBarDir = nullptr, *pnlToolBarAllDisks = nullptr;
    QToolBar *tbChoice = nullptr, *tbDir = nullptr, *tbDisk = nullptr;
    QComboBox *ComboChoice = nullptr;
    QToolButton *btnMoreFolder = nullptr;
    QLineEdit *txtSelectFolder = nullptr;
    std::array<QToolButton *, 27> tbDrive{}; // [1..26] = tbA .. tbZ

    // Tab pane: index by MediaType code 0..12.
    QWidget *pnlAllClient = nullptr;
    QTabWidget *pcMain = nullptr;
    std::array<QWidget *, 13> ts{};
    std::array<QTreeWidget *, 13> tv{};
    std::array<QSplitter *, 13> SplitLeft{};
    std::array<TListView *, 13> lv{};
    QSplitter *SplitRight = nullptr;
    QTreeWidget *tvALL() const { return tv[0]; }
    TListView *lvALL() const { return lv[0]; }

    // Viewer pane.
    QFrame *pnlRight = nullptr;
    QToolBar *tbViewer = nullptr;
    QToolButton *btnFirstFile = nullptr, *btnPreviousFile = nullptr, *btnNextFile = nullptr,
                *btnLastFile = nullptr, *btnPlayFile = nullptr, *btnStopPlayingFile = nullptr,
                *btnPreview = nullptr, *btnLoop = nullptr, *btnStretch = nullptr, *btnTile = nullptr;
    QStackedWidget *nbkViewer = nullptr;
    // Page "VIDE".
    QLabel *picBackGroundVIDE = nullptr, *picPresentation = nullptr, *picTitre = nullptr;
    QFrame *pnlHomePage = nullptr;
    QLabel *picHomePage = nullptr;
    TURLLabel *URLLabelHomePage = nullptr;
    // Page "ANI".
    QLabel *picBackgroundANI = nullptr;
    QFrame *pnlANI = nullptr;
    TAniIcon *picANI = nullptr;
    // Page "AVI_WIN".
    QLabel *picBackGroundAVI_WIN = nullptr;
    TAVIControl *AVIControlWIN = nullptr;
    // Page "AVI_VIDEO".
    QListWidget *ListViewAVIPlayer = nullptr;
    TMediaPlayer *MediaPlayerAVI = nullptr;
    // Page "BMP".
    QScrollArea *scrollBMP = nullptr;
    TPicture *picBMP = nullptr;
    // Page "JPG".
    QScrollArea *scrollJPG = nullptr;
    TPicture *picJPG = nullptr;
    QLabel *lblProgressJPG = nullptr;
    // Pages "MID" and "WAV".
    QWidget *pnlPositionMID = nullptr, *pnlPositionWAV = nullptr;
    QProgressBar *ProgressBarMID = nullptr, *ProgressBarWAV = nullptr;
    QGroupBox *GroupBoxMID = nullptr, *GroupBoxWAV = nullptr;
    QLabel *lblTotalMID = nullptr, *lblPlayedMID = nullptr, *lblTotalWAV = nullptr, *lblPlayedWAV = nullptr;
    QLabel *lblTotalTimeMID = nullptr, *lblPlayedTimeMID = nullptr, *lblTotalTimeWAV = nullptr,
           *lblPlayedTimeWAV = nullptr;
    QLabel *picBackgroundMID = nullptr, *picBackgroundWAV = nullptr;
    TMediaPlayer *MediaPlayerMID = nullptr, *MediaPlayerWAV = nullptr;
    // Pages "GIF", "PCX", "TIF", "WMF", "EMF".
    QScrollArea *ScrollGIF = nullptr, *ScrollPCX = nullptr, *ScrollTIF = nullptr, *ScrollWMF = nullptr,
                *ScrollEMF = nullptr;
    TGIFImage *picGIF = nullptr;
    TImageEn *PicPcx = nullptr, *picTIF = nullptr, *picWMF = nullptr, *picEMF = nullptr;
    // Page "ICO".
    QLabel *picBackgroundICO = nullptr;
    QFrame *pnlICO = nullptr;
    TPicture *picICO = nullptr;

    QStatusBar *StatusBarMain = nullptr;
    std::array<QLabel *, 3> StatusPanels{};

    // Menus.
    QMenu *mnuMain_File = nullptr, *mnuMain_View = nullptr, *mnuMain_Play = nullptr, *mnuMain_Tools = nullptr,
          *mnuMain_Help = nullptr;
    QMenu *popmnuTreeView = nullptr, *popmnuListView = nullptr, *popmnuViewFile = nullptr,
          *popmnuViewFilePagePresentation = nullptr;
    // Finds a menu item by its name (every item carries its name as objectName).
    QAction *action(const QString &name) const;

    // Timers.
    QTimer *timRepeatAVI = nullptr, *timAutoRepeatWAV = nullptr, *timAutoRepeatMID = nullptr,
           *timPositionWav = nullptr, *timPositionMID = nullptr, *timFirstTimeOpenForm = nullptr;

    // The page of nbkViewer with this name ("VIDE", "ANI", ... "ICO"), or nullptr.
    QWidget *viewerPage(const QString &name) const;
    QString currentViewerPage() const;
    void showViewerPage(const QString &name);

    // Life cycle.
    void InitialiseApplication();
    void ApplyWindowGeometry();
    void SetDefaultWindow();
    void SetDefaultFrames();
    void CentreFramePanels();
    void FormActivate();
    void FormResize();
    void pnlRightResize();
    void SplitLeftALLMoved(QSplitter *sender);
    void SplitRightMoved();
    bool FormCloseQuery();
    void timFirstTimeOpenFormTimer();

    bool firstActivationDone() const { return m_activatedOnce; }
    // Viewer-pane resizes and the tool-tip switch of the toolbars.
    bool eventFilter(QObject *watched, QEvent *event) override;

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbars();
    void createDriveBar();
    void createTabs();
    void createViewer();
    void createViewerPages();
    void createStatusBar();
    void createTimers();
    void setFrenchTexts();
    void wireCommands();

public:
    // Switches the tool tips of the four toolbars on or off (Show_Hints).
    void applyHints();

private:
    void setPaneWidths(int panelWidth, int treeWidth);

    bool m_activatedOnce = false;
    bool m_hintsOn = true;
};

// Builds the main menu and the popup menus of the window (captions, shortcuts, names).
void CreateMenus(TfrmMain &form);
