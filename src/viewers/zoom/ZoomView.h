// The view of a zoomed picture (zvPicture): a ZoomPicture drawn at a zoom on a plain colour,
// scrolled over while larger than the view (scroll bars, the keyboard, or a drag with the left
// button). Ctrl+wheel asks for a step about the point under the cursor.
//
// Rules:
// - setZoom keeps the picture's point under the anchor where it was, as far as the bounds allow:
//   in a direction where the zoomed picture is larger than the view, it covers the view; where it
//   is smaller, it lies wholly inside the view.
// - In fit mode the zoom follows the view's size (the whole picture shown, aspect kept, centred).
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <optional>

#include "viewers/zoom/ZoomPicture.h"

class ZoomView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit ZoomView(QWidget *parent = nullptr);

    void setPicture(ZoomPicture *picture);
    ZoomPicture *picture() const { return m_picture; }
    double zoom() const { return m_zoom; }
    // The zoom at anchor (a point of the viewport; its centre when null), out of fit mode.
    void setZoom(double zoom, std::optional<QPoint> anchor = std::nullopt);
    // Shows the picture anew at zoom, its top-left corner at origin of the viewport (within the
    // bounds), or centred without an origin.
    void start(double zoom, std::optional<QPoint> origin = std::nullopt);
    // Fit mode: enlarge says whether a small picture grows to the view.
    void setFit(bool enlarge);
    bool fitting() const { return m_fit; }
    void setBackground(const QColor &colour);
    // Where the zoomed picture lies in the viewport.
    QRect pictureRect() const;

signals:
    // Ctrl+wheel: a step in (or out) about the point under the cursor.
    void stepAsked(bool in, QPoint anchor);
    void zoomChanged(double zoom);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSize zoomedSize() const;
    void updateRanges();
    // Moves the view's top-left corner to position (zoomed-picture pixels), within the bounds.
    void scrollTo(QPointF position);
    void centre();
    void refit();

    QPointer<ZoomPicture> m_picture;
    double m_zoom = 1;
    QPointF m_position; // the view's top-left corner in zoomed-picture pixels
    bool m_syncing = false;
    bool m_fit = false;
    bool m_fitEnlarges = true;
    std::optional<QPoint> m_dragFrom;
};
