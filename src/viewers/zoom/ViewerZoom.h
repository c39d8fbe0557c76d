// The zoom of the picture on view: the commands Zoom in, Zoom out, Actual size and Fit to window,
// Ctrl+wheel over a picture, and the view zvPicture that shows the zoomed picture over the
// notebook's page. At actual size the page shows its picture itself, as it always did; any other
// zoom (or a fit) puts zvPicture over the page, and Actual size takes it away again.
//
// Rules:
// - The zoom is offered on the picture pages (a page that gives a ZoomPicture) while neither
//   Stretch nor Tile is down, and in full screen; availabilityChanged says when that changes.
// - A new file starts at actual size unless Keep_Zoom is set; then it takes the zoom (or the fit)
//   of the last one.
// - Status bar panel 4 reads "Zoom 200 %" while a picture is offered the zoom, and nothing else.
// - In full screen the picture is always on zvPicture, on black, fitted without being enlarged
//   until the user zooms; leaving full screen puts back the zoom the window had.
#pragma once

#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>

class ViewerPage;
class ViewerPane;
class ZoomPicture;
class ZoomView;

class ViewerZoom : public QObject
{
    Q_OBJECT
public:
    explicit ViewerZoom(ViewerPane &pane);
    ~ViewerZoom() override;

    bool available() const { return m_available; }
    // The zoom shown: 1 at actual size.
    double zoom() const;
    bool zoomed() const;
    ZoomView *view() const { return m_view; }

    void zoomIn();
    void zoomOut();
    void actualSize();
    void fitToWindow();
    // A step about a point of the notebook (Ctrl+wheel).
    void stepAt(bool in, QPoint notebookPoint);

    // The pane's news: a file was loaded on page; the picture of page is ready (a JPEG decoded);
    // the page on view, Stretch or Tile changed.
    void fileLoaded(ViewerPage *page);
    void pictureReady(ViewerPage *page);
    void refresh();
    void setFullScreen(bool on);

    // Watches a page's controls for Ctrl+wheel and double clicks.
    void watch(QWidget *page);

signals:
    void availabilityChanged(bool available);
    // A double click on a picture or a video.
    void fullScreenAsked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ViewerPage *pageOnView() const;
    // The picture of the page on view, made when first needed after a load.
    ZoomPicture *picture();
    void showView(bool on);
    void step(bool in, std::optional<QPoint> anchor);
    void showStatus();

    ViewerPane &m_pane;
    ZoomView *m_view = nullptr;
    std::unique_ptr<ZoomPicture> m_picture;
    ViewerPage *m_picturePage = nullptr;
    bool m_pictureMade = false;
    bool m_available = false;
    bool m_fullScreen = false;
    // What the window showed before full screen: zoomed or not, the zoom, a fit.
    struct Kept
    {
        bool zoomed = false;
        double zoom = 1;
        bool fit = false;
    } m_windowed, m_last;
};
