// link: luma_components
// Fuzz target: PNG chunk walking, the animated-PNG frames through FFmpeg (memory input, the
// frame-count and size checks) and WebP through libwebp's animation decoder. Whatever decodes
// has every frame at the canvas size, one delay a frame, and fits the limit.
#include "components/decoders/Animation.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/PngDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // At most 64 KiB of frames keeps each run quick; the checks are the same at any limit.
    pictures::setMaxImageBytes(qint64(64) << 10);
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)pictures::scanPng(bytes);
    const platform::ErrorOr<pictures::Animation> decoded = pictures::decodeAnimation(bytes);
    if (!decoded)
        return 0;
    const pictures::Animation &a = *decoded;
    if (a.frames.isEmpty() || a.frames.size() != a.delaysMs.size() ||
        !pictures::framesFitLimit(a.frames.size(), a.size.width(), a.size.height()))
        __builtin_trap();
    for (const QImage &frame : a.frames)
        if (frame.size() != a.size || frame.format() != QImage::Format_ARGB32_Premultiplied)
            __builtin_trap();
    return 0;
}
