#include "components/decoders/PngDecoder.h"

#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <cstring>
#include <memory>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace pictures {

namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";

quint32 be32(const char *p)
{
    return qFromBigEndian<quint32>(p);
}

// --- FFmpeg over the data in memory ---------------------------------------------------------------

struct MemoryInput
{
    const uint8_t *data;
    int64_t size;
    int64_t pos = 0;
};

int readInput(void *opaque, uint8_t *buffer, int wanted)
{
    auto *in = static_cast<MemoryInput *>(opaque);
    const int64_t left = in->size - in->pos;
    if (left <= 0)
        return AVERROR_EOF;
    const int n = int(std::min<int64_t>(left, wanted));
    std::memcpy(buffer, in->data + in->pos, size_t(n));
    in->pos += n;
    return n;
}

int64_t seekInput(void *opaque, int64_t offset, int whence)
{
    auto *in = static_cast<MemoryInput *>(opaque);
    if (whence & AVSEEK_SIZE)
        return in->size;
    int64_t to = offset;
    if ((whence & 3) == SEEK_CUR)
        to += in->pos;
    else if ((whence & 3) == SEEK_END)
        to += in->size;
    if (to < 0 || to > in->size)
        return AVERROR(EINVAL);
    in->pos = to;
    return to;
}

QString ffmpegText(int rc)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(rc, text, sizeof text);
    return QString::fromUtf8(text);
}

