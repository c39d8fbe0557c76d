// Wave audio: any sound FFmpeg decodes inside a RIFF WAVE file, an MP3, an Ogg (Vorbis, Opus) or a
// FLAC file, converted once to the output's format on a worker thread and played through the
// shared audio output.
//
// Rules: the play ends when the decoder has nothing more and the output has taken everything;
// the position rules are StreamedDriver's.
#pragma once

#include "platform/media/FfmpegInput.h"
#include "platform/media/StreamedDriver.h"

namespace platform::media {

class WaveDriver : public StreamedDriver
{
public:
    ~WaveDriver() override;
    MciResult open(const QString &path, QWidget *display) override;
    int64_t lengthMs() const override { return m_lengthMs; }

private:
    MciResult prepare(int64_t startMs) override;
    void render(AudioStream &stream, int64_t startMs) override;

    FfmpegInput m_input;
    int64_t m_lengthMs = 0;
};

} // namespace platform::media
