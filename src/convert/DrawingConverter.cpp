#include "convert/DrawingConverter.h"

#include "components/TImageEn.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QSvgGenerator>
#include <cmath>

namespace convert {

namespace {

using platform::Error;

struct Drawing
{
    QByteArray data;
    bool enhanced = false;
    QSize viewerSize; // the viewer's bitmap: one pixel narrower and lower than the drawing's size
};

platform::ErrorOr<Drawing> readDrawing(const QString &path)
{
    platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return data.error();
    Drawing d;
    d.data = std::move(*data);
    d.enhanced = QFileInfo(path).suffix().toLower() == u"emf";
    const platform::ErrorOr<QSize> size =
        d.enhanced ? pictures::emfPictureSize(d.data) : pictures::wmfPictureSize(d.data);
    if (!size)
        return size.error();
    d.viewerSize = *size - QSize(1, 1);
    return d;
}

platform::Status play(const Drawing &d, QPaintDevice &device, double scale)
{
    return d.enhanced ? pictures::playEmf(d.data, device, scale, Qt::white)
                      : pictures::playWmf(d.data, device, scale, Qt::white);
}

} // namespace

platform::ErrorOr<QImage> drawingPicture(const QString &path, int width)
{
    const platform::ErrorOr<Drawing> d = readDrawing(path);
    if (!d)
        return d.error();
    if (width <= 0 || width == d->viewerSize.width())
        return TImageEn::decode(d->data, QFileInfo(path).suffix(), Qt::white);
    const double scale = double(width) / d->viewerSize.width();
    const int height = std::max(1, int(std::lround(d->viewerSize.height() * scale)));
    if (!pictures::imageSizeAllowed(width, height))
        return pictures::sizeRefusal(width, height, QStringLiteral("%1 x %2 pixels").arg(width).arg(height));
    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull())
        return pictures::tooLarge(QStringLiteral("out of memory"));
    if (platform::Status status = play(*d, img, scale); !status)
        return status.error();
    return img;
}

platform::Status writeDrawingSvg(const QString &path, const QString &outPath)
{
    const platform::ErrorOr<Drawing> d = readDrawing(path);
    if (!d)
        return d.error();
    QFile file(outPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return platform::makeError(Error::Kind::Io,
                                   QStringLiteral("%1: %2").arg(outPath, file.errorString()));
    platform::Status played;
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(d->viewerSize);
        svg.setViewBox(QRect(QPoint(0, 0), d->viewerSize));
        svg.setResolution(96);
        svg.setTitle(QFileInfo(path).fileName());
        // The generator writes the document when the player's painter ends.
        played = play(*d, svg, 1);
    }
    if (!played)
        return played;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return platform::makeError(Error::Kind::Io,
                                   QStringLiteral("%1: %2").arg(outPath, file.errorString()));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return platform::makeError(Error::Kind::Io,
                                   QStringLiteral("%1: %2").arg(outPath, file.errorString()));
    return platform::Status::success();
}

} // namespace convert