struct IoDeleter
{
    void operator()(AVIOContext *io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct FormatDeleter
{
    void operator()(AVFormatContext *f) const { avformat_close_input(&f); }
};
struct CodecDeleter
{
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct PacketDeleter
{
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct FrameDeleter
{
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct ScaleDeleter
{
    void operator()(SwsContext *s) const { sws_freeContext(s); }
};

// Collects the decoded frames of an APNG as canvases.
class ApngFrames
{
public:
    ApngFrames(const PngFacts &facts, qint64 maxFrames) : m_facts(facts), m_maxFrames(maxFrames) {}

    platform::Status run(QByteArrayView data);
    QList<QImage> frames;

private:
    // False once no more frames are wanted (or one could not be converted).
    bool take(const AVFrame *frame);
    platform::Status drain();

    const PngFacts &m_facts;
    qint64 m_maxFrames;
    std::unique_ptr<AVCodecContext, CodecDeleter> m_codec;
    std::unique_ptr<AVFrame, FrameDeleter> m_frame{av_frame_alloc()};
    std::unique_ptr<SwsContext, ScaleDeleter> m_scale;
    int m_scaleFormat = -1;
    bool m_full = false;
};

platform::Status ApngFrames::run(QByteArrayView data)
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    MemoryInput input{reinterpret_cast<const uint8_t *>(data.data()), data.size()};
    constexpr int kBuffer = 16384;
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBuffer));
    if (!buffer)
        return invalidData(QStringLiteral("Out of memory"));
    std::unique_ptr<AVIOContext, IoDeleter> io(
        avio_alloc_context(buffer, kBuffer, 0, &input, readInput, nullptr, seekInput));
    if (!io) {
        av_free(buffer);
        return invalidData(QStringLiteral("Out of memory"));
    }
    AVFormatContext *opened = avformat_alloc_context();
    if (!opened)
        return invalidData(QStringLiteral("Out of memory"));
    opened->pb = io.get();
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    AVDictionary *options = nullptr;
    // One play of the frames: the player repeats them itself.
    av_dict_set(&options, "ignore_loop", "1", 0);
    int rc = avformat_open_input(&opened, nullptr, av_find_input_format("apng"), &options);
    av_dict_free(&options);
    if (rc < 0) // the context was freed
        return invalidData(QStringLiteral("APNG: ") + ffmpegText(rc));
    std::unique_ptr<AVFormatContext, FormatDeleter> format(opened);
    if (format->nb_streams < 1)
        return invalidData(QStringLiteral("APNG: no stream"));
    const AVCodecParameters *par = format->streams[0]->codecpar;
    const AVCodec *decoder = avcodec_find_decoder(par->codec_id);
    if (!decoder)
        return invalidData(QStringLiteral("APNG: no decoder"));
    m_codec.reset(avcodec_alloc_context3(decoder));
    if (!m_codec || avcodec_parameters_to_context(m_codec.get(), par) < 0)
        return invalidData(QStringLiteral("APNG: decoder refused the stream"));
    m_codec->thread_count = 1;
    if ((rc = avcodec_open2(m_codec.get(), decoder, nullptr)) < 0)
        return invalidData(QStringLiteral("APNG: ") + ffmpegText(rc));
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet || !m_frame)
        return invalidData(QStringLiteral("Out of memory"));
    while (!m_full && (rc = av_read_frame(format.get(), packet.get())) >= 0) {
        rc = avcodec_send_packet(m_codec.get(), packet.get());
        av_packet_unref(packet.get());
        if (rc < 0)
            return invalidData(QStringLiteral("APNG: ") + ffmpegText(rc));
        if (platform::Status s = drain(); !s.ok())
            return s;
    }
    if (m_full)
        return platform::Status::success();
    // The end of the data, or data the demuxer could not read: what came before stays.
    avcodec_send_packet(m_codec.get(), nullptr);
    return drain();
}

platform::Status ApngFrames::drain()
{
    for (;;) {
        const int rc = avcodec_receive_frame(m_codec.get(), m_frame.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return platform::Status::success();
        if (rc < 0)
            return invalidData(QStringLiteral("APNG: ") + ffmpegText(rc));
        const bool more = take(m_frame.get());
        av_frame_unref(m_frame.get());
        if (!more) {
            m_full = true;
            return platform::Status::success();
        }
    }
}

bool ApngFrames::take(const AVFrame *frame)
{
    if (frame->width != m_facts.width || frame->height != m_facts.height)
        return false;
    if (!m_scale || m_scaleFormat != frame->format) {
        m_scale.reset(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                     frame->height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr, nullptr));
        m_scaleFormat = frame->format;
        if (!m_scale)
            return false;
    }
    // AV_PIX_FMT_RGB32 is 0xAARRGGBB in native order: QImage's ARGB32.
    QImage canvas(frame->width, frame->height, QImage::Format_ARGB32);
    if (canvas.isNull())
        return false;
    uint8_t *planes[4] = {canvas.bits(), nullptr, nullptr, nullptr};
    int strides[4] = {int(canvas.bytesPerLine()), 0, 0, 0};
    sws_scale(m_scale.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    frames.append(canvas.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    return frames.size() < m_maxFrames;
}

platform::ErrorOr<QImage> decodeStill(QByteArrayView data)
{
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    // The size was checked against the decoders' own limit.
    reader.setAllocationLimit(0);
    QImage image = reader.read();
    if (image.isNull())
        return invalidData(QStringLiteral("PNG: ") + reader.errorString());
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

bool isPngData(QByteArrayView data)
{
    return data.size() >= 8 && std::memcmp(data.data(), kSignature, 8) == 0;
}

platform::ErrorOr<PngFacts> scanPng(QByteArrayView data)
{
    if (!isPngData(data))
        return invalidData(QStringLiteral("No PNG signature"));
    PngFacts facts;
    qsizetype pos = 8;
    bool header = false;
    bool imageData = false;
    bool control = false;
    int frameControls = 0;
    while (pos + 8 <= data.size()) {
        const quint32 length = be32(data.data() + pos);
        const QByteArrayView type = data.sliced(pos + 4, 4);
        if (length > quint32(0x7fffffff) || qint64(length) + 12 > data.size() - pos)
            break; // cut short
        const char *body = data.data() + pos + 8;
        pos += 12 + qsizetype(length);
        facts.wholeSize = pos;
        if (!header) {
            if (type != QByteArrayView("IHDR") || length != 13)
                return invalidData(QStringLiteral("PNG: no IHDR chunk first"));
            header = true;
            facts.width = int(std::min<quint32>(be32(body), 0x7fffffff));
            facts.height = int(std::min<quint32>(be32(body + 4), 0x7fffffff));
            const int colourType = uchar(body[9]);
            facts.alpha = colourType == 4 || colourType == 6;
        } else if (type == QByteArrayView("tRNS")) {
            facts.alpha = true;
        } else if (type == QByteArrayView("acTL") && length == 8 && !imageData) {
            control = true;
            facts.announcedFrames = int(std::min<quint32>(be32(body), 0x7fffffff));
            facts.plays = int(std::min<quint32>(be32(body + 4), 0x7fffffff));
        } else if (type == QByteArrayView("fcTL") && length == 26) {
            ++frameControls;
            const int num = qFromBigEndian<quint16>(body + 20);
            const int den = qFromBigEndian<quint16>(body + 22);
            facts.delaysMs.append(int(qint64(num) * 1000 / (den == 0 ? 100 : den)));
        } else if (type == QByteArrayView("IDAT")) {
            imageData = true;
        } else if (type == QByteArrayView("IEND")) {
            break;
        }
    }
    if (!header)
        return invalidData(QStringLiteral("PNG: no IHDR chunk"));
    if (!imageSizeAllowed(facts.width, facts.height))
        return sizeRefusal(facts.width, facts.height, QStringLiteral("PNG: bad picture size"));
    facts.animated = control && frameControls > 0;
    if (!facts.animated) {
        facts.plays = 1;
        facts.delaysMs.clear();
    }
    return facts;
}

platform::ErrorOr<Animation> decodePng(QByteArrayView data)
{
    platform::ErrorOr<PngFacts> facts = scanPng(data);
    if (!facts)
        return facts.error();
    data = data.first(facts->wholeSize);
    Animation a;
    a.size = QSize(facts->width, facts->height);
    a.transparent = facts->alpha;
    if (!facts->animated) {
        platform::ErrorOr<QImage> still = decodeStill(data);
        if (!still)
            return still.error();
        if (still->size() != a.size)
            return invalidData(QStringLiteral("PNG: size differs from its header"));
        a.frames.append(*still);
        a.delaysMs.append(0);
        return a;
    }
    // The frames present, not the count acTL announces: a wrong count refuses nothing.
    const qint64 frames = facts->delaysMs.size();
    if (!framesFitLimit(frames, a.size.width(), a.size.height()))
        return tooLarge(QStringLiteral("APNG: %1 frames of %2 x %3 are over the limit")
                            .arg(frames)
                            .arg(a.size.width())
                            .arg(a.size.height()));
    ApngFrames decoded(*facts, facts->delaysMs.size());
    const platform::Status status = decoded.run(data);
    if (decoded.frames.isEmpty())
        return status.ok() ? invalidData(QStringLiteral("APNG: no frame")) : status.error();
    a.frames = std::move(decoded.frames);
    for (int i = 0; i < a.frames.size(); ++i)
        a.delaysMs.append(facts->delaysMs.value(i, 100));
    a.plays = facts->plays;
    return a;
}

} // namespace pictures
