// Animations (a GIF of several frames, an animated cursor) as animated PNG through FFmpeg's APNG
// encoder, or as animated WebP through libwebp's (FFmpeg's loses the last frame's time and pixels
// that turn transparent). The frames and their times are the viewer's: a GIF's
// frames composed with their disposal (GifComposer) and its tiny delays raised as the player
// raises them, a cursor's steps in its sequence order at their rates. A GIF plays as its loop block
// says (none: once); a cursor loops forever.
#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QList>
#include <QString>

namespace convert {

struct Animation
{
    QList<QImage> frames;
    QList<int> delaysMs;
    int plays = 0; // 0: forever
};

platform::ErrorOr<Animation> decodeAnimation(const QString &path);

// True for a GIF, PNG (APNG) or WebP file of more than one frame (false for anything it cannot read).
bool isAnimatedPicture(const QString &path);

platform::Status writeAnimation(const Animation &animation, const QString &outPath);
// The same as an animated WebP, lossless, through libwebp's animation encoder: every frame's time,
// the play count and the transparency kept.
platform::Status writeAnimatedWebp(const Animation &animation, const QString &outPath);

} // namespace convert
