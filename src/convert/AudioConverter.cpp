#include "convert/AudioConverter.h"

#include "platform/media/MidiFile.h"
#include "platform/media/SequencerDriver.h"

#include <QFile>
#include <cmath>
#include <fluidsynth.h>
#include <memory>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace convert {

namespace {

using platform::Error;

QString avError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

struct Target
{
    const char *muxer;
    const char *encoder;
};

Target targetOf(const QString &format)
{
    if (format == u"flac")
        return {"flac", "flac"};
    if (format == u"opus")
        return {"ogg", "libopus"};
    if (format == u"ogg")
        return {"ogg", "libvorbis"};
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

// The encoder and muxer side, set up from the first decoded frame's sample format, rate and
// channels.
class Encoder
{
public:
    Encoder(QString path, const QString &format) : m_path(std::move(path)), m_format(format) {}

    platform::Status write(const AVFrame *frame, int sourceBits)
    {
        if (!m_enc)
            if (platform::Status status = open(frame, sourceBits); !status)
                return status;
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
        if (const int rc = av_write_trailer(m_out.get()); rc < 0)
            return io(rc);
        if (const int rc = avio_closep(&m_out->pb); rc < 0)
            return io(rc);
        return platform::Status::success();
    }

private:
    platform::Status open(const AVFrame *frame, int sourceBits)
    {
        const Target target = targetOf(m_format);
        const AVCodec *codec = avcodec_find_encoder_by_name(target.encoder);
        if (!codec)
            return platform::makeError(Error::Kind::Other,
                                       QStringLiteral("this FFmpeg has no %1 encoder").arg(target.encoder));
        AVFormatContext *out = nullptr;
        if (const int rc = avformat_alloc_output_context2(&out, nullptr, target.muxer, nullptr); rc < 0)
            return fail(rc);
        m_out.reset(out);
        m_enc.reset(avcodec_alloc_context3(codec));
        if (!m_enc)
            return fail(AVERROR(ENOMEM));
        AVCodecContext *enc = m_enc.get();
        enc->sample_rate = m_format == u"opus" ? 48000 : frame->sample_rate;
        if (av_channel_layout_copy(&enc->ch_layout, &frame->ch_layout) < 0)
            return fail(AVERROR(ENOMEM));
        enc->sample_fmt = sampleFormat(codec, sourceBits);
        if (m_format == u"flac" && sourceBits > 16)
            enc->bits_per_raw_sample = sourceBits > 24 ? 32 : 24;
        if (m_format == u"opus")
            enc->bit_rate = 64000 * qMax(1, frame->ch_layout.nb_channels);
        if (m_format == u"ogg") {
            // Quality 5 (about 160 kbit/s for CD stereo); a fixed rate does not fit every sample rate.
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            enc->global_quality = FF_QP2LAMBDA * 5;
        }
        enc->time_base = AVRational{1, enc->sample_rate};
        if (m_out->oformat->flags & AVFMT_GLOBALHEADER)
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (const int rc = avcodec_open2(enc, codec, nullptr); rc < 0)
            return fail(rc);
        AVStream *stream = avformat_new_stream(m_out.get(), nullptr);
        if (!stream)
            return fail(AVERROR(ENOMEM));
        if (const int rc = avcodec_parameters_from_context(stream->codecpar, enc); rc < 0)
            return fail(rc);
        stream->time_base = enc->time_base;
        m_stream = stream;

        SwrContext *swr = nullptr;
        // This FFmpeg's resampler takes the layouts by non-const pointer.
        AVChannelLayout inLayout{};
        if (av_channel_layout_copy(&inLayout, &frame->ch_layout) < 0)
            return fail(AVERROR(ENOMEM));
        const int made =
            swr_alloc_set_opts2(&swr, &enc->ch_layout, enc->sample_fmt, enc->sample_rate, &inLayout,
                                AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
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
            if (const int w = av_interleaved_write_frame(m_out.get(), m_packet.get()); w < 0)
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
    std::unique_ptr<AVFormatContext, OutputDeleter> m_out;
    std::unique_ptr<AVCodecContext, CodecDeleter> m_enc;
    std::unique_ptr<SwrContext, SwrDeleter> m_swr;
    std::unique_ptr<AVAudioFifo, FifoDeleter> m_fifo;
    std::unique_ptr<AVFrame, FrameDeleter> m_frame;
    std::unique_ptr<AVPacket, PacketDeleter> m_packet;
    AVStream *m_stream = nullptr;
    int m_frameSize = 0;
    int64_t m_pts = 0;
};

platform::Error damaged(const QString &why)
{
    return platform::makeError(Error::Kind::InvalidData, why);
}

} // namespace

platform::Status convertSound(const QString &input, const QString &outPath, const QString &format)
{
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *raw = nullptr;
    const QByteArray native = QFile::encodeName(input);
    if (const int rc = avformat_open_input(&raw, native.constData(), av_find_input_format("wav"), nullptr);
        rc < 0)
        return damaged(QStringLiteral("not a readable WAV file (%1)").arg(avError(rc)));
    std::unique_ptr<AVFormatContext, InputDeleter> in(raw);
    if (const int rc = avformat_find_stream_info(in.get(), nullptr); rc < 0)
        return damaged(avError(rc));
    const AVCodec *codec = nullptr;
    const int index = av_find_best_stream(in.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (index < 0 || !codec)
        return damaged(QStringLiteral("no sound that FFmpeg decodes"));
    std::unique_ptr<AVCodecContext, CodecDeleter> dec(avcodec_alloc_context3(codec));
    if (!dec || avcodec_parameters_to_context(dec.get(), in->streams[index]->codecpar) < 0 ||
        avcodec_open2(dec.get(), codec, nullptr) < 0)
        return damaged(QStringLiteral("the sound's decoder does not open"));
    const AVCodecParameters *par = in->streams[index]->codecpar;
    const int bits = par->bits_per_raw_sample > 0 ? par->bits_per_raw_sample : par->bits_per_coded_sample;

    Encoder encoder(outPath, format);
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    if (!packet || !frame)
        return platform::makeError(Error::Kind::Other, QStringLiteral("out of memory"));
    auto receive = [&]() -> platform::Status {
        while (true) {
            const int rc = avcodec_receive_frame(dec.get(), frame.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return platform::Status::success();
            if (rc < 0)
                return damaged(QStringLiteral("damaged sound data (%1)").arg(avError(rc)));
            const platform::Status written = encoder.write(frame.get(), bits);
            av_frame_unref(frame.get());
            if (!written)
                return written;
        }
    };
    while (true) {
        const int rc = av_read_frame(in.get(), packet.get());
        if (rc == AVERROR_EOF)
            break;
        if (rc < 0)
            return damaged(QStringLiteral("unreadable sound data (%1)").arg(avError(rc)));
        if (packet->stream_index != index) {
            av_packet_unref(packet.get());
            continue;
        }
        const int sent = avcodec_send_packet(dec.get(), packet.get());
        av_packet_unref(packet.get());
        if (sent < 0)
            return damaged(QStringLiteral("damaged sound data (%1)").arg(avError(sent)));
        if (platform::Status status = receive(); !status)
            return status;
    }
    avcodec_send_packet(dec.get(), nullptr);
    if (platform::Status status = receive(); !status)
        return status;
    return encoder.finish();
}

namespace {

constexpr int kTuneRate = 44100;
constexpr int kBlock = 4096;
// After the tempo map ends, notes are released and rendered until silent, for at most this long.
constexpr int kMaxTailMs = 3000;

// Renders count stereo frames of the synthesiser into the encoder; answers the block's peak.
platform::Status renderBlock(fluid_synth_t *synth, AVFrame *frame, int count, Encoder &encoder, float *peak)
{
    av_frame_unref(frame);
    frame->nb_samples = count;
    frame->format = AV_SAMPLE_FMT_FLT;
    frame->sample_rate = kTuneRate;
    av_channel_layout_default(&frame->ch_layout, 2);
    if (av_frame_get_buffer(frame, 0) < 0)
        return platform::makeError(Error::Kind::Other, QStringLiteral("out of memory"));
    auto *lr = reinterpret_cast<float *>(frame->data[0]);
    if (fluid_synth_write_float(synth, count, lr, 0, 2, lr, 1, 2) != FLUID_OK)
        return platform::makeError(Error::Kind::Other, QStringLiteral("the synthesiser failed"));
    if (peak) {
        *peak = 0;
        for (int i = 0; i < 2 * count; ++i)
            *peak = std::max(*peak, std::abs(lr[i]));
    }
    return encoder.write(frame, 16);
}

struct SynthHolder
{
    platform::media::SynthEntry entry;
    ~SynthHolder() { platform::media::closeSynth(entry); }
};

} // namespace

platform::Status convertTune(const QString &input, const QString &outPath, const QString &format)
{
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return platform::makeError(Error::Kind::FileOpen, file.errorString());
    if (file.size() > qint64(platform::media::MidiFile::kMaxFileSize))
        return platform::makeError(Error::Kind::TooLarge, QStringLiteral("MIDI file too large"));
    const QByteArray data = file.readAll();
    platform::media::MidiFile tune;
    std::string why;
    if (!tune.parse(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()), &why))
        return damaged(QStringLiteral("damaged MIDI file: %1").arg(QString::fromStdString(why)));

    SynthHolder synth{
        platform::media::openSynth(kTuneRate, platform::media::SequencerDriver::soundFontCandidates())};
    if (!synth.entry.synth || !synth.entry.loaded)
        return platform::makeError(
            Error::Kind::Other,
            QStringLiteral("no General MIDI soundfont loads (LUMAVISTA_SOUNDFONT names one)"));
    fluid_synth_t *fs = synth.entry.synth;
    Encoder encoder(outPath, format);
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    if (!frame)
        return platform::makeError(Error::Kind::Other, QStringLiteral("out of memory"));

    int64_t done = 0; // frames rendered
    auto renderUntil = [&](int64_t until) -> platform::Status {
        while (done < until) {
            const int count = int(std::min<int64_t>(kBlock, until - done));
            if (platform::Status status = renderBlock(fs, frame.get(), count, encoder, nullptr); !status)
                return status;
            done += count;
        }
        return platform::Status::success();
    };
    auto frameAt = [](int64_t us) { return (us * kTuneRate + 500000) / 1000000; };
    for (const platform::media::MidiEvent &event : tune.events()) {
        if (platform::Status status = renderUntil(frameAt(event.timeUs)); !status)
            return status;
        platform::media::sendMidiEvent(fs, event);
    }
    if (platform::Status status = renderUntil(frameAt(tune.lengthUs())); !status)
        return status;
    // The tune is over: every note is let go and rings out.
    for (int channel = 0; channel < 16; ++channel) {
        fluid_synth_cc(fs, channel, 64, 0);
        fluid_synth_all_notes_off(fs, channel);
    }
    const int64_t tailEnd = done + int64_t(kTuneRate) * kMaxTailMs / 1000;
    float peak = 1;
    while (done < tailEnd && peak > 1e-4f) {
        const int count = int(std::min<int64_t>(kBlock / 4, tailEnd - done));
        if (platform::Status status = renderBlock(fs, frame.get(), count, encoder, &peak); !status)
            return status;
        done += count;
    }
    return encoder.finish();
}

} // namespace convert
