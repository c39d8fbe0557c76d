// Videos through the FFmpeg libraries: an AVI's pictures and sound decoded (any codec FFmpeg
// reads) and encoded as MP4 (H.264 by x264 and AAC) or WebM (VP9 and Opus), at the clip's own
// frame size and with each picture at its own time, so the length is kept.
// Rules: H.264 in 4:2:0 needs even sizes, so an odd-sized clip is coded 4:4:4 rather than cropped
// or stretched. A file FFmpeg cannot open, without pictures, or whose packets do not decode is
// refused as damaged; a write that fails is Io.
#pragma once

#include "platform/Result.h"

#include <QString>
#include <atomic>

namespace convert {

// format: "mp4" or "webm"; writes outPath.
platform::Status convertVideo(const QString &input, const QString &outPath, const QString &format,
                              const std::atomic<bool> *cancel = nullptr);

} // namespace convert
