#include "platform/media/StreamedDriver.h"

#include <algorithm>

namespace platform::media {

namespace {

constexpr int kBufferMs = 250;

} // namespace

int64_t StreamedDriver::positionMs() const
{
    if (m_atEnd)
        return lengthMs();
    int64_t pos = m_startMs;
    if (m_stream)
        pos += m_stream->framesPlayed() * 1000 / m_output->format().rate;
    return std::min(pos, lengthMs());
}

MciResult StreamedDriver::start(std::function<void()> ended)
{
    halt();
    MciResult r = prepare(m_startMs);
    if (!r.ok())
        return r;
    m_atEnd = false;
    const AudioOutput::Format f = m_output->format();
    m_stream = std::make_shared<AudioStream>(f.channels, f.rate * kBufferMs / 1000);
    m_stream->setDrainedHandler(std::move(ended));
    m_output->attach(m_stream);
    AudioStream *stream = m_stream.get();
    m_worker = std::thread([this, stream, startMs = m_startMs] { render(*stream, startMs); });
    return {};
}

void StreamedDriver::halt()
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

void StreamedDriver::seek(int64_t ms)
{
    halt();
    m_atEnd = false;
    m_startMs = std::clamp<int64_t>(ms, 0, lengthMs());
}

void StreamedDriver::markEnded()
{
    // The output took every frame: the play is over and the position is the end.
    if (m_stream) {
        m_output->detach(m_stream);
        if (m_worker.joinable())
            m_worker.join();
        m_stream.reset();
    }
    m_atEnd = true;
    m_startMs = lengthMs();
}

void StreamedDriver::rewind()
{
    m_startMs = 0;
    m_atEnd = false;
}

} // namespace platform::media
