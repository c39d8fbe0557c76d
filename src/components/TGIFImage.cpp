#include "components/TGIFImage.h"

#include "components/decoders/ImageLimits.h"

#include <QPainter>

TGIFImage::TGIFImage(QWidget *parent) : QWidget(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (advanceFrame())
            schedule();
    });
}

platform::Status TGIFImage::loadFromFile(const QString &path)
{
    m_timer.stop();
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return data.status();
    platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(*data);
    if (!facts)
        return facts.error();
    m_facts = std::move(*facts);
    m_composer = pictures::GifComposer(*data, m_facts);
    m_composer.advance();
    m_playsDone = 0;
    updateGeometry();
    update();
    emit frameChanged(0);
    if (m_animate)
        schedule();
    return platform::Status::success();
}

void TGIFImage::clear()
{
    m_timer.stop();
    m_facts = pictures::GifFacts();
    m_composer = pictures::GifComposer();
    update();
}

void TGIFImage::setAnimate(bool on)
{
    m_animate = on;
    if (on)
        schedule();
    else
        m_timer.stop(); // the current frame stays
}

void TGIFImage::setTile(bool on)
{
    m_tile = on;
    update();
}

void TGIFImage::setCenter(bool on)
{
    m_center = on;
    update();
}

void TGIFImage::setSpeed(int percent)
{
    m_speed = qBound(1, percent, 10000);
}

int TGIFImage::currentDelayMs() const
{
    const int index = m_composer.index();
    if (index < 0 || index >= frameCount())
        return 0;
    return int(qint64(pictures::gifFrameDelayMs(m_facts.frames[index].delayCs)) * 100 / m_speed);
}

bool TGIFImage::advanceFrame()
{
    if (frameCount() <= 1)
        return false;
    if (m_composer.index() == frameCount() - 1) {
        // End of one play: go round again only while the loop count allows.
        ++m_playsDone;
        const int loops = m_facts.loopCount;
        const bool again = m_loop && (loops == 0 || (loops > 0 && m_playsDone <= loops));
        if (!again)
            return false;
    }
    m_composer.advance();
    update();
    emit frameChanged(m_composer.index());
    return true;
}

void TGIFImage::schedule()
{
    if (!m_animate || frameCount() <= 1)
        return;
    if (m_composer.index() == frameCount() - 1) {
        const int loops = m_facts.loopCount;
        if (!(m_loop && (loops == 0 || (loops > 0 && m_playsDone < loops))))
            return; // finished: the last frame stays
    }
    m_timer.start(currentDelayMs());
}

QSize TGIFImage::sizeHint() const
{
    return QSize(imageWidth(), imageHeight());
}

void TGIFImage::paintEvent(QPaintEvent *)
{
    const QImage &frame = m_composer.canvas();
    if (isEmpty() || frame.isNull())
        return;
    QPainter p(this);
    if (m_tile) {
        for (int y = 0; y < height(); y += frame.height())
            for (int x = 0; x < width(); x += frame.width())
                p.drawImage(x, y, frame);
    } else if (m_center) {
        p.drawImage((width() - frame.width()) / 2, (height() - frame.height()) / 2, frame);
    } else {
        p.drawImage(0, 0, frame);
    }
}
