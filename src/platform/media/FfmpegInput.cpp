#include "platform/media/FfmpegInput.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <mutex>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace platform::media {

namespace {

constexpr int kMaxFailures = 64;
constexpr int kMaxSide = 8192;

void quietLogs()
{
    static std::once_flag once; // global: the library's log level is process-wide
    std::call_once(once, [] {
        if (qEnvironmentVariableIsEmpty("LUMAVISTA_MEDIA_DEBUG"))
            av_log_set_level(AV_LOG_QUIET);
    });
}

int64_t toMs(int64_t ts, AVRational tb)
{
    if (ts == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    return av_rescale_q(ts, tb, AVRational{1, 1000});
}

// What a probe may take for a sound or a clip: FFmpeg finds still pictures (its "_pipe" readers) in
// a file of any name, and a picture renamed is no clip.
bool playableContainer(const AVFormatContext *fmt)
{
    const std::string_view name = fmt->iformat->name;
    return !name.ends_with("_pipe");
}

} // namespace

int openMediaFile(AVFormatContext **fmt, const QString &path, const char *demuxer, AVDictionary **options)
{
    AVDictionary *own = nullptr;
    AVDictionary **used = options ? options : &own;
    av_dict_set(used, "protocol_whitelist", "file", 0);
    const AVInputFormat *format = demuxer ? av_find_input_format(demuxer) : nullptr;
    if (!format)
        av_dict_set(used, "format_whitelist", kProbedDemuxers, 0);
    const int opened = avformat_open_input(fmt, QFile::encodeName(path).constData(), format, used);
    av_dict_free(&own);
    return opened;
}

FfmpegInput::FfmpegInput() = default;

FfmpegInput::~FfmpegInput()
{
    close();
}

void FfmpegInput::close()
{
    avcodec_free_context(&m_audioCtx);
    avcodec_free_context(&m_videoCtx);
    avformat_close_input(&m_fmt);
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
    swr_free(&m_swr);
    sws_freeContext(m_sws);
    m_sws = nullptr;
    m_audio = m_video = nullptr;
    m_durationMs = 0;
    m_swrInRate = 0;
    m_swrInFormat = -1;
    m_swrInChannels = 0;
}

MciResult FfmpegInput::open(const QString &path, const char *demuxer, bool wantAudio, bool wantVideo)
{
    quietLogs();
    close();
    QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return mciError(MCIERR_FILE_NOT_FOUND, path);
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return mciError(MCIERR_FILE_READ, path);
    if (probe.size() == 0)
        return mciError(MCIERR_INVALID_FILE, QStringLiteral("empty file"));
    probe.close();

    const AVInputFormat *format = demuxer ? av_find_input_format(demuxer) : nullptr;
    AVDictionary *options = nullptr;
    if (format) {
        // The WAV demuxer asks for its 16-bit PCM to be probed again for other formats hidden in
        // it (S/PDIF surround): with the default limits, some 60 ms of processor time on the first
        // read, before the first sound. A wave device plays PCM as PCM, so that probe gets one
        // packet.
        av_dict_set(&options, "probesize", "2048", 0);
        av_dict_set(&options, "max_probe_packets", "1", 0);
    }
    const int opened = openMediaFile(&m_fmt, path, demuxer, &options);
    av_dict_free(&options);
    if (opened < 0) {
        m_fmt = nullptr;
        return mciError(MCIERR_INVALID_FILE);
    }
    if (!format) {
        // A probed container may learn its streams' rates, sizes and length only from the first
        // packets (an MP3's frames, a WebM's clusters): the length is then the one ffprobe gives.
        if (!playableContainer(m_fmt) || avformat_find_stream_info(m_fmt, nullptr) < 0) {
            close();
            return mciError(MCIERR_INVALID_FILE);
        }
    }
    for (unsigned i = 0; i < m_fmt->nb_streams; ++i) {
        AVStream *st = m_fmt->streams[i];
        st->discard = AVDISCARD_ALL;
        const AVCodecParameters *par = st->codecpar;
        if (wantAudio && !m_audio && par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0 &&
            par->ch_layout.nb_channels > 0 && openDecoder(st, &m_audioCtx)) {
            m_audio = st;
        } else if (wantVideo && !m_video && par->codec_type == AVMEDIA_TYPE_VIDEO && par->width > 0 &&
                   par->height > 0 && par->width <= kMaxSide && par->height <= kMaxSide &&
                   openDecoder(st, &m_videoCtx)) {
            m_video = st;
        }
    }
    if (!m_audio && !m_video) {
        close();
        return mciError(MCIERR_INVALID_FILE, QStringLiteral("no stream that can be played"));
    }
    for (AVStream *st : {m_audio, m_video}) {
        if (!st)
            continue;
        st->discard = AVDISCARD_DEFAULT;
        if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
            m_durationMs = std::max(m_durationMs, toMs(st->duration, st->time_base));
    }
    // The container's own length where it was probed: its streams' lengths may lack the encoder's
    // delay (Opus) or be missing altogether (Matroska).
    const bool containerLength = !format || m_durationMs == 0;
    if (containerLength && m_fmt->duration != AV_NOPTS_VALUE && m_fmt->duration > 0)
        m_durationMs = m_fmt->duration / 1000;
    // A header may claim more sound than the file holds: for plain PCM the bytes that are there
    // bound what can be played. (The header's byte rate is not trusted: writers get it wrong.)
    if (m_audio && !m_video && m_fmt->pb) {
        const AVCodecParameters *par = m_audio->codecpar;
        const int bits = av_get_exact_bits_per_sample(par->codec_id);
        const int64_t bytesPerSecond = int64_t(bits) * par->sample_rate * par->ch_layout.nb_channels / 8;
        const int64_t size = avio_size(m_fmt->pb);
        const int64_t start = avio_tell(m_fmt->pb);
        if (bits > 0 && bytesPerSecond > 0 && size > 0 && start >= 0 && start <= size) {
            const int64_t maxMs = av_rescale(size - start, 1000, bytesPerSecond);
            if (m_durationMs == 0 || m_durationMs > maxMs)
                m_durationMs = maxMs;
        }
    }
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame) {
        close();
        return mciError(MCIERR_OUT_OF_MEMORY);
    }
    m_ended = false;
    m_failures = 0;
    m_skipUntilMs = 0;
    return {};
}

