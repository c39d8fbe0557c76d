#include "thumbnails/Thumbnail.h"

#include "components/decoders/JpegDecoder.h"
#include "thumbnails/ThumbnailTypes.h"

#include <QFile>
#include <QFileInfo>

namespace thumbs {

using platform::Error;

namespace {

enum class Kind { None, Bmp, Jpeg, Gif, Ani, Ico, Pcx, Tiff, Wmf, Emf, Clip, Sound, Midi, PngWebp };

Kind kindOf(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    static const std::pair<const char *, Kind> table[] = {
        {"bmp", Kind::Bmp},
        {"jpg", Kind::Jpeg},
        {"jpeg", Kind::Jpeg},
        {"jpe", Kind::Jpeg},
        {"gif", Kind::Gif},
        {"ani", Kind::Ani},
        {"ico", Kind::Ico},
        {"pcx", Kind::Pcx},
        {"tif", Kind::Tiff},
        {"tiff", Kind::Tiff},
        {"wmf", Kind::Wmf},
        {"emf", Kind::Emf},
        {"avi", Kind::Clip},
        {"wav", Kind::Sound},
        {"mid", Kind::Midi},
        {"midi", Kind::Midi},
        // The later types: pictures by their own decoders, sounds and clips in the containers FFmpeg probes.
        {"png", Kind::PngWebp},
        {"apng", Kind::PngWebp},
        {"webp", Kind::PngWebp},
        {"mp3", Kind::Sound},
        {"ogg", Kind::Sound},
        {"oga", Kind::Sound},
        {"opus", Kind::Sound},
        {"flac", Kind::Sound},
        {"mp4", Kind::Clip},
        {"m4v", Kind::Clip},
        {"mov", Kind::Clip},
        {"mkv", Kind::Clip},
        {"webm", Kind::Clip},
    };
    for (const auto &[name, kind] : table)
        if (ext == QLatin1String(name))
            return kind;
    return Kind::None;
}

platform::ErrorOr<QByteArray> readLimited(const QString &path, const Budget &budget)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return platform::makeError(Error::Kind::FileOpen,
                                   QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (file.size() > budget.limits().maxFileBytes)
        return platform::makeError(Error::Kind::TooLarge, QStringLiteral("%1: file too large").arg(path));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return platform::makeError(Error::Kind::FileOpen,
                                   QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (data.isEmpty())
        return damaged(QStringLiteral("%1: empty file").arg(path));
    return data;
}

platform::ErrorOr<Made> fromData(const QByteArray &data, Kind kind, int box, const Budget &budget)
{
    switch (kind) {
    case Kind::Bmp:
        return bmpThumbnail(data, box, budget);
    case Kind::Jpeg:
        return jpegThumbnail(data, box, budget);
    case Kind::Gif:
        return gifThumbnail(data, box, budget);
    case Kind::Ani:
        return aniThumbnail(data, box, budget);
    case Kind::Ico:
        return icoThumbnail(data, box, budget);
    case Kind::Pcx:
        return pcxThumbnail(data, box, budget);
    case Kind::Tiff:
        return tiffThumbnail(data, box, budget);
    case Kind::Wmf:
        return metafileThumbnail(data, false, box, budget);
    case Kind::Emf:
        return metafileThumbnail(data, true, box, budget);
    case Kind::Midi:
        return midiThumbnail(data, box, budget);
    case Kind::PngWebp:
        return pngWebpThumbnail(data, box, budget);
    default:
        return damaged(QStringLiteral("not a type read from memory"));
    }
}

} // namespace

platform::Error Budget::stopped() const
{
    if (m_limits.cancel && m_limits.cancel->load())
        return platform::makeError(Error::Kind::Other, QStringLiteral("cancelled"), 1);
    return platform::makeError(Error::Kind::Other,
                               QStringLiteral("took longer than %1 ms").arg(m_limits.maxMilliseconds));
}

platform::Status Budget::allowPicture(qint64 width, qint64 height) const
{
    if (width <= 0 || height <= 0)
        return damaged(QStringLiteral("picture of %1 x %2 pixels").arg(width).arg(height));
    if (width * height > m_limits.maxPicturePixels)
        return platform::makeError(
            Error::Kind::TooLarge,
            QStringLiteral("picture of %1 x %2 pixels, over the limit").arg(width).arg(height));
    return platform::Status::success();
}

platform::Error damaged(const QString &why)
{
    return platform::makeError(Error::Kind::InvalidData, why);
}

bool hasThumbnailType(const QString &path)
{
    return kindOf(path) != Kind::None;
}

int jpegScaleForBox(int width, int height, int box)
{
    const double fit =
        std::min(1.0, std::min(double(box) / std::max(1, width), double(box) / std::max(1, height)));
    const int needW = int(std::ceil(width * fit - 1e-9)), needH = int(std::ceil(height * fit - 1e-9));
    for (int scale = 3; scale > 0; --scale)
        if (pictures::jpegScaledSize(width, scale) >= needW &&
            pictures::jpegScaledSize(height, scale) >= needH)
            return scale;
    return 0;
}

QImage fitInBox(const QImage &img, int box)
{
    if (img.isNull())
        return {};
    QImage out = img.width() > box || img.height() > box
                     ? img.scaled(box, box, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                     : img;
    return out.convertToFormat(QImage::Format_ARGB32);
}

platform::ErrorOr<Made> makeThumbnailWithSize(const QString &path, int box, const Limits &limits)
{
    const Kind kind = kindOf(path);
    if (kind == Kind::None)
        return damaged(QStringLiteral("%1: not a media file").arg(path));
    if (box < 16 || box > 1024)
        return platform::makeError(Error::Kind::Other,
                                   QStringLiteral("thumbnail size %1 out of range").arg(box));
    const Budget budget(limits);
    platform::ErrorOr<Made> made = platform::makeError(Error::Kind::Other, QString());
    if (kind == Kind::Clip) {
        made = videoThumbnail(path, box, budget);
    } else if (kind == Kind::Sound) {
        if (QFileInfo(path).size() > limits.maxFileBytes)
            return platform::makeError(Error::Kind::TooLarge, QStringLiteral("%1: file too large").arg(path));
        made = waveThumbnail(path, box, budget);
    } else {
        const platform::ErrorOr<QByteArray> data = readLimited(path, budget);
        if (!data)
            return data.error();
        made = fromData(*data, kind, box, budget);
    }
    if (!made)
        return platform::makeError(
            made.error().kind, QStringLiteral("%1: %2").arg(path, made.error().message), made.error().code);
    if (!budget.ok())
        return budget.stopped();
    made->image = fitInBox(made->image, box);
    if (made->image.isNull())
        return damaged(QStringLiteral("%1: nothing to show").arg(path));
    return made;
}

platform::ErrorOr<QImage> thumbnailOfData(const QByteArray &data, const QString &extension, int box,
                                          const Limits &limits)
{
    const Budget budget(limits);
    platform::ErrorOr<Made> made = fromData(data, kindOf(QStringLiteral("x.") + extension), box, budget);
    if (!made)
        return made.error();
    QImage img = fitInBox(made->image, box);
    if (img.isNull())
        return damaged(QStringLiteral("nothing to show"));
    return img;
}

platform::ErrorOr<QImage> makeThumbnail(const QString &path, int box, const Limits &limits)
{
    platform::ErrorOr<Made> made = makeThumbnailWithSize(path, box, limits);
    if (!made)
        return made.error();
    return std::move(made->image);
}

} // namespace thumbs
