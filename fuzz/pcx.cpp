// link: luma_components
// Fuzz target: PCX decoding.
#include "components/decoders/ImageLimits.h"
#include "components/decoders/PcxDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A lower limit keeps each run quick; the checks are the same.
    pictures::setMaxImageBytes(qint64(256) << 10);
    (void)pictures::decodePcx(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
