// The viewer pane pnlRight: the viewer toolbar tbViewer (navigation, play and stop, preview, and the
// toggles loop, stretch and tile) over the notebook nbkViewer, one page per kind of file, each page
// a class of its own holding its controls and its Load operation (View_*.h). The pane is the viewer
// port of the other subsystems (app/Ports.h): they ask it to play the selection, to stop what plays
// or to show the empty page. What it does with a type is ViewerDispatch's, its toolbar's commands
// are ViewerCommands'.
//
// Rules:
// - A load runs once at a time: a Play asked for while a load lets pending events run is ignored.
// - Loop, Stretch and Tile keep their pressed state from file to file and type to type for the run.
#pragma once

#include "app/Ports.h"

#include <QFrame>

class App;
class QStackedWidget;
class QToolBar;
class QToolButton;
class TViewPageANI;
class TViewPageAVI_VIDEO;
class TViewPageAVI_WIN;
class TViewPageBMP;
class TViewPageEMF;
class TViewPageGIF;
class TViewPageICO;
class TViewPageJPG;
class TViewPageMID;
class TViewPagePCX;
class TViewPageTIF;
class TViewPageVIDE;
class TViewPageWAV;
class TViewPageWMF;
class QTimer;
class TfrmPreview_AVI_VIDEO;
class TfrmPreview_AVI_WINDOWS;

class ViewerPane : public QFrame, public ViewerPort
{
    Q_OBJECT
public:
    ViewerPane(App &app, QWidget *parent);
    ~ViewerPane() override;

    App &app;

    QToolBar *tbViewer = nullptr;
    QToolButton *btnFirstFile = nullptr, *btnPreviousFile = nullptr, *btnNextFile = nullptr,
                *btnLastFile = nullptr, *btnPlayFile = nullptr, *btnStopPlayingFile = nullptr,
                *btnPreview = nullptr, *btnLoop = nullptr, *btnStretch = nullptr, *btnTile = nullptr;
    QStackedWidget *nbkViewer = nullptr;

    TViewPageVIDE *pageVIDE = nullptr;
    TViewPageANI *pageANI = nullptr;
    TViewPageAVI_WIN *pageAVI_WIN = nullptr;
    TViewPageAVI_VIDEO *pageAVI_VIDEO = nullptr;
    TViewPageBMP *pageBMP = nullptr;
    TViewPageJPG *pageJPG = nullptr;
    TViewPageMID *pageMID = nullptr;
    TViewPageWAV *pageWAV = nullptr;
    TViewPageGIF *pageGIF = nullptr;
    TViewPagePCX *pagePCX = nullptr;
    TViewPageTIF *pageTIF = nullptr;
    TViewPageWMF *pageWMF = nullptr;
    TViewPageEMF *pageEMF = nullptr;
    TViewPageICO *pageICO = nullptr;

    // The AVI preview windows, made at start and kept for the run.
    TfrmPreview_AVI_VIDEO *frmPreview_AVI_VIDEO = nullptr;
    TfrmPreview_AVI_WINDOWS *frmPreview_AVI_WINDOWS = nullptr;
    // Closes what previews left open (the video device's own window) and stops the page's players:
    // the main window is closing.
    void closePreviews();

    // The page with this name ("VIDE", "ANI", "AVI_WIN", "AVI_VIDEO", "BMP" ... "ICO"), or nullptr.
    QWidget *viewerPage(const QString &name) const;
    QString currentViewerPage() const;
    void showViewerPage(const QString &name);

    // Places pnlANI and pnlICO with their centres at a third of the notebook's width and height.
    void CentreFramePanels();

    // ViewerPort.
    bool stopAvailable() const override;
    void stopPlayback() override;
    void showEmptyPage() override;
    void play() override;
    void selectionChanged() override;

    // Whether a load is under way (it may let pending events run).
    bool loading() const { return m_loading; }
    // Runs a load as the one under way; false (and nothing done) when one runs already.
    template <typename F> bool runLoad(F load)
    {
        if (m_loading)
            return false;
        m_loading = true;
        struct Clear
        {
            bool &flag;
            ~Clear() { flag = false; }
        } clear{m_loading};
        load();
        return true;
    }

signals:
    // The viewer pane was resized (the shell re-lays it out, see pnlRightResize).
    void resized();
    void presentationContextMenuRequested(const QPoint &globalPos);
    // A right click on a page's picture: the shell shows popmnuViewFile.
    void viewFileContextMenuRequested(const QPoint &globalPos);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createToolbar();
    void connectCommands();
    void offerPopup(QWidget *control);

    bool m_loading = false;
};
