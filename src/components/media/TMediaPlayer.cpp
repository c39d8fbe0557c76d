#include "components/media/TMediaPlayer.h"

#include <algorithm>
#include <limits>

namespace {

platform::Status status(const platform::MciResult &r)
{
    if (r.ok())
        return platform::Status::success();
    return platform::makeError(platform::Error::Kind::Device, r.message, r.code);
}

} // namespace

TMediaPlayer::TMediaPlayer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MediaPlayer"));
    QWidget::setVisible(false);
    connect(&m_device, &platform::MciDevice::notify, this, [this](platform::MciNotify kind) {
        switch (kind) {
        case platform::MciNotify::Successful:
            m_notifyValue = nvSuccessful;
            break;
        case platform::MciNotify::Superseded:
            m_notifyValue = nvSuperseded;
            break;
        case platform::MciNotify::Aborted:
            m_notifyValue = nvAborted;
            break;
        case platform::MciNotify::Failure:
            m_notifyValue = nvFailure;
            break;
        }
        emit OnNotify(this);
    });
}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::setVisible(bool)
{
    // The control has no face: the pages show their own labels and progress bars.
    QWidget::setVisible(false);
}

platform::Status TMediaPlayer::Open()
{
    if (m_device.isOpen())
        m_device.close();
    return status(m_device.open(m_fileName, m_display));
}

void TMediaPlayer::Close()
{
    m_device.close();
    m_notify = false;
}

platform::Status TMediaPlayer::Play()
{
    const bool notify = m_notify;
    m_notify = false;
    return status(m_device.play(notify));
}

platform::Status TMediaPlayer::Stop()
{
    m_notify = false;
    return status(m_device.stop());
}

platform::Status TMediaPlayer::Seek(int position)
{
    m_notify = false;
    return status(m_device.seek(position));
}

int TMediaPlayer::Length() const
{
    return static_cast<int>(std::min<int64_t>(m_device.lengthMs(), std::numeric_limits<int>::max()));
}

int TMediaPlayer::Position() const
{
    return static_cast<int>(std::min<int64_t>(m_device.positionMs(), std::numeric_limits<int>::max()));
}
