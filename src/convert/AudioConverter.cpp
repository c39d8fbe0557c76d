#include "convert/AudioConverter.h"

#include "convert/AudioEncoder.h"
#include "convert/Converter.h"

#include "platform/media/MidiFile.h"
#include "platform/media/SequencerDriver.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <fluidsynth.h>
#include <memory>
#include <vector>

namespace convert {

using namespace ffmpeg;

namespace {

platform::Error damaged(const QString &why)
{
    return platform::makeError(Error::Kind::InvalidData, why);
}

} // namespace

platform::Status convertSound(const QString &input, const QString &outPath, const QString &format,
                              const std::atomic<bool> *cancel)
{
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext *raw = nullptr;
    const QByteArray native = QFile::encodeName(input);
    // A WAV is read as one whatever its content; the later sounds' containers are probed.
    const bool wave = QFileInfo(input).suffix().compare(u"wav", Qt::CaseInsensitive) == 0;
    if (const int rc = avformat_open_input(&raw, native.constData(),
                                           wave ? av_find_input_format("wav") : nullptr, nullptr);
        rc < 0)
        return damaged(QStringLiteral("not a readable sound file (%1)").arg(avError(rc)));
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
        if (isCancelled(cancel))
            return cancelledError();
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

platform::Status convertTune(const QString &input, const QString &outPath, const QString &format,
                             const std::atomic<bool> *cancel)
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
            if (isCancelled(cancel))
                return cancelledError();
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
