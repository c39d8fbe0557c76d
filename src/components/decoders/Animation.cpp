#include "components/decoders/Animation.h"

#include "components/decoders/ImageLimits.h"
#include "components/decoders/PngDecoder.h"
#include "components/decoders/WebpDecoder.h"

namespace pictures {

int animationDelayMs(int fileDelayMs)
{
    return fileDelayMs <= 10 ? 100 : fileDelayMs;
}

bool framesFitLimit(qint64 frameCount, qint64 width, qint64 height)
{
    if (frameCount <= 0 || !imageSizeAllowed(width, height))
        return false;
    return frameCount <= maxImageBytes() / (width * height * 4);
}

platform::ErrorOr<Animation> decodeAnimation(QByteArrayView data, AnimationFormat format)
{
    if (isPngData(data) && format != AnimationFormat::Webp)
        return decodePng(data);
    if (isWebpData(data) && format != AnimationFormat::Png)
        return decodeWebp(data);
    switch (format) {
    case AnimationFormat::Png:
        return invalidData(QStringLiteral("No PNG data"));
    case AnimationFormat::Webp:
        return invalidData(QStringLiteral("No WebP data"));
    case AnimationFormat::Any:
        break;
    }
    return invalidData(QStringLiteral("Neither PNG nor WebP data"));
}

platform::ErrorOr<Animation> decodeAnimationFile(const QString &path, AnimationFormat format)
{
    const platform::ErrorOr<QByteArray> data = readWholeFile(path);
    if (!data)
        return data.error();
    return decodeAnimation(*data, format);
}

} // namespace pictures