bool FfmpegInput::openDecoder(AVStream *stream, AVCodecContext **ctx)
{
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return false;
    *ctx = avcodec_alloc_context3(codec);
    if (!*ctx)
        return false;
    // One decoding thread: the worker already runs beside the interface, and frame threading
    // would add latency and memory for the small clips this program plays.
    (*ctx)->thread_count = 1;
    if (avcodec_parameters_to_context(*ctx, stream->codecpar) < 0 ||
        avcodec_open2(*ctx, codec, nullptr) < 0) {
        avcodec_free_context(ctx);
        return false;
    }
    (*ctx)->pkt_timebase = stream->time_base;
    return true;
}

QSize FfmpegInput::videoSize() const
{
    if (!m_video)
        return {};
    return QSize(m_video->codecpar->width, m_video->codecpar->height);
}

double FfmpegInput::frameRate() const
{
    if (!m_video)
        return 0;
    AVRational r = m_video->avg_frame_rate;
    if (r.num <= 0 || r.den <= 0)
        r = m_video->r_frame_rate;
    if (r.num <= 0 || r.den <= 0)
        r = av_inv_q(m_video->time_base);
    if (r.num <= 0 || r.den <= 0)
        return 0;
    return av_q2d(r);
}

int64_t FfmpegInput::frameCount() const
{
    if (!m_video)
        return 0;
    if (m_video->nb_frames > 0)
        return m_video->nb_frames;
    return static_cast<int64_t>(double(m_durationMs) * frameRate() / 1000.0 + 0.5);
}

int FfmpegInput::audioRate() const
{
    return m_audio ? m_audio->codecpar->sample_rate : 0;
}

int FfmpegInput::audioChannels() const
{
    return m_audio ? m_audio->codecpar->ch_layout.nb_channels : 0;
}

void FfmpegInput::setAudioTarget(int rate, int channels)
{
    m_outRate = rate;
    m_outChannels = channels;
    swr_free(&m_swr);
    m_swrInRate = 0;
}

