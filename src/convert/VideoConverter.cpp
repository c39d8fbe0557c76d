#include "convert/VideoConverter.h"

#include "convert/AudioEncoder.h"
#include "convert/Converter.h"

#include <QFileInfo>

extern "C" {
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace convert {

using namespace ffmpeg;

namespace {

struct SwsDeleter
{
    void operator()(SwsContext *s) const { sws_freeContext(s); }
};

platform::Error damaged(const QString &why)
{
    return platform::makeError(Error::Kind::InvalidData, why);
}

platform::Error failed(int code)
{
    return platform::makeError(Error::Kind::Other, QStringLiteral("encoding failed: %1").arg(avError(code)));
}

// One decoder of the input.
struct Decoder
{
    int index = -1;
    std::unique_ptr<AVCodecContext, CodecDeleter> ctx;
};

bool openDecoder(AVFormatContext *in, AVMediaType type, Decoder &d)
{
    const AVCodec *codec = nullptr;
    d.index = av_find_best_stream(in, type, -1, -1, &codec, 0);
    if (d.index < 0 || !codec)
        return false;
    d.ctx.reset(avcodec_alloc_context3(codec));
    return d.ctx && avcodec_parameters_to_context(d.ctx.get(), in->streams[d.index]->codecpar) >= 0 &&
           avcodec_open2(d.ctx.get(), codec, nullptr) >= 0;
}

class VideoTrack
{
public:
    platform::Status open(AVFormatContext *out, const AVCodecContext *dec, AVRational frameRate, bool webm)
    {
        m_out = out;
        const AVCodec *codec = avcodec_find_encoder_by_name(webm ? "libvpx-vp9" : "libx264");
        if (!codec)
            return platform::makeError(
                Error::Kind::Other,
                QStringLiteral("this FFmpeg has no %1 encoder").arg(webm ? "VP9" : "H.264"));
        m_enc.reset(avcodec_alloc_context3(codec));
        if (!m_enc)
            return failed(AVERROR(ENOMEM));
        AVCodecContext *enc = m_enc.get();
        enc->width = dec->width;
        enc->height = dec->height;
        const bool even = dec->width % 2 == 0 && dec->height % 2 == 0;
        enc->pix_fmt = webm || even ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_YUV444P;
        enc->sample_aspect_ratio = dec->sample_aspect_ratio;
        enc->time_base = av_inv_q(frameRate);
        enc->thread_count = 0; // as many as the encoder finds useful
        enc->framerate = frameRate;
        if (out->oformat->flags & AVFMT_GLOBALHEADER)
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        AVDictionary *options = nullptr;
        if (webm) {
            // Constant quality, and the speed setting meant for files rather than live streams.
            av_dict_set(&options, "crf", "32", 0);
            av_dict_set(&options, "b", "0", 0);
            av_dict_set(&options, "deadline", "good", 0);
            av_dict_set(&options, "cpu-used", "4", 0);
            av_dict_set(&options, "row-mt", "1", 0);
        } else {
            av_dict_set(&options, "crf", "20", 0);
            av_dict_set(&options, "preset", "medium", 0);
        }
        const int rc = avcodec_open2(enc, codec, &options);
        av_dict_free(&options);
        if (rc < 0)
            return failed(rc);
        m_stream = avformat_new_stream(out, nullptr);
        if (!m_stream)
            return failed(AVERROR(ENOMEM));
        if (const int p = avcodec_parameters_from_context(m_stream->codecpar, enc); p < 0)
            return failed(p);
        m_stream->time_base = enc->time_base;
        m_stream->avg_frame_rate = frameRate;
        m_frame.reset(av_frame_alloc());
        m_packet.reset(av_packet_alloc());
        if (!m_frame || !m_packet)
            return failed(AVERROR(ENOMEM));
        m_frame->format = enc->pix_fmt;
        m_frame->width = enc->width;
        m_frame->height = enc->height;
        if (av_frame_get_buffer(m_frame.get(), 0) < 0)
            return failed(AVERROR(ENOMEM));
        return platform::Status::success();
    }

    // A decoded picture at its time in the input stream's time base.
    platform::Status write(const AVFrame *picture, AVRational inBase)
    {
        AVCodecContext *enc = m_enc.get();
        m_sws.reset(sws_getCachedContext(m_sws.release(), picture->width, picture->height,
                                         AVPixelFormat(picture->format), enc->width, enc->height,
                                         enc->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
        if (!m_sws)
            return damaged(QStringLiteral("a picture of a size or format that cannot be converted"));
        if (const int rc = av_frame_make_writable(m_frame.get()); rc < 0)
            return failed(rc);
        sws_scale(m_sws.get(), picture->data, picture->linesize, 0, picture->height, m_frame->data,
                  m_frame->linesize);
        int64_t pts = picture->best_effort_timestamp;
        pts = pts == AV_NOPTS_VALUE ? m_next : av_rescale_q(pts, inBase, enc->time_base);
        // Pictures that land on one tick, or go back, keep the order they came in.
        if (pts < m_next)
            pts = m_next;
        m_frame->pts = pts;
        m_next = pts + 1;
        return encode(m_frame.get());
    }

    platform::Status finish() { return encode(nullptr); }

private:
    platform::Status encode(const AVFrame *frame)
    {
        AVCodecContext *enc = m_enc.get();
        if (const int rc = avcodec_send_frame(enc, frame); rc < 0)
            return failed(rc);
        while (true) {
            const int rc = avcodec_receive_packet(enc, m_packet.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return platform::Status::success();
            if (rc < 0)
                return failed(rc);
            av_packet_rescale_ts(m_packet.get(), enc->time_base, m_stream->time_base);
            m_packet->stream_index = m_stream->index;
            if (const int w = av_interleaved_write_frame(m_out, m_packet.get()); w < 0)
                return platform::makeError(Error::Kind::Io,
                                           QStringLiteral("writing failed: %1").arg(avError(w)));
        }
    }

    AVFormatContext *m_out = nullptr;
    std::unique_ptr<AVCodecContext, CodecDeleter> m_enc;
    std::unique_ptr<SwsContext, SwsDeleter> m_sws;
    std::unique_ptr<AVFrame, FrameDeleter> m_frame;
    std::unique_ptr<AVPacket, PacketDeleter> m_packet;
    AVStream *m_stream = nullptr;
    int64_t m_next = 0;
};

} // namespace

platform::Status convertVideo(const QString &input, const QString &outPath, const QString &format,
                              const std::atomic<bool> *cancel)
{
    av_log_set_level(AV_LOG_QUIET);
    const bool webm = format == u"webm";
    AVFormatContext *raw = nullptr;
    const QByteArray native = QFile::encodeName(input);
    const bool avi = QFileInfo(input).suffix().compare(u"avi", Qt::CaseInsensitive) == 0;
    if (const int rc = avformat_open_input(&raw, native.constData(),
                                           avi ? av_find_input_format("avi") : nullptr, nullptr);
        rc < 0)
        return damaged(QStringLiteral("not a readable video file (%1)").arg(avError(rc)));
    std::unique_ptr<AVFormatContext, InputDeleter> in(raw);
    if (const int rc = avformat_find_stream_info(in.get(), nullptr); rc < 0)
        return damaged(avError(rc));
    Decoder video, audio;
    if (!openDecoder(in.get(), AVMEDIA_TYPE_VIDEO, video))
        return damaged(QStringLiteral("no pictures that FFmpeg decodes"));
    if (video.ctx->width < 1 || video.ctx->height < 1)
        return damaged(QStringLiteral("pictures without a size"));
    const bool withSound = openDecoder(in.get(), AVMEDIA_TYPE_AUDIO, audio) && audio.ctx->sample_rate > 0 &&
                           audio.ctx->ch_layout.nb_channels > 0;
    const AVStream *vs = in->streams[video.index];
    AVRational rate = vs->avg_frame_rate.num > 0 ? vs->avg_frame_rate : vs->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = AVRational{25, 1};

    AVFormatContext *outRaw = nullptr;
    if (const int rc = avformat_alloc_output_context2(&outRaw, nullptr, webm ? "webm" : "mp4", nullptr);
        rc < 0)
        return failed(rc);
    std::unique_ptr<AVFormatContext, OutputDeleter> out(outRaw);
    VideoTrack pictures;
    if (platform::Status status = pictures.open(out.get(), video.ctx.get(), rate, webm); !status)
        return status;
    std::unique_ptr<Encoder> sound;
    if (withSound) {
        sound = std::make_unique<Encoder>(out.get(), outPath,
                                          webm ? QStringLiteral("opus") : QStringLiteral("aac"));
        if (platform::Status status =
                sound->addTrack(audio.ctx->sample_rate, audio.ctx->ch_layout, audio.ctx->sample_fmt, 16);
            !status)
            return status;
    }
    if (const int rc = avio_open(&out->pb, QFile::encodeName(outPath).constData(), AVIO_FLAG_WRITE); rc < 0)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(outPath, avError(rc)));
    if (const int rc = avformat_write_header(out.get(), nullptr); rc < 0)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(outPath, avError(rc)));

    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    if (!packet || !frame)
        return failed(AVERROR(ENOMEM));
    int pictureCount = 0;
    auto receive = [&](Decoder &d) -> platform::Status {
        while (true) {
            const int rc = avcodec_receive_frame(d.ctx.get(), frame.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return platform::Status::success();
            if (rc < 0)
                return damaged(QStringLiteral("damaged data (%1)").arg(avError(rc)));
            platform::Status written;
            if (&d == &video) {
                written = pictures.write(frame.get(), in->streams[video.index]->time_base);
                ++pictureCount;
            } else {
                written = sound->write(frame.get(), 16);
            }
            av_frame_unref(frame.get());
            if (!written)
                return written;
        }
    };
    while (true) {
        if (isCancelled(cancel))
            return cancelledError();
        const int rc = av_read_frame(in.get(), packet.get());
        if (rc == AVERROR_EOF)
            break;
        if (rc < 0)
            return damaged(QStringLiteral("unreadable data (%1)").arg(avError(rc)));
        Decoder *d = packet->stream_index == video.index                ? &video
                     : withSound && packet->stream_index == audio.index ? &audio
                                                                        : nullptr;
        if (!d) {
            av_packet_unref(packet.get());
            continue;
        }
        const int sent = avcodec_send_packet(d->ctx.get(), packet.get());
        av_packet_unref(packet.get());
        if (sent < 0)
            return damaged(QStringLiteral("damaged data (%1)").arg(avError(sent)));
        if (platform::Status status = receive(*d); !status)
            return status;
    }
    for (Decoder *d : {&video, &audio}) {
        if (!d->ctx)
            continue;
        avcodec_send_packet(d->ctx.get(), nullptr);
        if (platform::Status status = receive(*d); !status)
            return status;
    }
    if (pictureCount == 0)
        return damaged(QStringLiteral("no picture decodes"));
    if (platform::Status status = pictures.finish(); !status)
        return status;
    if (sound)
        if (platform::Status status = sound->finish(); !status)
            return status;
    return ffmpeg::finishOutput(out.get(), outPath);
}

} // namespace convert
