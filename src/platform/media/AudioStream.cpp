#include "platform/media/AudioStream.h"

#include <algorithm>

namespace platform::media {

AudioStream::AudioStream(int channels, int capacityFrames)
    : m_channels(std::max(1, channels)), m_capacity(std::max(64, capacityFrames)),
      m_ring(static_cast<size_t>(m_channels) * static_cast<size_t>(m_capacity))
{
}

bool AudioStream::write(const float *frames, int count)
{
    while (count > 0) {
        std::unique_lock lock(m_mutex);
        m_space.wait(lock, [this] { return m_cancelled.load() || m_count < m_capacity; });
        if (m_cancelled.load())
            return false;
        int writePos = (m_readPos + m_count) % m_capacity;
        int n = std::min({count, m_capacity - m_count, m_capacity - writePos});
        std::copy(frames, frames + static_cast<size_t>(n) * m_channels,
                  m_ring.begin() + static_cast<ptrdiff_t>(writePos) * m_channels);
        m_count += n;
        frames += static_cast<size_t>(n) * m_channels;
        count -= n;
    }
    return true;
}

void AudioStream::finish()
{
    std::lock_guard lock(m_mutex);
    m_finished = true;
}

void AudioStream::cancel()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_space.notify_all();
}

int AudioStream::bufferedFrames() const
{
    std::lock_guard lock(m_mutex);
    return m_count;
}

int AudioStream::mixInto(float *out, int count)
{
    int added = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled.load())
            return 0;
        while (added < count && m_count > 0) {
            int n = std::min({count - added, m_count, m_capacity - m_readPos});
            const float *src = m_ring.data() + static_cast<size_t>(m_readPos) * m_channels;
            float *dst = out + static_cast<size_t>(added) * m_channels;
            for (size_t i = 0, e = static_cast<size_t>(n) * m_channels; i < e; ++i)
                dst[i] += src[i];
            m_readPos = (m_readPos + n) % m_capacity;
            m_count -= n;
            added += n;
        }
    }
    m_played += added;
    if (added > 0)
        m_space.notify_one();
    return added;
}

bool AudioStream::takeDrained()
{
    std::lock_guard lock(m_mutex);
    if (!m_finished || m_count > 0 || m_drainReported || m_cancelled.load())
        return false;
    m_drainReported = true;
    return true;
}

} // namespace platform::media
