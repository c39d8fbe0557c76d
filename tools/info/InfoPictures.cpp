// Describers for the picture types: each file goes through the component the viewer pages use,
// and what that component reports becomes the file's JSON line.
#include "Info.h"

#include "components/TAniIcon.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TJPEGImage.h"
#include "components/TPicture.h"

#include <QImage>
#include <QJsonArray>

namespace {

bool render(const QImage &img, const info::Options &opts, QJsonObject &obj)
{
    if (opts.renderPath.isEmpty())
        return true;
    if (img.isNull() || !img.save(opts.renderPath, "PNG")) {
        obj["error"] = QStringLiteral("cannot write %1").arg(opts.renderPath);
        return false;
    }
    return true;
}

bool fail(QJsonObject &obj, const platform::Status &status)
{
    obj["error"] = status.message();
    return false;
}

bool describeStill(const QString &path, const info::Options &opts, QJsonObject &obj)
{
    TPicture pic;
    if (platform::Status status = pic.loadFromFile(path); !status)
        return fail(obj, status);
    obj["width"] = pic.pictureWidth();
    obj["height"] = pic.pictureHeight();
    obj["monochrome"] = pic.isMonochrome();
    return render(pic.image(), opts, obj);
}

bool describeJpeg(const QString &path, const info::Options &opts, QJsonObject &obj)
{
    TJPEGImage jpeg;
    if (platform::Status status = jpeg.loadFromFile(path); !status)
        return fail(obj, status);
    jpeg.setPixelFormat(opts.jpeg8bit ? TJPEGImage::Format8Bit : TJPEGImage::Format24Bit);
    jpeg.setScale(opts.jpegScale);
    jpeg.setGrayscale(opts.jpegGray);
    jpeg.setPerformance(opts.jpegFast ? TJPEGImage::BestSpeed : TJPEGImage::BestQuality);
    // Decoding here, not only reading the header, so damaged data shows as a failure.
    const QImage &img = jpeg.bitmap();
    if (!jpeg.lastDecode())
        return fail(obj, jpeg.lastDecode());
    obj["width"] = jpeg.width();
    obj["height"] = jpeg.height();
    obj["monochrome"] = false;
    obj["progressive"] = jpeg.isProgressive();
    return render(img, opts, obj);
}

bool describeGif(const QString &path, const info::Options &opts, QJsonObject &obj)
{
    TGIFImage gif;
    if (platform::Status status = gif.loadFromFile(path); !status)
        return fail(obj, status);
    obj["width"] = gif.imageWidth();
    obj["height"] = gif.imageHeight();
    obj["monochrome"] = false;
    obj["frames"] = gif.frameCount();
    obj["animated"] = gif.isAnimated();
    obj["interlaced"] = gif.isInterlaced();
    obj["transparent"] = gif.isTransparent();
    obj["speed"] = gif.speed();
    obj["loop"] = gif.loopCount();
    return render(gif.currentFrame(), opts, obj);
}

bool describeAni(const QString &path, const info::Options &opts, QJsonObject &obj)
{
    TAniIcon icon;
    if (platform::Status status = icon.aniFile()->loadFromFile(path); !status)
        return fail(obj, status);
    TAniFile *file = icon.aniFile();
    if (file->isEmpty()) {
        obj["error"] = QStringLiteral("not loaded: the cursor file object takes existing .ANI files only");
        return false;
    }
    obj["width"] = icon.width();
    obj["height"] = icon.height();
    obj["monochrome"] = false;
    obj["frames"] = file->frameCount();
    obj["steps"] = file->stepCount();
    QJsonArray rates;
    for (int i = 0; i < file->stepCount(); ++i)
        rates.append(file->stepJiffies(i));
    obj["rates"] = rates;
    return render(file->stepImage(0), opts, obj);
}

bool describeView(const QString &path, const info::Options &opts, QJsonObject &obj)
{
    TImageEn view;
    if (platform::Status status = view.loadFromFile(path); !status)
        return fail(obj, status);
    obj["width"] = view.bitmapWidth();
    obj["height"] = view.bitmapHeight();
    obj["monochrome"] = view.isMonochrome();
    return render(view.bitmap(), opts, obj);
}

const bool registered = [] {
    info::registerDescriber("BMP", describeStill);
    info::registerDescriber("ICO", describeStill);
    info::registerDescriber("JPG", describeJpeg);
    info::registerDescriber("JPE", describeJpeg);
    info::registerDescriber("GIF", describeGif);
    info::registerDescriber("ANI", describeAni);
    for (const char *type : {"PCX", "TIF", "WMF", "EMF"})
        info::registerDescriber(QString::fromLatin1(type), describeView);
    return true;
}();

} // namespace
