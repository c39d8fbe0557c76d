#include "convert/AnimationConverter.h"

#include "components/TAniFile.h"
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/PngDecoder.h"
#include "components/decoders/WebpChunks.h"
#include "components/decoders/WebpDecoder.h"
#include "convert/AudioEncoder.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <cstring>
#include <map>

namespace convert {

using namespace ffmpeg;

namespace {

platform::Error damaged(const QString &why)
{
    return platform::makeError(Error::Kind::InvalidData, why);
}

platform::Error failed(int code)
{
    return platform::makeError(Error::Kind::Other, QStringLiteral("encoding failed: %1").arg(avError(code)));
}

platform::ErrorOr<Animation> decodeGif(const QString &path)
{
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return data.error();
    const platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(*data);
    if (!facts)
        return facts.error();
    Animation a;
    a.plays = facts->loopCount < 0 ? 1 : facts->loopCount == 0 ? 0 : facts->loopCount + 1;
    pictures::GifComposer composer(*data, *facts);
    for (const pictures::GifFrameInfo &frame : facts->frames) {
        if (!composer.advance())
            return damaged(QStringLiteral("a frame does not decode"));
        a.frames << composer.canvas().copy();
        a.delaysMs << pictures::gifFrameDelayMs(frame.delayCs);
    }
    return a;
}

platform::ErrorOr<Animation> decodeAni(const QString &path)
{
    TAniFile file;
    if (platform::Status status = file.loadFromFile(path); !status)
        return status.error();
    if (file.isEmpty())
        return damaged(QStringLiteral("no cursor frames"));
    // Steps may show frames of different sizes: each is drawn at the top left of the largest.
    QSize size;
    for (int i = 0; i < file.frameCount(); ++i)
        size = size.expandedTo(file.frame(i).size());
    Animation a;
    for (int step = 0; step < file.stepCount(); ++step) {
        QImage canvas(size, QImage::Format_ARGB32);
        canvas.fill(Qt::transparent);
        QPainter(&canvas).drawImage(0, 0, file.stepImage(step));
        a.frames << canvas;
        a.delaysMs << file.stepMs(step);
    }
    return a;
}

// One frame's pixels in the encoder's layout.
bool fill(AVFrame *frame, const QImage &image)
{
    const QImage src = image.convertToFormat(QImage::Format_RGBA8888);
    if (av_frame_make_writable(frame) < 0)
        return false;
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(frame->data[0] + qsizetype(y) * frame->linesize[0], src.constScanLine(y),
                    size_t(src.width()) * 4);
    return true;
}

} // namespace

bool isAnimatedPicture(const QString &path)
{
    // PNG and WebP say so in their first chunks (acTL before the image data, the VP8X flags): a
    // folder of large photos is counted without reading them whole.
    constexpr qint64 kHead = 256 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(kHead);
    if (pictures::isPngData(head)) {
        const platform::ErrorOr<pictures::PngFacts> facts = pictures::scanPng(head);
        return facts && facts->animated;
    }
    if (pictures::isWebpData(head)) {
        const platform::ErrorOr<pictures::WebpInfo> facts = pictures::readWebpInfo(head);
        return facts && facts->animated;
    }
    file.close();
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return false;
    const platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(*data);
    return facts && facts->animated();
}

platform::ErrorOr<Animation> decodeAnimation(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"ani")
        return decodeAni(path);
    if (ext == u"png" || ext == u"apng" || ext == u"webp") {
        // The frames as the viewer plays them: composed, each for its time.
        platform::ErrorOr<pictures::Animation> decoded = pictures::decodeAnimationFile(path);
        if (!decoded)
            return decoded.error();
        Animation a;
        a.frames = std::move(decoded->frames);
        for (int delay : decoded->delaysMs)
            a.delaysMs << pictures::animationDelayMs(delay);
        a.plays = decoded->plays;
        return a;
    }
    return decodeGif(path);
}

