#include "viewers/zoom/ZoomView.h"

#include "viewers/zoom/ZoomPicture.h"
#include "viewers/zoom/ZoomSteps.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

ZoomView::ZoomView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName("zvPicture");
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::OpenHandCursor);
}

void ZoomView::setPicture(ZoomPicture *picture)
{
    if (m_picture)
        disconnect(m_picture, nullptr, this, nullptr);
    m_picture = picture;
    if (picture)
        connect(picture, &ZoomPicture::changed, viewport(), qOverload<>(&QWidget::update));
    if (m_fit)
        refit();
    updateRanges();
    scrollTo(m_position);
}

void ZoomView::setBackground(const QColor &colour)
{
    QPalette p = viewport()->palette();
    // A scroll area's viewport paints its Base colour.
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    viewport()->setPalette(p);
    viewport()->update();
}

QSize ZoomView::zoomedSize() const
{
    if (!m_picture)
        return {};
    const QSize s = m_picture->size();
    return {std::max(1, int(std::lround(s.width() * m_zoom))),
            std::max(1, int(std::lround(s.height() * m_zoom)))};
}

void ZoomView::updateRanges()
{
    const QSize z = zoomedSize(), v = viewport()->size();
    m_syncing = true;
    horizontalScrollBar()->setRange(0, std::max(0, z.width() - v.width()));
    verticalScrollBar()->setRange(0, std::max(0, z.height() - v.height()));
    horizontalScrollBar()->setPageStep(v.width());
    verticalScrollBar()->setPageStep(v.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    m_syncing = false;
}

void ZoomView::scrollTo(QPointF position)
{
    const QSize z = zoomedSize(), v = viewport()->size();
    // Larger than the view: it covers the view; smaller: it stays inside it.
    const auto bound = [](double at, int zoomed, int view) {
        return zoomed > view ? std::clamp(at, 0.0, double(zoomed - view))
                             : std::clamp(at, double(zoomed - view), 0.0);
    };
    m_position =
        QPointF(bound(position.x(), z.width(), v.width()), bound(position.y(), z.height(), v.height()));
    m_syncing = true;
    horizontalScrollBar()->setValue(std::max(0, int(std::lround(m_position.x()))));
    verticalScrollBar()->setValue(std::max(0, int(std::lround(m_position.y()))));
    m_syncing = false;
    viewport()->update();
}

void ZoomView::centre()
{
    const QSize z = zoomedSize(), v = viewport()->size();
    scrollTo(QPointF((z.width() - v.width()) / 2.0, (z.height() - v.height()) / 2.0));
}

QRect ZoomView::pictureRect() const
{
    return QRect(QPoint(-int(std::lround(m_position.x())), -int(std::lround(m_position.y()))), zoomedSize());
}

void ZoomView::setZoom(double zoom, std::optional<QPoint> anchor)
{
    m_fit = false;
    zoom = zoom::clamped(zoom);
    const QPointF at =
        anchor ? QPointF(*anchor) : QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0);
    const QPointF scroll = zoom::scrollKeeping(m_position, at, m_zoom, zoom);
    m_zoom = zoom;
    updateRanges();
    scrollTo(scroll);
    viewport()->update();
    emit zoomChanged(m_zoom);
}

void ZoomView::start(double zoom, std::optional<QPoint> origin)
{
    m_fit = false;
    m_zoom = zoom::clamped(zoom);
    updateRanges();
    if (origin)
        scrollTo(QPointF(-*origin));
    else
        centre();
    emit zoomChanged(m_zoom);
}

void ZoomView::setFit(bool enlarge)
{
    m_fit = true;
    m_fitEnlarges = enlarge;
    refit();
}

void ZoomView::refit()
{
    if (!m_picture)
        return;
    m_zoom = zoom::fitting(m_picture->size(), viewport()->size(), m_fitEnlarges);
    updateRanges();
    centre();
    emit zoomChanged(m_zoom);
}

void ZoomView::paintEvent(QPaintEvent *)
{
    if (!m_picture)
        return;
    QPainter p(viewport());
    const QRect picture = pictureRect();
    const QRect shown = picture & viewport()->rect();
    if (shown.isEmpty())
        return;
    p.translate(shown.topLeft());
    m_picture->draw(p, shown.translated(-picture.topLeft()), m_zoom);
}

void ZoomView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateRanges();
    if (m_fit)
        refit();
    else
        scrollTo(m_position);
}

void ZoomView::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    // A scroll bar moved by the user: the directions it scrolls follow it.
    const QSize z = zoomedSize(), v = viewport()->size();
    QPointF to = m_position;
    if (z.width() > v.width())
        to.setX(horizontalScrollBar()->value());
    if (z.height() > v.height())
        to.setY(verticalScrollBar()->value());
    scrollTo(to);
}

void ZoomView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->angleDelta().y() != 0)
            emit stepAsked(event->angleDelta().y() > 0, event->position().toPoint());
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void ZoomView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_dragFrom = event->position().toPoint();
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void ZoomView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragFrom || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint now = event->position().toPoint(), moved = now - *m_dragFrom;
    m_dragFrom = now;
    // Only a picture larger than the view pans; a smaller one stays where it is.
    const QSize z = zoomedSize(), v = viewport()->size();
    scrollTo(m_position -
             QPointF(z.width() > v.width() ? moved.x() : 0, z.height() > v.height() ? moved.y() : 0));
    event->accept();
}

void ZoomView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_dragFrom) {
        m_dragFrom.reset();
        viewport()->setCursor(Qt::OpenHandCursor);
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void ZoomView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
        event->accept();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}
