#include "components/TAnimatedImage.h"

#include <QPainter>

TAnimatedImage::TAnimatedImage(QWidget *parent) : QWidget(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (advanceFrame())
            schedule();
    });
}

platform::Status TAnimatedImage::loadFromFile(const QString &path)
{
    m_timer.stop();
    platform::ErrorOr<pictures::Animation> picture = pictures::decodeAnimationFile(path, m_format);
    if (!picture) {
        clear();
        return picture.error();
    }
    m_picture = std::move(*picture);
    m_index = 0;
    m_playsDone = 0;
    updateGeometry();
    update();
    emit frameChanged(0);
    if (m_animate)
        schedule();
    return platform::Status::success();
}

void TAnimatedImage::clear()
{
    m_timer.stop();
    m_picture = pictures::Animation();
    m_index = 0;
    updateGeometry();
    update();
}

void TAnimatedImage::setAnimate(bool on)
{
    m_animate = on;
    if (on)
        schedule();
    else
        m_timer.stop(); // the current frame stays
}

void TAnimatedImage::setStretch(bool on)
{
    m_stretch = on;
    update();
}

void TAnimatedImage::setTile(bool on)
{
    m_tile = on;
    update();
}

int TAnimatedImage::currentDelayMs() const
{
    return isEmpty() ? 0 : pictures::animationDelayMs(m_picture.delaysMs.value(m_index));
}

bool TAnimatedImage::playsLeft() const
{
    // Called on the last frame: whether another play follows the one ending.
    return m_picture.plays == 0 || m_playsDone + 1 < m_picture.plays;
}

bool TAnimatedImage::advanceFrame()
{
    if (frameCount() <= 1)
        return false;
    if (m_index == frameCount() - 1) {
        if (!playsLeft())
            return false;
        ++m_playsDone;
        m_index = 0;
    } else {
        ++m_index;
    }
    update();
    emit frameChanged(m_index);
    return true;
}

void TAnimatedImage::schedule()
{
    if (!m_animate || frameCount() <= 1)
        return;
    if (m_index == frameCount() - 1 && !playsLeft())
        return; // finished: the last frame stays
    m_timer.start(currentDelayMs());
}

QSize TAnimatedImage::sizeHint() const
{
    return m_picture.size;
}

void TAnimatedImage::paintEvent(QPaintEvent *)
{
    if (isEmpty())
        return;
    const QImage &frame = m_picture.frames[m_index];
    QPainter p(this);
    if (m_stretch) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), frame);
    } else if (m_tile) {
        for (int y = 0; y < height(); y += frame.height())
            for (int x = 0; x < width(); x += frame.width())
                p.drawImage(x, y, frame);
    } else {
        p.drawImage(0, 0, frame);
    }
}
