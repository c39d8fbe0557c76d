// A picture of a format whose files may hold an animation (PNG with its APNG frames, WebP): every
// frame composed on the canvas, at the canvas size, with the delay the file gives it and the number
// of plays. A still file is an animation of one frame.
//
// Rules:
// - Frames are ARGB32 premultiplied; pixels the file leaves transparent stay transparent, so the
//   control drawing them shows what is behind.
// - All the frames together stay within the decoders' limit (maxImageBytes): a file whose frames
//   would need more is refused as too large before they are decoded.
// - A frame the file cuts short ends the animation there; a file without one whole frame is refused.
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QSize>

namespace pictures {

struct Animation
{
    QSize size{0, 0};
    QList<QImage> frames;
    QList<int> delaysMs; // one a frame, as the file gives it
    int plays = 1;       // 0: forever
    bool transparent = false;
    bool animated() const { return frames.size() > 1; }
};

// The time a frame stays at normal speed: delays of 10 ms or less are raised to a tenth of a
// second, as browsers do, so such files do not spin.
int animationDelayMs(int fileDelayMs);

// Whether frameCount frames of width x height fit the limit together.
bool framesFitLimit(qint64 frameCount, qint64 width, qint64 height);

// Which data a decode takes: PNG only, WebP only, or either (told apart by their signatures).
enum class AnimationFormat { Any, Png, Webp };

// A PNG (animated or not) or a WebP file's data; data of another format than asked is refused as
// InvalidData.
platform::ErrorOr<Animation> decodeAnimation(QByteArrayView data,
                                             AnimationFormat format = AnimationFormat::Any);
// The same from a file (FileOpen when it cannot be read); any thread may call it.
platform::ErrorOr<Animation> decodeAnimationFile(const QString &path,
                                                 AnimationFormat format = AnimationFormat::Any);

} // namespace pictures
