// link: luma_thumbnails
// Fuzz target: the TIFF wrapper over libtiff (memory I/O, error capture, the allocation cap, the
// conversion of the RGBA raster). What decodes has the size and the kind its header announced.
#include "components/decoders/ImageLimits.h"
#include "components/decoders/TiffDecoder.h"
#include "thumbnails/Thumbnail.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Pictures of at most 16384 pixels keep each run quick; the checks are the same at any limit.
    pictures::setMaxImageBytes(qint64(64) << 10);
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("tif"),
        64, limits);
    const platform::ErrorOr<pictures::TiffHeaderInfo> read = pictures::readTiffHeader(bytes);
    const bool header = read.ok();
    const pictures::TiffHeaderInfo info = header ? *read : pictures::TiffHeaderInfo();
    const platform::ErrorOr<QImage> decoded = pictures::decodeTiff(bytes);
    if (!decoded)
        return 0;
    const QImage &img = *decoded;
    if (!header || img.size() != QSize(int(info.width), int(info.height)) ||
        (img.format() == QImage::Format_Mono) != info.bilevel)
        __builtin_trap();
    return 0;
}
