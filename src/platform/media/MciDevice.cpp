#include "platform/media/MciDevice.h"

#include "platform/media/SequencerDriver.h"
#include "platform/media/VideoDriver.h"
#include "platform/media/WaveDriver.h"

#include <QMetaObject>
#include <atomic>

namespace platform {

namespace {
std::atomic<uint32_t> g_nextId{1};
}

MciDevice::MciDevice(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<platform::MciNotify>("platform::MciNotify");
}

MciDevice::~MciDevice()
{
    // No notification can reach a destroyed device: queued calls to it are dropped by Qt.
    if (m_driver)
        m_driver->halt();
}

MciResult MciDevice::open(const QString &path, QWidget *display)
{
    if (isOpen())
        return mciError(MCIERR_DEVICE_OPEN);
    const MciDeviceType type = mciDeviceTypeFor(path);
    std::unique_ptr<media::MciDriver> driver;
    switch (type) {
    case MciDeviceType::WaveAudio:
        driver = std::make_unique<media::WaveDriver>();
        break;
    case MciDeviceType::Sequencer:
        driver = std::make_unique<media::SequencerDriver>();
        break;
    case MciDeviceType::AviVideo:
        driver = std::make_unique<media::VideoDriver>();
        break;
    case MciDeviceType::None:
        return mciError(MCIERR_EXTENSION_NOT_FOUND, path);
    }
    MciResult r = driver->open(path, display);
    if (!r.ok())
        return r;
    driver->setStopRequest([this] { stop(); });
    driver->setFrameObserver(
        [this](const QImage &picture, int64_t pts) { emit framePresented(picture, pts); });
    m_driver = std::move(driver);
    m_type = type;
    m_id = g_nextId++;
    if (m_id == 0)
        m_id = g_nextId++;
    m_playing = false;
    m_notifyPending = false;
    return {};
}

void MciDevice::close()
{
    if (!isOpen())
        return;
    m_driver->halt();
    m_playing = false;
    ++m_generation;
    finishPendingNotify(MciNotify::Aborted);
    m_driver.reset();
    m_type = MciDeviceType::None;
    m_id = 0;
}

MciResult MciDevice::play(bool notify)
{
    if (!isOpen())
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    finishPendingNotify(MciNotify::Superseded);
    m_driver->halt();
    if (m_driver->positionMs() >= m_driver->lengthMs())
        m_driver->seek(0);
    const uint64_t generation = ++m_generation;
    QPointer<MciDevice> self(this);
    MciResult r = m_driver->start([self, generation] {
        // Any thread: hand the end over to the interface thread as an event.
        QMetaObject::invokeMethod(
            self.data(),
            [self, generation] {
                if (self)
                    self->onEnded(generation);
            },
            Qt::QueuedConnection);
    });
    if (!r.ok()) {
        m_playing = false;
        return r;
    }
    m_playing = true;
    m_notifyPending = notify;
    return {};
}

void MciDevice::onEnded(uint64_t generation)
{
    if (generation != m_generation || !m_playing || !m_driver)
        return;
    m_driver->markEnded();
    m_playing = false;
    finishPendingNotify(MciNotify::Successful);
}

MciResult MciDevice::stop()
{
    if (!isOpen())
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    m_driver->halt();
    m_playing = false;
    ++m_generation;
    finishPendingNotify(MciNotify::Aborted);
    return {};
}

MciResult MciDevice::seek(int64_t ms)
{
    if (!isOpen())
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    m_driver->seek(ms);
    m_playing = false;
    ++m_generation;
    finishPendingNotify(MciNotify::Aborted);
    return {};
}

int64_t MciDevice::lengthMs() const
{
    return m_driver ? m_driver->lengthMs() : 0;
}

int64_t MciDevice::positionMs() const
{
    return m_driver ? m_driver->positionMs() : 0;
}

void MciDevice::finishPendingNotify(MciNotify kind)
{
    if (!m_notifyPending)
        return;
    m_notifyPending = false;
    post(kind);
}

void MciDevice::post(MciNotify kind)
{
    // Always as an event, never from inside the command that caused it.
    QMetaObject::invokeMethod(
        this, [this, kind] { emit notify(kind); }, Qt::QueuedConnection);
}

} // namespace platform
