// link: luma_components
// Fuzz target: the PNG/APNG and WebP facts reader of the file properties window
// (mediafacts::readImageFileFacts over components/decoders/PngChunks and WebpChunks). The reader
// takes a path and tells the formats apart by their signature, so the bytes go to a file. What
// it answers must be a consistent shape: a picture it read has a size, a depth and frames; one it
// refuses answers zeros and no damage. Seeds: 8 x 6 pictures made by ImageMagick's convert
// (PNG24, PNG48, PNG8 with transparency, grey), ffmpeg (a 3-frame APNG), cwebp (lossy, lossless,
// lossy with alpha) and img2webp (two frames); seed-cut-* are copies cut short.
#include "ScratchFile.h"
#include "components/FileFacts.h"

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzing::writeScratchFile(QStringLiteral("input.png"), data, size);
    const mediafacts::FileFacts facts = mediafacts::readImageFileFacts(path, {});
    if (facts.ok) {
        if (facts.width <= 0 || facts.height <= 0 || facts.frameCount < 0)
            __builtin_trap();
        if (facts.bitDepth != 1 && facts.bitDepth != 2 && facts.bitDepth != 4 && facts.bitDepth != 8 &&
            facts.bitDepth != 16)
            __builtin_trap();
        if (!facts.damaged && facts.frameCount < 1)
            __builtin_trap();
    } else if (facts.width != 0 || facts.height != 0 || facts.frameCount != 0 || facts.damaged ||
               facts.alpha) {
        __builtin_trap();
    }
    QFile::remove(path);
    return 0;
}
