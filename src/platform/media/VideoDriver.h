// Video (AVI, MP4 and QuickTime, Matroska and WebM): FFmpeg demuxes and decodes picture and sound
// on a worker thread; the sound goes to the shared audio output and is the master clock, pictures
// wait in a short queue and are drawn when the clock reaches them (late ones are skipped), at their
// natural size, into the display widget's surface or a window of the device's own.
//
// Rules: the worker blocks on a full queue, except while the sound runs dry (a badly interleaved
// file), when the picture queue may grow to a byte limit and then drops its oldest picture, so
// the clock never waits for itself. Without sound, or once the sound has ended, a steady clock
// carries on from the sound's last time. The play ends when the decoder is done, every picture
// has been drawn and the sound has drained.
#pragma once

#include "platform/media/AudioOutput.h"
#include "platform/media/FfmpegInput.h"
#include "platform/media/MciDriver.h"
#include "platform/media/VideoSurface.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace platform::media {

class VideoDriver : public MciDriver
{
public:
    VideoDriver();
    ~VideoDriver() override;
    MciResult open(const QString &path, QWidget *display) override;
    int64_t lengthMs() const override { return m_lengthMs; }
    int64_t positionMs() const override;
    MciResult start(std::function<void()> ended) override;
    void halt() override;
    void seek(int64_t ms) override;
    void markEnded() override;
    void setStopRequest(std::function<void()> request) override { m_stopRequest = std::move(request); }
    void setFrameObserver(std::function<void(const QImage &, int64_t)> observer) override
    {
        m_observer = std::move(observer);
    }

    // Called by the worker; false when the play is being stopped.
    bool pushFrame(const QImage &picture, int64_t ptsMs);

private:
    struct Frame
    {
        QImage picture;
        int64_t ptsMs;
    };
    void run();
    void tick();
    int64_t clockMs() const;
    void ensureSurface();

    FfmpegInput m_input;
    QString m_title;
    QSize m_size;
    QPointer<QWidget> m_display;
    QPointer<VideoSurface> m_surface;
    std::shared_ptr<AudioOutput> m_output;
    std::shared_ptr<AudioStream> m_stream;
    std::thread m_worker;
    QTimer m_timer;
    std::function<void()> m_ended;
    std::function<void()> m_stopRequest;
    std::function<void(const QImage &, int64_t)> m_observer;

    std::mutex m_mutex;
    std::condition_variable m_space;
    std::deque<Frame> m_frames;
    size_t m_frameBytes = 0;
    bool m_cancel = false;
    std::atomic<bool> m_decodeDone{false};
    std::atomic<bool> m_audioDrained{false};

    int64_t m_lengthMs = 0;
    int64_t m_startMs = 0;
    // The steady clock that carries on where the sound's clock stopped.
    mutable int64_t m_wallBaseMs = 0;
    mutable QElapsedTimer m_wall;
    bool m_playing = false;
    bool m_atEnd = false;
};

} // namespace platform::media
