#include "platform/media/WaveDriver.h"

#include <algorithm>

namespace platform::media {

namespace {

constexpr int kBufferMs = 250;

struct StreamSink : FfmpegInput::Sink
{
    AudioStream &stream;
    explicit StreamSink(AudioStream &s) : stream(s) {}
    bool audio(const float *frames, int count) override { return stream.write(frames, count); }
    bool video(const QImage &, int64_t) override { return !stream.cancelled(); }
};

} // namespace

WaveDriver::~WaveDriver()
{
    halt();
}

MciResult WaveDriver::open(const QString &path, QWidget *)
{
    MciResult r = m_input.open(path, "wav", true, false);
    if (!r.ok())
        return r;
    QString why;
    m_output = AudioOutput::acquire(&why);
    if (!m_output) {
        m_input.close();
        return mciError(MCIERR_HARDWARE, why);
    }
    const AudioOutput::Format f = m_output->format();
    m_input.setAudioTarget(f.rate, f.channels);
    m_lengthMs = m_input.durationMs();
    return {};
}

int64_t WaveDriver::positionMs() const
{
    if (m_atEnd)
        return m_lengthMs;
    int64_t pos = m_startMs;
    if (m_stream)
        pos += m_stream->framesPlayed() * 1000 / m_output->format().rate;
    return std::min(pos, m_lengthMs);
}

MciResult WaveDriver::start(std::function<void()> ended)
{
    halt();
    if (!m_output)
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    m_input.seekMs(m_startMs);
    m_atEnd = false;
    const AudioOutput::Format f = m_output->format();
    m_stream = std::make_shared<AudioStream>(f.channels, f.rate * kBufferMs / 1000);
    m_stream->setDrainedHandler(std::move(ended));
    m_output->attach(m_stream);
    m_worker = std::thread([this] { run(); });
    return {};
}

void WaveDriver::run()
{
    StreamSink sink(*m_stream);
    FfmpegInput::Step step;
    do {
        step = m_input.step(sink);
    } while (step == FfmpegInput::Step::More);
    if (step == FfmpegInput::Step::End)
        m_stream->finish();
}

void WaveDriver::halt()
{
    if (!m_stream)
        return;
    const int64_t pos = positionMs();
    m_stream->cancel();
    m_output->detach(m_stream);
    if (m_worker.joinable())
        m_worker.join();
    m_stream.reset();
    m_startMs = pos;
}

void WaveDriver::seek(int64_t ms)
{
    halt();
    m_atEnd = false;
    m_startMs = std::clamp<int64_t>(ms, 0, m_lengthMs);
}

void WaveDriver::markEnded()
{
    // The output took every frame: the play is over and the position is the end.
    if (m_stream) {
        m_output->detach(m_stream);
        if (m_worker.joinable())
            m_worker.join();
        m_stream.reset();
    }
    m_atEnd = true;
    m_startMs = m_lengthMs;
}

} // namespace platform::media
