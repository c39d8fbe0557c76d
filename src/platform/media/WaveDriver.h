// Wave audio: any sound FFmpeg decodes inside a RIFF WAVE file, converted once to the output's
// format on a worker thread and played through the shared audio output.
//
// Rules: the position is the start position plus the frames handed to the output, capped at the
// length; the play ends when the decoder has nothing more and the output has taken everything.
#pragma once

#include "platform/media/AudioOutput.h"
#include "platform/media/FfmpegInput.h"
#include "platform/media/MciDriver.h"

#include <atomic>
#include <memory>
#include <thread>

namespace platform::media {

class WaveDriver : public MciDriver
{
public:
    ~WaveDriver() override;
    MciResult open(const QString &path, QWidget *display) override;
    int64_t lengthMs() const override { return m_lengthMs; }
    int64_t positionMs() const override;
    MciResult start(std::function<void()> ended) override;
    void halt() override;
    void seek(int64_t ms) override;
    void markEnded() override;

private:
    void run();

    FfmpegInput m_input;
    std::shared_ptr<AudioOutput> m_output;
    std::shared_ptr<AudioStream> m_stream;
    std::thread m_worker;
    int64_t m_lengthMs = 0;
    int64_t m_startMs = 0;
    bool m_atEnd = false;
};

} // namespace platform::media
