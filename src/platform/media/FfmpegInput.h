// One media file read through FFmpeg: the demuxer named by the device (the extension chose it) or
// the container FFmpeg's probe found, the first audio and video streams, their decoders, and the
// conversions to what we play: float samples at the output's rate and layout, and 32-bit RGB
// pictures at the clip's natural size.
//
// Rules: open() reads headers only (no decoding; a probed container its first packets too), so it
// is cheap enough for the interface thread; step() reads and decodes one packet and is called by
// one worker thread at a time. Damaged packets are skipped; a run of failures or a read error ends
// the file, so a bad file plays what can be played. After seekMs() every output before the target
// time is dropped. The length is the container's where it was probed (what ffprobe reports).
#pragma once

#include "platform/media/MciTypes.h"

#include <QImage>
#include <QSize>
#include <cstdint>
#include <memory>

struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVPacket;
struct AVFrame;
struct SwrContext;
struct SwsContext;

namespace platform::media {

class FfmpegInput
{
public:
    struct Sink
    {
        virtual ~Sink() = default;
        // Return false to stop reading.
        virtual bool audio(const float *frames, int count) = 0;
        virtual bool video(const QImage &picture, int64_t ptsMs) = 0;
    };
    enum class Step { More, End, Stopped };

    FfmpegInput();
    ~FfmpegInput();
    FfmpegInput(const FfmpegInput &) = delete;
    FfmpegInput &operator=(const FfmpegInput &) = delete;

    // demuxer: FFmpeg's short name ("wav", "avi"), or null to probe the container (see
    // mciDemuxerFor); the streams not wanted are ignored.
    MciResult open(const QString &path, const char *demuxer, bool wantAudio, bool wantVideo);
    void close();

    bool hasAudio() const { return m_audio != nullptr; }
    bool hasVideo() const { return m_video != nullptr; }
    int64_t durationMs() const { return m_durationMs; }
    QSize videoSize() const;
    // Frames per second of the video stream (0 when unknown) and its frame count (0 when unknown).
    double frameRate() const;
    int64_t frameCount() const;
    // The sound stream's own rate and channel count (0 without sound).
    int audioRate() const;
    int audioChannels() const;

    // Audio is converted to interleaved float at this rate and channel count.
    void setAudioTarget(int rate, int channels);
    bool seekMs(int64_t ms);
    Step step(Sink &sink);

private:
    bool openDecoder(AVStream *stream, AVCodecContext **ctx);
    bool decode(AVCodecContext *ctx, const AVPacket *packet, Sink &sink);
    bool deliverAudio(AVFrame *frame, Sink &sink);
    bool deliverVideo(AVFrame *frame, Sink &sink);
    bool flushResampler(Sink &sink);
    float *buffer(int frames);

    AVFormatContext *m_fmt = nullptr;
    AVStream *m_audio = nullptr;
    AVStream *m_video = nullptr;
    AVCodecContext *m_audioCtx = nullptr;
    AVCodecContext *m_videoCtx = nullptr;
    AVPacket *m_packet = nullptr;
    AVFrame *m_frame = nullptr;
    SwrContext *m_swr = nullptr;
    SwsContext *m_sws = nullptr;
    int m_swrInRate = 0, m_swrInFormat = -1, m_swrInChannels = 0;
    int m_outRate = 44100, m_outChannels = 2;
    int64_t m_durationMs = 0;
    int64_t m_skipUntilMs = 0; // outputs before this time are dropped (after a seek)
    int m_failures = 0;
    bool m_ended = false;
    std::unique_ptr<float[]> m_buffer; // converted sound, grown as needed
    size_t m_bufferFloats = 0;
};

} // namespace platform::media
