// The viewer pane pnlRight: the viewer toolbar tbViewer (navigation, play and stop, preview, and the
// toggles loop, stretch and tile) over the notebook nbkViewer, one page per kind of file, each page
// a class of its own holding its controls (View_*.h). The pane is the viewer port of the other
// subsystems (app/Ports.h): they may ask it to stop what plays or to show the empty page.
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

signals:
    // The viewer pane was resized (the shell re-lays it out, see pnlRightResize).
    void resized();
    void presentationContextMenuRequested(const QPoint &globalPos);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createToolbar();
};
