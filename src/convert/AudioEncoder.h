// The FFmpeg sound encoder the sound, tune and video conversions share (internal to convert/):
// samples in any format, rate and channel layout are resampled to what the encoder takes, cut into
// the encoder's frame size and muxed. FFmpeg's errors become platform errors here.
#pragma once

#include "platform/Result.h"

#include <QFile>
#include <QString>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace convert::ffmpeg {

using platform::Error;

inline QString avError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// Ends an output file: its trailer written, then closed; a failure of either is the path's I/O error.
inline platform::Status finishOutput(AVFormatContext *out, const QString &path)
{
    if (const int rc = av_write_trailer(out); rc < 0)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(path, avError(rc)));
    if (const int rc = avio_closep(&out->pb); rc < 0)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(path, avError(rc)));
    return platform::Status::success();
}

struct Target
{
    const char *muxer;
    const char *encoder;
};

inline Target targetOf(const QString &format)
{
    if (format == u"flac")
        return {"flac", "flac"};
    if (format == u"opus")
        return {"ogg", "libopus"};
    if (format == u"ogg")
        return {"ogg", "libvorbis"};
    if (format == u"aac")
        return {"mp4", "aac"};
    return {"wav", "pcm_s16le"};
}

struct InputDeleter
{
    void operator()(AVFormatContext *c) const { avformat_close_input(&c); }
};
struct CodecDeleter
{
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameDeleter
{
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketDeleter
{
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct SwrDeleter
{
    void operator()(SwrContext *s) const { swr_free(&s); }
};
struct FifoDeleter
{
    void operator()(AVAudioFifo *f) const { av_audio_fifo_free(f); }
};
struct OutputDeleter
{
    void operator()(AVFormatContext *c) const
    {
        if (c->pb)
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};

// The encoder side of a sound. On its own it writes a file of its format, set up from the first
// decoded frame's sample format, rate and channels; as a track of another file (a video's sound)
// the owner of that file adds the track before writing its header, and writes its trailer.
class Encoder
{
public:
    Encoder(QString path, const QString &format) : m_path(std::move(path)), m_format(format) {}
    Encoder(AVFormatContext *shared, QString path, const QString &format)
        : m_path(std::move(path)), m_format(format), m_mux(shared)
    {
    }

    platform::Status addTrack(int rate, const AVChannelLayout &layout, AVSampleFormat sourceFormat,
                              int sourceBits)
    {
        const Target target = targetOf(m_format);
        const AVCodec *codec = avcodec_find_encoder_by_name(target.encoder);
        if (!codec)
            return platform::makeError(Error::Kind::Other,
                                       QStringLiteral("this FFmpeg has no %1 encoder").arg(target.encoder));
        m_enc.reset(avcodec_alloc_context3(codec));
        if (!m_enc)
            return fail(AVERROR(ENOMEM));
        AVCodecContext *enc = m_enc.get();
        enc->sample_rate = m_format == u"opus" ? 48000 : rate;
        // Files that name no speaker positions (plain AVI and WAV headers) get the usual ones.
        AVChannelLayout known{};
        if (layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&known, layout.nb_channels);
        else if (av_channel_layout_copy(&known, &layout) < 0)
            return fail(AVERROR(ENOMEM));
        const int copied = av_channel_layout_copy(&enc->ch_layout, &known);
        av_channel_layout_uninit(&known);
        if (copied < 0)
            return fail(AVERROR(ENOMEM));
        enc->sample_fmt = sampleFormat(codec, sourceBits);
        if (m_format == u"flac" && sourceBits > 16)
            enc->bits_per_raw_sample = sourceBits > 24 ? 32 : 24;
        if (m_format == u"opus")
            enc->bit_rate = 64000 * qMax(1, layout.nb_channels);
        if (m_format == u"aac")
            enc->bit_rate = 96000 * qMax(1, layout.nb_channels);
        if (m_format == u"ogg") {
            // Quality 5 (about 160 kbit/s for CD stereo); a fixed rate does not fit every sample rate.
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            enc->global_quality = FF_QP2LAMBDA * 5;
        }
        enc->time_base = AVRational{1, enc->sample_rate};
        if (m_mux->oformat->flags & AVFMT_GLOBALHEADER)
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (const int rc = avcodec_open2(enc, codec, nullptr); rc < 0)
            return fail(rc);
        AVStream *stream = avformat_new_stream(m_mux, nullptr);
        if (!stream)
            return fail(AVERROR(ENOMEM));
        if (const int rc = avcodec_parameters_from_context(stream->codecpar, enc); rc < 0)
            return fail(rc);
        stream->time_base = enc->time_base;
        m_stream = stream;

        SwrContext *swr = nullptr;
        // This FFmpeg's resampler takes the layouts by non-const pointer.
        AVChannelLayout inLayout{};
        if (layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&inLayout, layout.nb_channels);
        else if (av_channel_layout_copy(&inLayout, &layout) < 0)
            return fail(AVERROR(ENOMEM));
        const int made = swr_alloc_set_opts2(&swr, &enc->ch_layout, enc->sample_fmt, enc->sample_rate,
                                             &inLayout, sourceFormat, rate, 0, nullptr);
        av_channel_layout_uninit(&inLayout);
        if (made < 0)
            return fail(made);
        m_swr.reset(swr);
        if (const int rc = swr_init(swr); rc < 0)
            return fail(rc);
        m_fifo.reset(av_audio_fifo_alloc(enc->sample_fmt, enc->ch_layout.nb_channels, 1));
        m_frame.reset(av_frame_alloc());
        m_packet.reset(av_packet_alloc());
        if (!m_fifo || !m_frame || !m_packet)
            return fail(AVERROR(ENOMEM));
        m_frameSize = enc->frame_size > 0 ? enc->frame_size : 4096;
        return platform::Status::success();
    }

    platform::Status write(const AVFrame *frame, int sourceBits)
    {
        if (!m_enc && !m_mux)
            if (platform::Status status = open(frame, sourceBits); !status)
                return status;
        if (!m_enc)
            return platform::makeError(Error::Kind::Other, QStringLiteral("sound track not set up"));
        const int room = swr_get_out_samples(m_swr.get(), frame->nb_samples);
        if (room < 0)
            return fail(room);
        if (platform::Status status = convertInto(frame->extended_data, frame->nb_samples, room); !status)
            return status;
        return drain(false);
    }

    platform::Status finish()
    {
        if (!m_enc)
            return platform::makeError(Error::Kind::InvalidData, QStringLiteral("no sound in the file"));
        const int room = swr_get_out_samples(m_swr.get(), 0);
        if (room > 0)
            if (platform::Status status = convertInto(nullptr, 0, room); !status)
                return status;
        if (platform::Status status = drain(true); !status)
            return status;
        if (platform::Status status = encode(nullptr); !status)
            return status;
        if (!m_out)
            return platform::Status::success();
        return finishOutput(m_out.get(), m_path);
    }

private:
    platform::Status open(const AVFrame *frame, int sourceBits)
    {
        AVFormatContext *out = nullptr;
        if (const int rc = avformat_alloc_output_context2(&out, nullptr, targetOf(m_format).muxer, nullptr);
            rc < 0)
            return fail(rc);
        m_out.reset(out);
        m_mux = out;
        if (platform::Status status =
                addTrack(frame->sample_rate, frame->ch_layout, AVSampleFormat(frame->format), sourceBits);
            !status)
            return status;
        const QByteArray native = QFile::encodeName(m_path);
        if (const int rc = avio_open(&m_out->pb, native.constData(), AVIO_FLAG_WRITE); rc < 0)
            return io(rc);
        if (const int rc = avformat_write_header(m_out.get(), nullptr); rc < 0)
            return io(rc);
        return platform::Status::success();
    }

    // The encoder's format nearest the source: no more bits than it has, none lost.
    static AVSampleFormat sampleFormat(const AVCodec *codec, int sourceBits)
    {
        const AVSampleFormat *formats = codec->sample_fmts;
        if (!formats)
            return AV_SAMPLE_FMT_S16;
        const AVSampleFormat wanted = sourceBits > 16 ? AV_SAMPLE_FMT_S32 : AV_SAMPLE_FMT_S16;
        for (const AVSampleFormat *f = formats; *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == wanted)
                return *f;
        return formats[0];
    }

    platform::Status convertInto(uint8_t **data, int count, int room)
    {
        uint8_t **planes = nullptr;
        int lines = 0;
        const AVCodecContext *enc = m_enc.get();
        if (av_samples_alloc_array_and_samples(&planes, &lines, enc->ch_layout.nb_channels, qMax(room, 1),
                                               enc->sample_fmt, 0) < 0)
            return fail(AVERROR(ENOMEM));
        const int made = swr_convert(m_swr.get(), planes, room, const_cast<const uint8_t **>(data), count);
        int rc = made;
        if (made > 0)
            rc = av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void **>(planes), made);
        av_freep(&planes[0]);
        av_freep(&planes);
        return rc < 0 ? fail(rc) : platform::Status::success();
    }

    platform::Status drain(bool last)
    {
        AVCodecContext *enc = m_enc.get();
        while (av_audio_fifo_size(m_fifo.get()) >= m_frameSize ||
               (last && av_audio_fifo_size(m_fifo.get()) > 0)) {
            const int count = qMin(m_frameSize, av_audio_fifo_size(m_fifo.get()));
            AVFrame *f = m_frame.get();
            av_frame_unref(f);
            // An encoder that takes only whole frames gets the last one padded with silence.
            const bool whole =
                enc->frame_size > 0 && !(enc->codec->capabilities &
                                         (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE));
            f->nb_samples = whole ? m_frameSize : count;
            f->format = enc->sample_fmt;
            f->sample_rate = enc->sample_rate;
            if (av_channel_layout_copy(&f->ch_layout, &enc->ch_layout) < 0 || av_frame_get_buffer(f, 0) < 0)
                return fail(AVERROR(ENOMEM));
            if (count < f->nb_samples)
                av_samples_set_silence(f->extended_data, 0, f->nb_samples, enc->ch_layout.nb_channels,
                                       enc->sample_fmt);
            if (av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void **>(f->extended_data), count) < count)
                return fail(AVERROR_BUG);
            f->pts = m_pts;
            m_pts += count;
            if (platform::Status status = encode(f); !status)
                return status;
        }
        return platform::Status::success();
    }

    platform::Status encode(const AVFrame *frame)
    {
        AVCodecContext *enc = m_enc.get();
        if (const int rc = avcodec_send_frame(enc, frame); rc < 0)
            return fail(rc);
        while (true) {
            const int rc = avcodec_receive_packet(enc, m_packet.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return platform::Status::success();
            if (rc < 0)
                return fail(rc);
            av_packet_rescale_ts(m_packet.get(), enc->time_base, m_stream->time_base);
            m_packet->stream_index = m_stream->index;
            if (const int w = av_interleaved_write_frame(m_mux, m_packet.get()); w < 0)
                return io(w);
        }
    }

    platform::Error fail(int code) const
    {
        return platform::makeError(Error::Kind::Other,
                                   QStringLiteral("encoding failed: %1").arg(avError(code)));
    }
    platform::Error io(int code) const
    {
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(m_path, avError(code)));
    }

    QString m_path;
    QString m_format;
    std::unique_ptr<AVFormatContext, OutputDeleter> m_out; // when the file is the sound's own
    AVFormatContext *m_mux = nullptr;                      // the file the packets go to
    std::unique_ptr<AVCodecContext, CodecDeleter> m_enc;
    std::unique_ptr<SwrContext, SwrDeleter> m_swr;
    std::unique_ptr<AVAudioFifo, FifoDeleter> m_fifo;
    std::unique_ptr<AVFrame, FrameDeleter> m_frame;
    std::unique_ptr<AVPacket, PacketDeleter> m_packet;
    AVStream *m_stream = nullptr;
    int m_frameSize = 0;
    int64_t m_pts = 0;
};

} // namespace convert::ffmpeg
