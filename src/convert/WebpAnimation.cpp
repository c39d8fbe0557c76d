#include "convert/AnimationConverter.h"

#include <QFile>
#include <memory>
#include <webp/encode.h>
#include <webp/mux.h>

namespace convert {

namespace {

using Error = platform::Error;

platform::Error failed(const QString &why)
{
    return platform::makeError(Error::Kind::Other, QStringLiteral("WebP encoding failed: %1").arg(why));
}

struct EncoderDeleter
{
    void operator()(WebPAnimEncoder *e) const { WebPAnimEncoderDelete(e); }
};

struct Picture
{
    Picture() { WebPPictureInit(&pic); }
    ~Picture() { WebPPictureFree(&pic); }
    Picture(const Picture &) = delete;
    Picture &operator=(const Picture &) = delete;
    WebPPicture pic;
};

struct Data
{
    Data() { WebPDataInit(&data); }
    ~Data() { WebPDataClear(&data); }
    Data(const Data &) = delete;
    Data &operator=(const Data &) = delete;
    WebPData data;
};

} // namespace

platform::Status writeAnimatedWebp(const Animation &animation, const QString &outPath)
{
    if (animation.frames.isEmpty())
        return platform::makeError(Error::Kind::InvalidData, QStringLiteral("no frames"));
    const QSize size = animation.frames.first().size();
    if (size.width() < 1 || size.height() < 1 || size.width() > WEBP_MAX_DIMENSION ||
        size.height() > WEBP_MAX_DIMENSION)
        return platform::makeError(
            Error::Kind::Other,
            QStringLiteral("%1 x %2 pixels is more than WebP can hold").arg(size.width()).arg(size.height()));
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return failed(QStringLiteral("this libwebp does not match its headers"));
    options.anim_params.loop_count = animation.plays; // 0: forever, as ours
    options.anim_params.bgcolor = 0x00000000;         // transparent
    std::unique_ptr<WebPAnimEncoder, EncoderDeleter> encoder(
        WebPAnimEncoderNew(size.width(), size.height(), &options));
    if (!encoder)
        return failed(QStringLiteral("out of memory"));
    // Lossless, as the still pictures' WebP: the frames keep every pixel.
    WebPConfig config;
    if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, 6))
        return failed(QStringLiteral("no lossless preset"));
    config.method = 4;

    int timestamp = 0;
    for (qsizetype i = 0; i < animation.frames.size(); ++i) {
        QImage image = animation.frames[i];
        if (image.size() != size)
            image = image.copy(QRect(QPoint(0, 0), size));
        image = image.convertToFormat(QImage::Format_RGBA8888);
        Picture picture;
        picture.pic.use_argb = 1;
        picture.pic.width = size.width();
        picture.pic.height = size.height();
        if (!WebPPictureImportRGBA(&picture.pic, image.constBits(), int(image.bytesPerLine())))
            return failed(QStringLiteral("out of memory"));
        if (!WebPAnimEncoderAdd(encoder.get(), &picture.pic, timestamp, &config))
            return failed(QString::fromUtf8(WebPAnimEncoderGetError(encoder.get())));
        timestamp += qMax(1, animation.delaysMs.value(i, 100));
    }
    // The end of the last frame gives its time.
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr))
        return failed(QString::fromUtf8(WebPAnimEncoderGetError(encoder.get())));
    Data assembled;
    if (!WebPAnimEncoderAssemble(encoder.get(), &assembled.data))
        return failed(QString::fromUtf8(WebPAnimEncoderGetError(encoder.get())));

    QFile out(outPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(outPath, out.errorString()));
    const auto *bytes = reinterpret_cast<const char *>(assembled.data.bytes);
    if (out.write(bytes, qint64(assembled.data.size)) != qint64(assembled.data.size) || !out.flush())
        return platform::makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(outPath, out.errorString()));
    return platform::Status::success();
}

} // namespace convert
