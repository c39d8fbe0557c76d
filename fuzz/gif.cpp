// link: luma_thumbnails
// Fuzz target: GIF block scanning and frame composition.
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"
#include "thumbnails/Thumbnail.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A small limit keeps every canvas, saved canvas and frame small (16384 pixels); the checks are
    // the same.
    pictures::setMaxImageBytes(qint64(64) << 10);
    // No copy: the composer's copy of the array shares these bytes for the run.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("gif"),
        64, limits);
    const platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(bytes);
    if (!facts)
        return 0;
    pictures::GifComposer composer(bytes, *facts);
    // Every frame of a short animation and the wrap to the first again: each disposal path is
    // reached (a second round would play the first over again). A longer one gets its first 8.
    const int frames = composer.frameCount();
    const int steps = frames <= 8 ? frames + 1 : 8;
    for (int i = 0; i < steps; ++i)
        composer.advance();
    return 0;
}
