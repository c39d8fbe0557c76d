// link: luma_thumbnails
// Fuzz target: JPEG through the picture component, header first, then decoded with the options
// the viewer offers. Whatever the bytes, a decode answers a picture of the announced size or a
// failure with its reason, and never raises.
#include "components/TJPEGImage.h"
#include "components/decoders/ImageLimits.h"
#include "thumbnails/Thumbnail.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Pictures of at most 16384 pixels keep each of the two decodes quick; the checks are the same.
    pictures::setMaxImageBytes(qint64(64) << 10);
    // No copy: the component holds these bytes only for the run.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("jpg"),
        64, limits);
    TJPEGImage jpeg;
    if (!jpeg.loadFromData(bytes).ok()) {
        if (!jpeg.isEmpty())
            __builtin_trap(); // a refused header leaves nothing behind
        return 0;
    }
    // Full size in 24 bits, then an eighth in 8-bit grey scan by scan: both decoders' paths.
    for (int round = 0; round < 2; ++round) {
        jpeg.setScale(round == 0 ? 0 : 7); // 7 is clamped to 3
        jpeg.setGrayscale(round == 1);
        jpeg.setPixelFormat(round == 1 ? TJPEGImage::Format8Bit : TJPEGImage::Format24Bit);
        jpeg.setProgressiveDisplay(round == 1);
        const QImage &img = jpeg.bitmap();
        if (img.isNull() ? jpeg.lastDecode().ok() : img.size() != QSize(jpeg.width(), jpeg.height()))
            __builtin_trap();
    }
    return 0;
}