bool FfmpegInput::seekMs(int64_t ms)
{
    if (!m_fmt)
        return false;
    ms = std::max<int64_t>(ms, 0);
    const int64_t ts = av_rescale(ms, AV_TIME_BASE, 1000);
    int rc = avformat_seek_file(m_fmt, -1, INT64_MIN, ts, ts, AVSEEK_FLAG_BACKWARD);
    if (rc < 0)
        rc = av_seek_frame(m_fmt, -1, ts, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
    if (m_audioCtx)
        avcodec_flush_buffers(m_audioCtx);
    if (m_videoCtx)
        avcodec_flush_buffers(m_videoCtx);
    swr_free(&m_swr);
    m_swrInRate = 0;
    m_skipUntilMs = ms;
    m_ended = false;
    m_failures = 0;
    return rc >= 0;
}

FfmpegInput::Step FfmpegInput::step(Sink &sink)
{
    if (!m_fmt || m_ended)
        return Step::End;
    const int rc = av_read_frame(m_fmt, m_packet);
    if (rc < 0) {
        // End of file, or a read error: either way drain what the decoders hold.
        m_ended = true;
        bool go = true;
        if (m_audioCtx)
            go = decode(m_audioCtx, nullptr, sink) && flushResampler(sink);
        if (go && m_videoCtx)
            go = decode(m_videoCtx, nullptr, sink);
        return go ? Step::End : Step::Stopped;
    }
    bool go = true;
    if (m_audio && m_packet->stream_index == m_audio->index)
        go = decode(m_audioCtx, m_packet, sink);
    else if (m_video && m_packet->stream_index == m_video->index)
        go = decode(m_videoCtx, m_packet, sink);
    av_packet_unref(m_packet);
    if (m_failures > kMaxFailures) {
        m_ended = true;
        return Step::End;
    }
    return go ? Step::More : Step::Stopped;
}

bool FfmpegInput::decode(AVCodecContext *ctx, const AVPacket *packet, Sink &sink)
{
    if (avcodec_send_packet(ctx, packet) < 0) {
        ++m_failures;
        return true;
    }
    for (;;) {
        const int rc = avcodec_receive_frame(ctx, m_frame);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return true;
        if (rc < 0) {
            ++m_failures;
            return true;
        }
        m_failures = 0;
        const bool go = ctx == m_audioCtx ? deliverAudio(m_frame, sink) : deliverVideo(m_frame, sink);
        av_frame_unref(m_frame);
        if (!go)
            return false;
    }
}

bool FfmpegInput::deliverAudio(AVFrame *frame, Sink &sink)
{
    if (frame->nb_samples <= 0 || frame->ch_layout.nb_channels <= 0 || frame->sample_rate <= 0)
        return true;
    if (!m_swr || frame->sample_rate != m_swrInRate || frame->format != m_swrInFormat ||
        frame->ch_layout.nb_channels != m_swrInChannels) {
        swr_free(&m_swr);
        AVChannelLayout in{}, out{};
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&in, frame->ch_layout.nb_channels);
        else
            av_channel_layout_copy(&in, &frame->ch_layout);
        av_channel_layout_default(&out, m_outChannels);
        const int rc =
            swr_alloc_set_opts2(&m_swr, &out, AV_SAMPLE_FMT_FLT, m_outRate, &in,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        if (rc < 0 || swr_init(m_swr) < 0) {
            swr_free(&m_swr);
            ++m_failures;
            return true;
        }
        m_swrInRate = frame->sample_rate;
        m_swrInFormat = frame->format;
        m_swrInChannels = frame->ch_layout.nb_channels;
    }
    const int capacity = swr_get_out_samples(m_swr, frame->nb_samples);
    if (capacity <= 0)
        return true;
    uint8_t *out = reinterpret_cast<uint8_t *>(buffer(capacity));
    const int got = swr_convert(m_swr, &out, capacity, const_cast<const uint8_t **>(frame->extended_data),
                                frame->nb_samples);
    if (got <= 0)
        return true;
    int skip = 0;
    if (m_skipUntilMs > 0) {
        // The seek landed on a block boundary at or before the target: trim up to the target.
        const int64_t pts = toMs(frame->best_effort_timestamp, m_audio->time_base);
        if (pts != AV_NOPTS_VALUE && pts < m_skipUntilMs)
            skip = static_cast<int>(std::min<int64_t>(got, (m_skipUntilMs - pts) * m_outRate / 1000));
        m_skipUntilMs = 0;
    }
    return got - skip <= 0 ||
           sink.audio(m_buffer.get() + static_cast<size_t>(skip) * m_outChannels, got - skip);
}

float *FfmpegInput::buffer(int frames)
{
    const size_t floats = static_cast<size_t>(frames) * static_cast<size_t>(m_outChannels);
    if (floats > m_bufferFloats) {
        m_buffer = std::make_unique<float[]>(floats);
        m_bufferFloats = floats;
    }
    return m_buffer.get();
}

bool FfmpegInput::flushResampler(Sink &sink)
{
    if (!m_swr)
        return true;
    const int capacity = swr_get_out_samples(m_swr, 0);
    if (capacity <= 0)
        return true;
    uint8_t *out = reinterpret_cast<uint8_t *>(buffer(capacity));
    const int got = swr_convert(m_swr, &out, capacity, nullptr, 0);
    return got <= 0 || sink.audio(m_buffer.get(), got);
}

bool FfmpegInput::deliverVideo(AVFrame *frame, Sink &sink)
{
    if (frame->width <= 0 || frame->height <= 0 || frame->width > kMaxSide || frame->height > kMaxSide)
        return true;
    int64_t pts = toMs(frame->best_effort_timestamp, m_video->time_base);
    if (pts == AV_NOPTS_VALUE)
        pts = 0;
    if (m_skipUntilMs > 0) {
        const double rate = frameRate();
        const int64_t half = rate > 0 ? static_cast<int64_t>(500.0 / rate) : 0;
        if (pts + half < m_skipUntilMs)
            return true;
        if (!m_audio)
            m_skipUntilMs = 0;
    }
    m_sws = sws_getCachedContext(m_sws, frame->width, frame->height,
                                 static_cast<AVPixelFormat>(frame->format), frame->width, frame->height,
                                 AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
    if (!m_sws) {
        ++m_failures;
        return true;
    }
    QImage picture(frame->width, frame->height, QImage::Format_RGB32);
    if (picture.isNull())
        return true;
    uint8_t *dst[4] = {picture.bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {static_cast<int>(picture.bytesPerLine()), 0, 0, 0};
    sws_scale(m_sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return sink.video(picture, pts);
}

} // namespace platform::media
