#include "platform/media/VideoDriver.h"

#include <QFileInfo>
#include <algorithm>

namespace platform::media {

namespace {

constexpr int kAudioBufferMs = 1000;
constexpr size_t kSoftFrames = 8;
constexpr size_t kHardBytes = 64u << 20;
constexpr int kStarvingMs = 100;
constexpr int kTickMs = 10;

struct VideoSink : FfmpegInput::Sink
{
    VideoDriver &driver;
    AudioStream *stream;
    VideoSink(VideoDriver &d, AudioStream *s) : driver(d), stream(s) {}
    bool audio(const float *frames, int count) override { return !stream || stream->write(frames, count); }
    bool video(const QImage &picture, int64_t ptsMs) override { return driver.pushFrame(picture, ptsMs); }
};

} // namespace

VideoDriver::VideoDriver()
{
    m_timer.setInterval(kTickMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
}

VideoDriver::~VideoDriver()
{
    halt();
    if (m_surface) {
        m_surface->hide();
        m_surface->setOnClosed({});
        m_surface->deleteLater();
    }
}

MciResult VideoDriver::open(const QString &path, QWidget *display)
{
    MciResult r = m_input.open(path, mciDemuxerFor(path), true, true);
    if (!r.ok())
        return r;
    if (m_input.hasAudio()) {
        auto output = AudioOutput::acquire();
        if (!output) {
            m_input.close();
            return mciError(MCIERR_HARDWARE, output.error().message);
        }
        m_output = *output;
        m_input.setAudioTarget(m_output->format().rate, m_output->format().channels);
    }
    m_lengthMs = m_input.durationMs();
    m_size = m_input.videoSize();
    m_title = QFileInfo(path).fileName();
    m_display = display;
    return {};
}

void VideoDriver::ensureSurface()
{
    if (m_surface || !m_input.hasVideo())
        return;
    QWidget *parent = m_display ? drawingTarget(m_display) : nullptr;
    m_surface = new VideoSurface(parent, m_size, m_title);
    m_surface->setOnClosed([this] {
        if (m_stopRequest && m_playing)
            m_stopRequest();
    });
    m_surface->show();
}

int64_t VideoDriver::clockMs() const
{
    if (m_stream && !m_audioDrained.load()) {
        const int64_t t = m_startMs + m_stream->framesPlayed() * 1000 / m_output->format().rate;
        m_wallBaseMs = t;
        m_wall.restart();
        return t;
    }
    return m_wallBaseMs + m_wall.elapsed();
}

int64_t VideoDriver::positionMs() const
{
    if (m_atEnd)
        return m_lengthMs;
    if (!m_playing)
        return m_startMs;
    return std::clamp<int64_t>(clockMs(), 0, m_lengthMs);
}

MciResult VideoDriver::start(std::function<void()> ended)
{
    halt();
    if (!m_input.hasAudio() && !m_input.hasVideo())
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    m_input.seekMs(m_startMs);
    m_atEnd = false;
    m_ended = std::move(ended);
    m_cancel = false;
    m_decodeDone = false;
    m_audioDrained = false;
    m_frames.clear();
    m_frameBytes = 0;
    if (m_input.hasAudio()) {
        const AudioOutput::Format f = m_output->format();
        m_stream = std::make_shared<AudioStream>(f.channels, f.rate * kAudioBufferMs / 1000);
        m_stream->setDrainedHandler([this] { m_audioDrained = true; });
        m_output->attach(m_stream);
    }
    m_wallBaseMs = m_startMs;
    m_wall.start();
    ensureSurface();
    m_playing = true;
    m_worker = std::thread([this] { run(); });
    m_timer.start();
    return {};
}

void VideoDriver::run()
{
    VideoSink sink(*this, m_stream.get());
    FfmpegInput::Step step;
    do {
        step = m_input.step(sink);
    } while (step == FfmpegInput::Step::More);
    if (step == FfmpegInput::Step::End && m_stream)
        m_stream->finish();
    m_decodeDone = true;
}

bool VideoDriver::pushFrame(const QImage &picture, int64_t ptsMs)
{
    const size_t bytes = size_t(picture.sizeInBytes());
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_cancel)
            return false;
        if (m_frames.size() < kSoftFrames)
            break;
        const bool starving =
            m_stream && m_stream->bufferedFrames() < m_output->format().rate * kStarvingMs / 1000;
        if (starving) {
            // The sound needs data that lies behind these pictures in the file: hold more of them
            // rather than wait for a clock that waits for us.
            while (!m_frames.empty() && m_frameBytes + bytes > kHardBytes) {
                m_frameBytes -= size_t(m_frames.front().picture.sizeInBytes());
                m_frames.pop_front();
            }
            break;
        }
        m_space.wait_for(lock, std::chrono::milliseconds(20));
    }
    m_frames.push_back(Frame{picture, ptsMs});
    m_frameBytes += bytes;
    return true;
}

void VideoDriver::tick()
{
    if (!m_playing)
        return;
    const int64_t now = clockMs();
    Frame due{};
    bool have = false;
    bool empty;
    {
        std::lock_guard lock(m_mutex);
        while (!m_frames.empty() && m_frames.front().ptsMs <= now) {
            due = std::move(m_frames.front());
            m_frameBytes -= size_t(due.picture.sizeInBytes());
            m_frames.pop_front();
            have = true;
        }
        empty = m_frames.empty();
    }
    if (have) {
        m_space.notify_all();
        if (m_surface)
            m_surface->setFrame(due.picture);
        if (m_observer)
            m_observer(due.picture, due.ptsMs);
    }
    if (empty && m_decodeDone.load() && (!m_stream || m_audioDrained.load())) {
        m_timer.stop();
        if (m_ended)
            m_ended();
        m_ended = {};
    }
}

void VideoDriver::halt()
{
    if (!m_playing && !m_worker.joinable())
        return;
    const int64_t pos = positionMs();
    m_timer.stop();
    {
        std::lock_guard lock(m_mutex);
        m_cancel = true;
    }
    m_space.notify_all();
    if (m_stream) {
        m_stream->cancel();
        m_output->detach(m_stream);
    }
    if (m_worker.joinable())
        m_worker.join();
    m_stream.reset();
    m_frames.clear();
    m_frameBytes = 0;
    m_ended = {};
    m_playing = false;
    m_startMs = pos;
}

void VideoDriver::seek(int64_t ms)
{
    halt();
    m_atEnd = false;
    m_startMs = std::clamp<int64_t>(ms, 0, m_lengthMs);
}

void VideoDriver::markEnded()
{
    halt();
    m_atEnd = true;
    m_startMs = m_lengthMs;
}

} // namespace platform::media
