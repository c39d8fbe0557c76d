// link: luma_components
// Fuzz target: GIF block scanning and frame composition.
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A small limit keeps every canvas, saved canvas and frame small (16384 pixels); the checks are
    // the same.
    pictures::setMaxImageBytes(qint64(64) << 10);
    // No copy: the composer's copy of the array shares these bytes for the run.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    pictures::GifFacts facts;
    QString error;
    if (!pictures::scanGif(bytes, facts, error))
        return 0;
    pictures::GifComposer composer(bytes, facts);
    // Two rounds over at most 16 frames: enough to reach every disposal path and the wrap.
    const int steps = 2 * qMin(16, composer.frameCount());
    for (int i = 0; i < steps; ++i)
        composer.advance();
    return 0;
}
