// A media-control device: the wave audio, sequencer or video device chosen from a file's
// extension (mciDeviceTypeFor), with the commands a media player sends it.
//
// Rules:
// - open() fails with a code and the system's message (missing, unreadable or unsupported file, no
//   audio output); an open device has a non-zero identifier, unique in the process.
// - play() rewinds first when the position is at the end. With notify set, exactly one
//   notification follows that play, as an event on the interface thread: Successful when it
//   reaches its end, Aborted when stop(), seek() or close() interrupts it, Superseded when a new
//   play replaces it. Notifications of a play that was replaced are never mixed up with the next.
// - Times are in milliseconds; the position follows the sound actually handed to the output.
// - All commands are called on the interface thread and never wait for decoding.
#pragma once

#include "platform/media/MciTypes.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace platform {

namespace media {
class MciDriver;
}

class MciDevice : public QObject
{
    Q_OBJECT
public:
    explicit MciDevice(QObject *parent = nullptr);
    ~MciDevice() override;

    // display: where a video device draws (nullptr: a window of its own); ignored for sound.
    MciResult open(const QString &path, QWidget *display = nullptr);
    void close();
    MciResult play(bool notify);
    MciResult stop();
    MciResult seek(int64_t ms);

    int64_t lengthMs() const;
    int64_t positionMs() const;
    uint32_t deviceId() const { return m_id; }
    bool isOpen() const { return m_id != 0; }
    bool isPlaying() const { return m_playing; }
    MciDeviceType type() const { return m_type; }

signals:
    void notify(platform::MciNotify kind);
    // A video picture was drawn (pts in milliseconds).
    void framePresented(const QImage &picture, qint64 ptsMs);

private:
    void post(MciNotify kind);
    void finishPendingNotify(MciNotify kind);
    void onEnded(uint64_t generation);

    std::unique_ptr<media::MciDriver> m_driver;
    MciDeviceType m_type = MciDeviceType::None;
    uint32_t m_id = 0;
    uint64_t m_generation = 0; // of the current play; stale end events compare unequal
    bool m_playing = false;
    bool m_notifyPending = false;
};

} // namespace platform