platform::Status writeAnimation(const Animation &animation, const QString &outPath)
{
    av_log_set_level(AV_LOG_QUIET);
    if (animation.frames.isEmpty())
        return damaged(QStringLiteral("no frames"));
    const AVPixelFormat pixels = AV_PIX_FMT_RGBA;
    const AVCodec *codec = avcodec_find_encoder_by_name("apng");
    if (!codec)
        return platform::makeError(Error::Kind::Other, QStringLiteral("this FFmpeg has no APNG encoder"));
    AVFormatContext *raw = nullptr;
    if (const int rc = avformat_alloc_output_context2(&raw, nullptr, "apng", nullptr); rc < 0)
        return failed(rc);
    std::unique_ptr<AVFormatContext, OutputDeleter> out(raw);
    std::unique_ptr<AVCodecContext, CodecDeleter> enc(avcodec_alloc_context3(codec));
    if (!enc)
        return failed(AVERROR(ENOMEM));
    const QSize size = animation.frames.first().size();
    enc->width = size.width();
    enc->height = size.height();
    enc->pix_fmt = pixels;
    enc->time_base = AVRational{1, 1000};
    const int opened = avcodec_open2(enc.get(), codec, nullptr);
    if (opened < 0)
        return failed(opened);
    AVStream *stream = avformat_new_stream(out.get(), nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, enc.get()) < 0)
        return failed(AVERROR(ENOMEM));
    stream->time_base = enc->time_base;
    AVDictionary *muxOptions = nullptr;
    av_dict_set_int(&muxOptions, "plays", animation.plays, 0);
    // APNG takes each delay from the next frame's time; the last one is said apart.
    av_dict_set(&muxOptions, "final_delay",
                QStringLiteral("%1/1000")
                    .arg(qMax(1, animation.delaysMs.value(animation.frames.size() - 1, 100)))
                    .toLatin1()
                    .constData(),
                0);
    if (const int rc = avio_open(&out->pb, QFile::encodeName(outPath).constData(), AVIO_FLAG_WRITE); rc < 0)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(outPath, avError(rc)));
    const int header = avformat_write_header(out.get(), &muxOptions);
    av_dict_free(&muxOptions);
    if (header < 0)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(outPath, avError(header)));

    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!frame || !packet)
        return failed(AVERROR(ENOMEM));
    frame->format = pixels;
    frame->width = size.width();
    frame->height = size.height();
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return failed(AVERROR(ENOMEM));
    std::map<int64_t, int> durations; // by presentation time: what the muxers write as delays
    auto drain = [&]() -> platform::Status {
        while (true) {
            const int rc = avcodec_receive_packet(enc.get(), packet.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
                return platform::Status::success();
            if (rc < 0)
                return failed(rc);
            if (const auto it = durations.find(packet->pts); it != durations.end())
                packet->duration = it->second;
            av_packet_rescale_ts(packet.get(), enc->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (const int w = av_interleaved_write_frame(out.get(), packet.get()); w < 0)
                return platform::makeError(Error::Kind::Io,
                                           QStringLiteral("%1: %2").arg(outPath, avError(w)));
        }
    };
    int64_t pts = 0;
    for (qsizetype i = 0; i < animation.frames.size(); ++i) {
        QImage image = animation.frames[i];
        if (image.size() != size)
            image = image.copy(QRect(QPoint(0, 0), size));
        if (!fill(frame.get(), image))
            return failed(AVERROR(ENOMEM));
        frame->pts = pts;
        const int delay = qMax(1, animation.delaysMs.value(i, 100));
        durations[pts] = delay;
        pts += delay;
        if (const int rc = avcodec_send_frame(enc.get(), frame.get()); rc < 0)
            return failed(rc);
        if (platform::Status status = drain(); !status)
            return status;
    }
    if (const int rc = avcodec_send_frame(enc.get(), nullptr); rc < 0)
        return failed(rc);
    if (platform::Status status = drain(); !status)
        return status;
    return ffmpeg::finishOutput(out.get(), outPath);
}

} // namespace convert
