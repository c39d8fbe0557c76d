#include "convert/PictureConverter.h"

#include "components/TImageEn.h"
#include "components/TJPEGImage.h"
#include "components/TPicture.h"
#include "components/decoders/Animation.h"
#include "components/decoders/ExifOrientation.h"
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace convert {

namespace {

using platform::Error;

platform::Error damaged(const QString &path, const QString &why)
{
    return platform::makeError(Error::Kind::InvalidData, QStringLiteral("%1: %2").arg(path, why));
}

} // namespace

platform::ErrorOr<QImage> largestIconImage(const QString &path)
{
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return data.error();
    QImageReader::setAllocationLimit(int(pictures::maxImageBytes() >> 20));
    QBuffer buf;
    buf.setData(*data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "ico");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return damaged(path, QStringLiteral("not an icon"));
    int best = 0;
    qint64 bestArea = -1;
    int bestDepth = -1;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (count > 1 && !reader.jumpToImage(i))
            break;
        const QSize s = reader.size();
        const qint64 area = qint64(s.width()) * s.height();
        // The reader knows an entry's depth only by decoding it; the size decides first.
        int depth = 0;
        if (area == bestArea) {
            const QImage img = reader.read();
            depth = img.depth();
            reader.jumpToImage(i);
        }
        if (area > bestArea || (area == bestArea && depth > bestDepth)) {
            best = i;
            bestArea = area;
            bestDepth = depth;
        }
    }
    if (count > 1)
        reader.jumpToImage(best);
    const QSize size = reader.size();
    if (size.isValid() && !pictures::imageSizeAllowed(size.width(), size.height()))
        return platform::makeError(Error::Kind::TooLarge, QStringLiteral("%1: picture too large").arg(path));
    QImage img = reader.read();
    if (img.isNull())
        return damaged(path, reader.errorString());
    return img;
}

platform::ErrorOr<QImage> decodePicture(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"ico")
        return largestIconImage(path);
    if (ext == u"bmp")
        return decodeBitmapFile(path);
    if (ext == u"jpg" || ext == u"jpeg" || ext == u"jpe") {
        TJPEGImage jpeg;
        if (platform::Status status = jpeg.loadFromFile(path); !status)
            return status.error();
        QImage img = jpeg.bitmap();
        if (!jpeg.lastDecode())
            return jpeg.lastDecode().error();
        // Upright as the camera says, as the viewer shows it by default.
        QFile file(path);
        const int orientation =
            file.open(QIODevice::ReadOnly) ? pictures::exifOrientation(file.read(256 * 1024)) : 1;
        return pictures::upright(img, orientation);
    }
    // What TGIFImage and TImageEn load, by the same calls, without making a widget.
    if (ext == u"gif") {
        const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
        if (!data)
            return data.error();
        const platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(*data);
        if (!facts)
            return facts.error();
        if (facts->animated())
            return platform::makeError(
                Error::Kind::Other,
                QStringLiteral("%1: animated GIF (animations are not still pictures)").arg(path));
        pictures::GifComposer composer(*data, *facts);
        if (!composer.advance())
            return damaged(path, QStringLiteral("no frame"));
        return composer.canvas();
    }
    if (ext == u"png" || ext == u"apng" || ext == u"webp") {
        // The decoders the viewer uses: sizes checked first, alpha kept.
        platform::ErrorOr<pictures::Animation> decoded = pictures::decodeAnimationFile(path);
        if (!decoded)
            return decoded.error();
        if (decoded->animated())
            return platform::makeError(
                Error::Kind::Other,
                QStringLiteral("%1: animation (animations are not still pictures)").arg(path));
        return decoded->frames.first();
    }
    if (ext == u"pcx" || ext == u"tif" || ext == u"tiff") {
        const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
        if (!data)
            return data.error();
        return TImageEn::decode(*data, QFileInfo(path).suffix(), Qt::white);
    }
    return damaged(path, QStringLiteral("not a still picture"));
}

platform::Status writePicture(const QImage &img, const QString &path, const QString &format)
{
    if (img.isNull())
        return platform::makeError(Error::Kind::InvalidData, QStringLiteral("no picture to write"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(path, file.errorString()));
    QImageWriter writer(&file, format.toLatin1());
    // Quality 100 makes Qt's WebP writer lossless; for PNG it is the compression, left as Qt sets it.
    if (format == u"webp")
        writer.setQuality(100);
    if (!writer.write(img)) {
        const bool deviceFailed = writer.error() == QImageWriter::DeviceError;
        return platform::makeError(deviceFailed ? Error::Kind::Io : Error::Kind::Other,
                                   QStringLiteral("%1: %2").arg(path, writer.errorString()));
    }
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(path, file.errorString()));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(path, file.errorString()));
    return platform::Status::success();
}

} // namespace convert
