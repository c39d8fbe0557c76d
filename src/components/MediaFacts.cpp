#include "components/MediaFacts.h"

#include "components/TPicture.h"
#include "components/decoders/AniDecoder.h"
#include "components/decoders/DibDecoder.h"
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/JpegDecoder.h"
#include "components/decoders/MetafilePlayer.h"
#include "components/decoders/PcxDecoder.h"
#include "components/decoders/PngChunks.h"
#include "components/decoders/TiffDecoder.h"
#include "components/decoders/WebpChunks.h"
#include "platform/media/AnimationClip.h"
#include "platform/media/MediaLength.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace mediafacts {

namespace {

// Enough for any header these formats start with (JPEG's may follow a large Exif block).
constexpr qint64 kHeaderBytes = 256 * 1024;

QByteArray readStart(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(bytes);
}

QByteArray readAll(const QString &path)
{
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    return data ? *data : QByteArray();
}

PictureFacts sized(qint64 width, qint64 height, bool monochrome = false)
{
    PictureFacts f;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return f;
    f.ok = true;
    f.width = int(width);
    f.height = int(height);
    f.monochrome = monochrome;
    return f;
}

PictureFacts bmpFacts(const QString &path)
{
    const QByteArray data = readStart(path, kHeaderBytes);
    if (!data.startsWith("BM"))
        return {};
    const platform::ErrorOr<pictures::DibInfo> info =
        pictures::readDibHeader(QByteArrayView(data).sliced(qMin<qsizetype>(14, data.size())));
    // The picture control refuses a bitmap file shorter than its header says: the same test here.
    if (!info || !pictures::bitmapFileComplete(data, QFileInfo(path).size()))
        return {};
    // Qt's reader gives a 1-bit bitmap for 1-bit files, as the page then reports.
    return sized(info->width, info->height, info->bitCount == 1);
}

PictureFacts icoFacts(const QString &path)
{
    const QByteArray data = readAll(path);
    const QSize size = iconPictureSize(data);
    if (!size.isValid())
        return {};
    // Icons are small: the image the picture control shows (the first of the nearest size) is
    // decoded, so that one cut short answers nothing as it does there.
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "ico");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (reader.imageCount() > 1 && !reader.jumpToImage(i))
            break;
        if (reader.size() == size)
            return reader.read().isNull() ? PictureFacts{} : sized(size.width(), size.height());
    }
    return {};
}

// Whether the picture data holds every row, as the decoder reads it (runs may cross row ends).
bool pcxComplete(const QByteArray &data, const pictures::PcxHeaderInfo &info)
{
    constexpr int kHeaderSize = 128;
    const auto *d = reinterpret_cast<const uchar *>(data.constData());
    const int bytesPerLine = qFromLittleEndian<quint16>(d + 66);
    if (bytesPerLine < (info.width * info.bitsPerPlane + 7) / 8)
        return false;
    const qint64 total = qint64(bytesPerLine) * info.planes * info.height;
    const qint64 n = data.size();
    if (!info.rle)
        return n - kHeaderSize >= total;
    qint64 got = 0;
    for (qint64 p = kHeaderSize; got < total;) {
        if (p >= n)
            return false;
        const uchar b = d[p++];
        if ((b & 0xc0) == 0xc0) {
            if (p >= n)
                return false;
            got += b & 0x3f;
            ++p;
        } else {
            ++got;
        }
    }
    return true;
}

PictureFacts pcxFacts(const QString &path)
{
    // A file cut short is refused by the decoder: every run is walked to know.
    const QByteArray data = readAll(path);
    const platform::ErrorOr<pictures::PcxHeaderInfo> info = pictures::readPcxHeader(data);
    if (!info || !pcxComplete(data, *info))
        return {};
    return sized(info->width, info->height, info->bitsPerPlane == 1 && info->planes == 1);
}

PictureFacts tiffFacts(const QString &path)
{
    // The first image's directory may lie anywhere in the file.
    const platform::ErrorOr<pictures::TiffHeaderInfo> info = pictures::readTiffHeader(readAll(path));
    if (!info)
        return {};
    return sized(info->width, info->height, info->bilevel);
}

PictureFacts metafileFacts(const QString &path, bool enhanced)
{
    // The size may come from a record anywhere before the end; metafiles are small.
    const QByteArray data = readAll(path);
    const platform::ErrorOr<QSize> size =
        enhanced ? pictures::emfPictureSize(data) : pictures::wmfPictureSize(data);
    // Metafiles are drawn onto a bitmap one pixel narrower and lower, in colour.
    return size ? sized(size->width() - 1, size->height() - 1) : PictureFacts{};
}

PictureFacts aniFacts(const QString &path)
{
    const platform::ErrorOr<pictures::AniData> ani = pictures::decodeAni(readAll(path));
    if (!ani || ani->frames.isEmpty())
        return {};
    const QSize size = ani->frames.first().size();
    return sized(size.width(), size.height());
}

