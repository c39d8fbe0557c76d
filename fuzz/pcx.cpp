// link: luma_thumbnails
// Fuzz target: PCX decoding.
#include "components/decoders/ImageLimits.h"
#include "components/decoders/PcxDecoder.h"
#include "thumbnails/Thumbnail.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A lower limit keeps each run quick; the checks are the same.
    pictures::setMaxImageBytes(qint64(256) << 10);
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("pcx"),
        64, limits);
    (void)pictures::decodePcx(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
