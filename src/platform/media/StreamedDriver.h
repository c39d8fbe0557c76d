// A driver whose play is one sound rendered on a worker thread into the shared audio output:
// the play-state bookkeeping shared by wave audio and the sequencer. The derived class opens the
// file, sets m_output and renders the sound.
//
// Rules: the position is the start position plus the frames handed to the output, capped at the
// length; the play ends when render() has finished the stream and the output has taken it all.
// A derived destructor calls halt() first, so the worker never outlives the state it renders from.
#pragma once

#include "platform/media/AudioOutput.h"
#include "platform/media/MciDriver.h"

#include <memory>
#include <thread>

namespace platform::media {

class StreamedDriver : public MciDriver
{
public:
    int64_t positionMs() const override;
    MciResult start(std::function<void()> ended) override;
    void halt() override;
    void seek(int64_t ms) override;
    void markEnded() override;

protected:
    // On the interface thread before the worker starts: an error when the play cannot start.
    virtual MciResult prepare(int64_t startMs) = 0;
    // On the worker thread: writes the sound from startMs into stream, then finishes it unless a
    // write was refused (the play is being stopped).
    virtual void render(AudioStream &stream, int64_t startMs) = 0;
    // Back to the beginning, not ended (a new file).
    void rewind();

    std::shared_ptr<AudioOutput> m_output;

private:
    std::shared_ptr<AudioStream> m_stream;
    std::thread m_worker;
    int64_t m_startMs = 0;
    bool m_atEnd = false;
};

} // namespace platform::media
