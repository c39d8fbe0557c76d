#include "viewers/pages/VideoPlay.h"

#include "components/media/TMediaPlayer.h"
#include "viewers/ViewerPane.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTimer>

VideoPlay::VideoPlay(ViewerPane &pane, TMediaPlayer *player, QListWidget *surface, QTimer *repeat)
    : QObject(player), m_pane(pane), m_player(player), m_surface(surface), m_repeat(repeat)
{
    connect(m_player, &TMediaPlayer::OnNotify, this, &VideoPlay::notified);
    connect(m_repeat, &QTimer::timeout, this, &VideoPlay::repeatTick);
}

platform::Status VideoPlay::start(const QString &native, int &lengthMs)
{
    m_repeat->stop();
    m_player->setFileName(native);
    platform::Status status = m_player->Open();
    if (status.ok()) {
        m_player->setNotify(true);
        m_player->setTimeFormat(tfMilliseconds);
        lengthMs = m_player->Length();
        status = m_player->Play();
    }
    if (!status.ok()) {
        m_player->Close();
        clearSurface();
        return status;
    }
    ++m_playsStarted;
    return status;
}

void VideoPlay::close()
{
    m_repeat->stop();
    if (m_player->DeviceID() != 0)
        m_player->Close();
    m_surface->viewport()->update();
}

void VideoPlay::clearSurface()
{
    m_surface->clear();
    m_surface->viewport()->update();
}

void VideoPlay::notified()
{
    if (++m_notices != m_playsStarted || m_player->NotifyValue() != nvSuccessful)
        return;
    emit ended();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_repeat->start();
}

void VideoPlay::repeatTick()
{
    m_repeat->stop();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!m_pane.loopPressed() || m_player->DeviceID() == 0)
        return;
    m_player->setNotify(true);
    if (m_player->Play().ok())
        ++m_playsStarted;
}