// Whether the data reaches the end-of-image marker after a scan: the decoder fails on a file
// that ends before it. Segments are skipped by their length (an Exif thumbnail holds markers of
// its own); scan data is searched for the next marker.
bool jpegComplete(const QByteArray &data)
{
    const auto *d = reinterpret_cast<const uchar *>(data.constData());
    const qint64 n = data.size();
    bool scanned = false;
    for (qint64 i = 2; i + 1 < n;) {
        if (d[i] != 0xff) {
            const void *next = std::memchr(d + i, 0xff, size_t(n - i));
            if (!next)
                return false;
            i = static_cast<const uchar *>(next) - d;
            continue;
        }
        const uchar m = d[i + 1];
        if (m == 0xff) { // fill byte
            ++i;
            continue;
        }
        if (m == 0x00 || m == 0x01 || (m >= 0xd0 && m <= 0xd7)) { // stuffed byte, TEM, restart
            i += 2;
            continue;
        }
        if (m == 0xd9)
            return scanned;
        if (i + 4 > n)
            return false;
        if (m == 0xda)
            scanned = true;
        i += 2 + ((qint64(d[i + 2]) << 8) | d[i + 3]);
    }
    return false;
}

ImageFacts pngFacts(QIODevice &in)
{
    const platform::ErrorOr<pictures::PngInfo> png = pictures::readPngInfo(in);
    ImageFacts f;
    if (!png)
        return f;
    f.ok = true;
    f.damaged = !png->complete;
    f.width = png->width;
    f.height = png->height;
    // A palette's entries are 8-bit samples whatever the bits of its indices.
    f.bitDepth = png->colourType == 3 ? 8 : png->bitDepth;
    f.alpha = png->alpha;
    f.frameCount = png->frames;
    return f;
}

ImageFacts webpFacts(const QString &path)
{
    const platform::ErrorOr<pictures::WebpInfo> webp = pictures::readWebpInfo(readAll(path));
    ImageFacts f;
    if (!webp)
        return f;
    f.ok = true;
    f.damaged = !webp->complete;
    f.width = webp->width;
    f.height = webp->height;
    f.bitDepth = 8; // lossy and lossless alike
    f.alpha = webp->alpha;
    // An animation cut before its first whole frame still is one, of no frame.
    f.frameCount = webp->frames;
    return f;
}

} // namespace

PictureFacts readPictureFacts(const QString &nativePath)
{
    const QString ext = QFileInfo(nativePath).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return bmpFacts(nativePath);
    if (ext == QLatin1String("ico"))
        return icoFacts(nativePath);
    if (ext == QLatin1String("pcx"))
        return pcxFacts(nativePath);
    if (ext == QLatin1String("tif") || ext == QLatin1String("tiff"))
        return tiffFacts(nativePath);
    if (ext == QLatin1String("wmf"))
        return metafileFacts(nativePath, false);
    if (ext == QLatin1String("emf"))
        return metafileFacts(nativePath, true);
    if (ext == QLatin1String("ani"))
        return aniFacts(nativePath);
    return {};
}

PictureFacts readJpegFacts(const QString &nativePath, int scale)
{
    // The whole file: the frame header may follow long markers, and a file cut short shows nothing.
    const QByteArray data = readAll(nativePath);
    const platform::ErrorOr<pictures::JpegHeader> header = pictures::readJpegHeader(data);
    if (!header || !jpegComplete(data))
        return {};
    const int s = std::clamp(scale, 0, 3);
    return sized(pictures::jpegScaledSize(header->width, s), pictures::jpegScaledSize(header->height, s));
}

GifFacts readGifFacts(const QString &nativePath)
{
    // The frame facts come from walking every block of the file (no picture is decoded).
    const platform::ErrorOr<pictures::GifFacts> scanned = pictures::scanGif(readAll(nativePath));
    GifFacts f;
    if (!scanned)
        return f;
    const pictures::GifFacts &facts = *scanned;
    f.ok = true;
    f.width = facts.width;
    f.height = facts.height;
    f.frameCount = int(facts.frames.size());
    f.animated = facts.animated();
    f.interlaced = facts.interlaced;
    f.transparent = facts.transparent;
    return f;
}

int64_t readSoundLengthMs(const QString &nativePath)
{
    return platform::media::probeMediaLengthMs(nativePath);
}

ImageFacts readImageFacts(const QString &nativePath)
{
    // PNG chunks are walked from the file (a large one need not be held); WebP's demuxer wants
    // the bytes.
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray start = file.peek(12);
    if (start.startsWith("\x89PNG"))
        return pngFacts(file);
    file.close();
    if (start.startsWith("RIFF") && start.mid(8, 4) == "WEBP")
        return webpFacts(nativePath);
    return {};
}

ClipFacts readClipFacts(const QString &nativePath)
{
    ClipFacts f;
    f.inWindow = platform::media::probeAnimationClip(nativePath).accepted;
    if (!f.inWindow)
        f.lengthMs = platform::media::probeMediaLengthMs(nativePath);
    return f;
}

} // namespace mediafacts
