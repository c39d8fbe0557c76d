#include "components/media/TAVIControl.h"

#include <QPainter>
#include <cmath>

TAVIControl::TAVIControl(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AVIControl"));
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TAVIControl::tick);
}

TAVIControl::~TAVIControl()
{
    m_timer.stop();
    m_clip.close();
}

bool TAVIControl::Open(const QString &fileName)
{
    setAVIState(avClosed);
    m_fileName = fileName;
    if (!m_clip.open(fileName))
        return false;
    const QSize size = m_clip.info().size;
    resize(size);
    updateGeometry();
    const double rate = m_clip.info().frameRate;
    m_timer.setInterval(std::max(1, static_cast<int>(std::lround(1000.0 / rate))));
    setState(avOpen);
    return true;
}

void TAVIControl::setState(TAVIState state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit StateChanged(state);
}

void TAVIControl::setAVIState(TAVIState state)
{
    switch (state) {
    case avClosed:
        m_timer.stop();
        m_clip.close();
        m_playing = false;
        m_current = -1;
        m_picture = QImage();
        update();
        setState(avClosed);
        break;
    case avOpen:
        if (m_state == avClosed) {
            if (!m_fileName.isEmpty())
                Open(m_fileName);
        } else {
            m_timer.stop();
            m_clip.stop();
            m_playing = false;
            setState(avOpen);
        }
        break;
    case avPlay:
        if (m_state == avClosed && (m_fileName.isEmpty() || !Open(m_fileName)))
            return;
        startPlay();
        break;
    }
}

void TAVIControl::startPlay()
{
    m_clip.start(0, -1, m_autoRepeat);
    m_playing = true;
    setState(avPlay);
    m_timer.start();
}

void TAVIControl::setAutoRepeat(bool autoRepeat)
{
    if (autoRepeat == m_autoRepeat)
        return;
    m_autoRepeat = autoRepeat;
    if (m_state == avPlay)
        startPlay();
}

void TAVIControl::Seek(int frame)
{
    if (m_state == avClosed)
        return;
    const int last = std::max(0, FrameCount() - 1);
    m_timer.stop();
    m_playing = false;
    m_clip.start(std::clamp(frame, 0, last), 1, false);
    setState(avOpen);
    m_timer.start();
}

void TAVIControl::tick()
{
    platform::media::AnimationClip::Picture picture;
    if (m_clip.take(picture)) {
        m_current = picture.index;
        m_picture = picture.image;
        update();
        emit FrameShown(m_current);
        return;
    }
    if (!m_clip.finished())
        return; // the worker is late: show this frame at the next tick
    m_timer.stop();
    if (m_playing) {
        m_playing = false;
        setState(avOpen);
    }
}

QSize TAVIControl::sizeHint() const
{
    const QSize size = m_clip.info().size;
    return size.isValid() ? size : QWidget::sizeHint();
}

void TAVIControl::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}
