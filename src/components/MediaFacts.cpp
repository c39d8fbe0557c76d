#include "components/MediaFacts.h"

#include "components/TPicture.h"
#include "components/decoders/AniDecoder.h"
#include "components/decoders/DibDecoder.h"
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/JpegDecoder.h"
#include "components/decoders/MetafilePlayer.h"
#include "components/decoders/PcxDecoder.h"
#include "components/decoders/TiffDecoder.h"
#include "platform/media/AnimationClip.h"
#include "platform/media/MediaLength.h"

#include <QFile>
#include <QFileInfo>

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
    pictures::DibInfo info;
    QString error;
    if (!data.startsWith("BM") ||
        !pictures::readDibHeader(QByteArrayView(data).sliced(qMin<qsizetype>(14, data.size())), info, error))
        return {};
    // Qt's reader gives a 1-bit bitmap for 1-bit files, as the page then reports.
    return sized(info.width, info.height, info.bitCount == 1);
}

PictureFacts icoFacts(const QString &path)
{
    const QSize size = iconPictureSize(readAll(path));
    return sized(size.width(), size.height());
}

PictureFacts pcxFacts(const QString &path)
{
    pictures::PcxHeaderInfo info;
    QString error;
    if (!pictures::readPcxHeader(readStart(path, kHeaderBytes), info, error))
        return {};
    return sized(info.width, info.height, info.bitsPerPlane == 1 && info.planes == 1);
}

PictureFacts tiffFacts(const QString &path)
{
    // The first image's directory may lie anywhere in the file.
    pictures::TiffHeaderInfo info;
    QString error;
    if (!pictures::readTiffHeader(readAll(path), info, error))
        return {};
    return sized(info.width, info.height, info.bilevel);
}

PictureFacts metafileFacts(const QString &path, bool enhanced)
{
    // The size may come from a record anywhere before the end; metafiles are small.
    const QByteArray data = readAll(path);
    QSize size;
    QString error;
    const bool ok =
        enhanced ? pictures::emfPictureSize(data, size, error) : pictures::wmfPictureSize(data, size, error);
    // Metafiles are drawn onto a bitmap one pixel narrower and lower, in colour.
    return ok ? sized(size.width() - 1, size.height() - 1) : PictureFacts{};
}

PictureFacts aniFacts(const QString &path)
{
    pictures::AniData ani;
    QString error;
    if (!pictures::decodeAni(readAll(path), ani, error) || ani.frames.isEmpty())
        return {};
    const QSize size = ani.frames.first().size();
    return sized(size.width(), size.height());
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
    QByteArray data = readStart(nativePath, kHeaderBytes);
    pictures::JpegHeader header;
    QString error;
    if (!pictures::readJpegHeader(data, header, error)) {
        // Markers before the frame header may be longer than the first bytes.
        if (data.size() < kHeaderBytes)
            return {};
        data = readAll(nativePath);
        if (!pictures::readJpegHeader(data, header, error))
            return {};
    }
    const int s = std::clamp(scale, 0, 3);
    return sized(pictures::jpegScaledSize(header.width, s), pictures::jpegScaledSize(header.height, s));
}

GifFacts readGifFacts(const QString &nativePath)
{
    // The frame facts come from walking every block of the file (no picture is decoded).
    pictures::GifFacts facts;
    QString error;
    GifFacts f;
    if (!pictures::scanGif(readAll(nativePath), facts, error))
        return f;
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

ClipFacts readClipFacts(const QString &nativePath)
{
    ClipFacts f;
    f.inWindow = platform::media::probeAnimationClip(nativePath).accepted;
    if (!f.inWindow)
        f.lengthMs = platform::media::probeMediaLengthMs(nativePath);
    return f;
}

} // namespace mediafacts
