#include "platform/media/WaveDriver.h"

namespace platform::media {

namespace {

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
    MciResult r = m_input.open(path, mciDemuxerFor(path), true, false);
    if (!r.ok())
        return r;
    auto output = AudioOutput::acquire();
    if (!output) {
        m_input.close();
        return mciError(MCIERR_HARDWARE, output.error().message);
    }
    m_output = *output;
    const AudioOutput::Format f = m_output->format();
    m_input.setAudioTarget(f.rate, f.channels);
    m_lengthMs = m_input.durationMs();
    return {};
}

MciResult WaveDriver::prepare(int64_t startMs)
{
    if (!m_output)
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    m_input.seekMs(startMs);
    return {};
}

void WaveDriver::render(AudioStream &stream, int64_t)
{
    StreamSink sink(stream);
    FfmpegInput::Step step;
    do {
        step = m_input.step(sink);
    } while (step == FfmpegInput::Step::More);
    if (step == FfmpegInput::Step::End)
        stream.finish();
}

} // namespace platform::media
