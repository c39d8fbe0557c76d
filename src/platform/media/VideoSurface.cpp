#include "platform/media/VideoSurface.h"

#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QPainter>

namespace platform::media {

QWidget *drawingTarget(QWidget *display)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(display))
        return area->viewport();
    return display;
}

VideoSurface::VideoSurface(QWidget *parent, QSize natural, const QString &title) : QWidget(parent)
{
    setObjectName(QStringLiteral("videoSurface"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!parent) {
        setWindowTitle(title);
        setAttribute(Qt::WA_QuitOnClose, false);
    }
    setFixedSize(natural);
    move(0, 0);
}

void VideoSurface::setFrame(const QImage &frame)
{
    m_frame = frame;
    ++m_shown;
    update();
}

void VideoSurface::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_frame.isNull())
        p.fillRect(rect(), Qt::black);
    else
        p.drawImage(0, 0, m_frame);
}

void VideoSurface::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_onClosed)
        m_onClosed();
}

} // namespace platform::media
