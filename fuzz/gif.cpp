// link: luma_components
// Fuzz target: GIF block scanning and frame composition.
#include "components/decoders/GifDecoder.h"
#include "components/decoders/ImageLimits.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pictures::setMaxImageBytes(qint64(4) << 20);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const platform::ErrorOr<pictures::GifFacts> facts = pictures::scanGif(bytes);
    if (!facts)
        return 0;
    pictures::GifComposer composer(bytes, *facts);
    // Two rounds over at most 40 frames: enough to reach every disposal path and the wrap.
    const int steps = 2 * qMin(40, composer.frameCount());
    for (int i = 0; i < steps; ++i)
        composer.advance();
    return 0;
}
