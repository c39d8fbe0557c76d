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

platform::ErrorOr<Animation> decodeAnimation(QByteArrayView data)
{
    if (isPngData(data))
        return decodePng(data);
    if (isWebpData(data))
        return decodeWebp(data);
    return invalidData(QStringLiteral("Neither PNG nor WebP data"));
}

platform::ErrorOr<Animation> decodeAnimationFile(const QString &path)
{
    const platform::ErrorOr<QByteArray> data = readWholeFile(path);
    if (!data)
        return data.error();
    return decodeAnimation(*data);
}

} // namespace pictures
