// One sound being played: a bounded queue of interleaved float frames in the output's format,
// filled by one producer thread and drained by the audio output's callback.
//
// Rules: write() blocks while the queue is full and returns false once cancel() was called, so a
// producer never outlives its play. framesPlayed() counts only the frames actually handed to the
// output (an underrun adds silence, not position). After finish(), the first callback that finds
// the queue empty calls the drained handler once, on the audio thread: the handler must only post.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace platform::media {

class AudioStream
{
public:
    AudioStream(int channels, int capacityFrames);

    // Producer side.
    bool write(const float *frames, int count);
    void finish();
    void cancel();
    bool cancelled() const { return m_cancelled.load(); }
    int bufferedFrames() const;

    // Consumer side (audio thread): adds up to count frames into out; returns how many it added.
    int mixInto(float *out, int count);
    // True once, when finished and drained; the output then calls the handler.
    bool takeDrained();

    void setDrainedHandler(std::function<void()> handler) { m_onDrained = std::move(handler); }
    void notifyDrained() const
    {
        if (m_onDrained)
            m_onDrained();
    }

    int64_t framesPlayed() const { return m_played.load(); }
    int channels() const { return m_channels; }

private:
    const int m_channels;
    const int m_capacity; // in frames
    std::vector<float> m_ring;
    int m_readPos = 0; // in frames
    int m_count = 0;   // frames held
    bool m_finished = false;
    bool m_drainReported = false;
    std::atomic<bool> m_cancelled{false};
    std::atomic<int64_t> m_played{0};
    mutable std::mutex m_mutex;
    std::condition_variable m_space;
    std::function<void()> m_onDrained;
};

} // namespace platform::media
