// Pictures and drawings, through the decoders the viewer pages use.
#include "components/decoders/AniDecoder.h"
#include "components/decoders/Animation.h"
#include "components/decoders/DibDecoder.h"
#include "components/decoders/ExifOrientation.h"
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/JpegDecoder.h"
#include "components/decoders/MetafilePlayer.h"
#include "components/decoders/PcxDecoder.h"
#include "components/decoders/PngDecoder.h"
#include "components/decoders/TiffDecoder.h"
#include "components/decoders/WebpChunks.h"
#include "thumbnails/ThumbnailTypes.h"

#include <QBuffer>
#include <QImageReader>
#include <cmath>

namespace thumbs {

namespace {

Made picture(QImage img)
{
    Made m;
    m.pictureSize = img.size();
    m.image = std::move(img);
    return m;
}

// Qt's reader over bytes, without guessing another format from the content.
struct Reader
{
    Reader(const QByteArray &data, const char *format) : reader(&buffer, format)
    {
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        reader.setDecideFormatFromContent(false);
        reader.setAutoDetectImageFormat(false);
    }
    QBuffer buffer;
    QImageReader reader;
};

} // namespace

platform::ErrorOr<Made> bmpThumbnail(const QByteArray &data, int, const Budget &budget)
{
    if (data.startsWith("BM") && !pictures::bitmapFileComplete(data, data.size()))
        return damaged(QStringLiteral("bitmap file truncated"));
    Reader r(data, "bmp");
    if (!r.reader.canRead())
        return damaged(QStringLiteral("not a BMP picture"));
    const QSize size = r.reader.size();
    if (platform::Status allowed = budget.allowPicture(size.width(), size.height()); !allowed)
        return allowed.error();
    QImage img = r.reader.read();
    if (img.isNull())
        return damaged(r.reader.errorString());
    return picture(std::move(img));
}

platform::ErrorOr<Made> jpegThumbnail(const QByteArray &data, int box, const Budget &budget)
{
    const platform::ErrorOr<pictures::JpegHeader> header = pictures::readJpegHeader(data);
    if (!header)
        return header.error();
    pictures::JpegOptions options;
    options.scale = jpegScaleForBox(header->width, header->height, box);
    // What is decoded is the scaled picture: the limit applies to it.
    const int w = pictures::jpegScaledSize(header->width, options.scale);
    const int h = pictures::jpegScaledSize(header->height, options.scale);
    if (platform::Status allowed = budget.allowPicture(w, h); !allowed)
        return allowed.error();
    platform::ErrorOr<QImage> img = pictures::decodeJpeg(data, options, {});
    if (!img)
        return img.error();
    Made m;
    m.image = pictures::upright(*img, pictures::exifOrientation(data.left(256 * 1024)));
    const bool turned = m.image.size() != img->size();
    m.pictureSize = turned ? QSize(header->height, header->width) : QSize(header->width, header->height);
    return m;
}

platform::ErrorOr<Made> gifThumbnail(const QByteArray &data, int, const Budget &budget)
{
    const platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(data);
    if (!facts)
        return facts.error();
    if (platform::Status allowed = budget.allowPicture(facts->width, facts->height); !allowed)
        return allowed.error();
    pictures::GifComposer composer(data, *facts);
    if (!composer.advance())
        return damaged(QStringLiteral("no frame"));
    return picture(composer.canvas());
}

platform::ErrorOr<Made> pngWebpThumbnail(const QByteArray &data, int, const Budget &budget)
{
    // The size from the headers, refused over the limit before any pixel is decoded.
    QSize size;
    if (pictures::isPngData(data)) {
        const platform::ErrorOr<pictures::PngFacts> facts = pictures::scanPng(data);
        if (!facts)
            return facts.error();
        size = QSize(facts->width, facts->height);
    } else {
        const platform::ErrorOr<pictures::WebpInfo> facts = pictures::readWebpInfo(data);
        if (!facts)
            return facts.error();
        size = QSize(facts->width, facts->height);
    }
    if (platform::Status allowed = budget.allowPicture(size.width(), size.height()); !allowed)
        return allowed.error();
    // An animation's thumbnail is its first frame, as the viewer first shows it.
    const platform::ErrorOr<pictures::Animation> decoded = pictures::decodeAnimation(data);
    if (!decoded)
        return decoded.error();
    return picture(decoded->frames.first());
}

platform::ErrorOr<Made> aniThumbnail(const QByteArray &data, int, const Budget &)
{
    // Cursor frames are small and the decoder bounds their total.
    const platform::ErrorOr<pictures::AniData> ani = pictures::decodeAni(data);
    if (!ani)
        return ani.error();
    int first = ani->sequence.isEmpty() ? 0 : ani->sequence.first();
    if (first < 0 || first >= ani->frames.size())
        first = 0;
    if (ani->frames.isEmpty() || ani->frames[first].isNull())
        return damaged(QStringLiteral("no frame"));
    return picture(ani->frames[first]);
}

platform::ErrorOr<Made> icoThumbnail(const QByteArray &data, int, const Budget &budget)
{
    Reader r(data, "ico");
    if (!r.reader.canRead())
        return damaged(QStringLiteral("not an icon"));
    int best = 0;
    qint64 bestArea = -1;
    const int count = std::max(1, r.reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (count > 1 && !r.reader.jumpToImage(i))
            break;
        const QSize s = r.reader.size();
        if (qint64(s.width()) * s.height() > bestArea) {
            best = i;
            bestArea = qint64(s.width()) * s.height();
        }
    }
    if (count > 1)
        r.reader.jumpToImage(best);
    const QSize size = r.reader.size();
    if (platform::Status allowed = budget.allowPicture(size.width(), size.height()); !allowed)
        return allowed.error();
    QImage img = r.reader.read();
    if (img.isNull())
        return damaged(r.reader.errorString());
    return picture(std::move(img));
}

// A format whose header gives the size: the budget is asked before anything is decoded.
template <typename ReadHeader, typename Decode>
platform::ErrorOr<Made> headerCheckedPicture(const QByteArray &data, const Budget &budget,
                                             ReadHeader readHeader, Decode decode)
{
    const auto header = readHeader(data);
    if (!header)
        return header.error();
    if (platform::Status allowed = budget.allowPicture(header->width, header->height); !allowed)
        return allowed.error();
    platform::ErrorOr<QImage> img = decode(data);
    if (!img)
        return img.error();
    return picture(std::move(*img));
}

platform::ErrorOr<Made> pcxThumbnail(const QByteArray &data, int, const Budget &budget)
{
    return headerCheckedPicture(data, budget, pictures::readPcxHeader, pictures::decodePcx);
}

platform::ErrorOr<Made> tiffThumbnail(const QByteArray &data, int, const Budget &budget)
{
    return headerCheckedPicture(data, budget, pictures::readTiffHeader, pictures::decodeTiff);
}

platform::ErrorOr<Made> metafileThumbnail(const QByteArray &data, bool enhanced, int box, const Budget &)
{
    const platform::ErrorOr<QSize> size =
        enhanced ? pictures::emfPictureSize(data) : pictures::wmfPictureSize(data);
    if (!size)
        return size.error();
    if (size->width() <= 0 || size->height() <= 0)
        return damaged(QStringLiteral("drawing without a size"));
    // Drawn at the box's size: the cost is the box's pixels, whatever size the file claims.
    const double scale = std::min(double(box) / size->width(), double(box) / size->height());
    const int w = std::clamp(int(std::lround(size->width() * scale)), 1, box);
    const int h = std::clamp(int(std::lround(size->height() * scale)), 1, box);
    QImage img(w, h, QImage::Format_ARGB32);
    if (img.isNull())
        return pictures::tooLarge(QStringLiteral("out of memory"));
    const platform::Status played = enhanced ? pictures::playEmf(data, img, scale, Qt::white)
                                             : pictures::playWmf(data, img, scale, Qt::white);
    if (!played)
        return played.error();
    Made m;
    m.image = std::move(img);
    m.pictureSize = *size;
    return m;
}

} // namespace thumbs
