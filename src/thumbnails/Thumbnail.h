// Thumbnails of the media types, as a QImage that fits a square box with the aspect kept.
// Rules:
// - Works on any thread and makes no widget; pictures come from the same decoders the viewer uses.
// - The type is the extension's. Pictures are never enlarged; drawings, waveforms and piano rolls
//   are drawn at the box's size.
// - Limits bound each file: its size, the pixels a picture may decode to (a bomb is refused before
//   anything is allocated) and the time spent; a cancel flag stops the work between steps.
// - Every failure is an Error (InvalidData for damaged data, TooLarge over a limit, Other for a
//   timeout or a cancel), never an exception or a crash.
#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>
#include <atomic>

namespace thumbs {

struct Limits
{
    qint64 maxFileBytes = qint64(512) << 20;
    qint64 maxPicturePixels = qint64(64) << 20; // decoded pixels of one picture
    int maxMilliseconds = 10000;
    const std::atomic<bool> *cancel = nullptr;
};

// Whether the file's extension is one of the media types' (of those drawn here).
bool hasThumbnailType(const QString &path);

// The thumbnail of a file within box x box pixels.
platform::ErrorOr<QImage> makeThumbnail(const QString &path, int box, const Limits &limits = {});

// What a thumbnail was made from, when it is a picture: its own size (for the cache's keys).
struct Made
{
    QImage image;
    QSize pictureSize; // invalid for sounds, tunes and clips without one
};
platform::ErrorOr<Made> makeThumbnailWithSize(const QString &path, int box, const Limits &limits = {});

// The same from bytes already read, for the types read whole (all but AVI and WAV); extension
// without its dot.
platform::ErrorOr<QImage> thumbnailOfData(const QByteArray &data, const QString &extension, int box,
                                          const Limits &limits = {});

// The libjpeg scale (0..3: 1/1, 1/2, 1/4, 1/8) of the smallest decode that still fills the box
// once fitted, for a width x height picture.
int jpegScaleForBox(int width, int height, int box);

// A picture fitted into the box (aspect kept, never enlarged), as 32-bit ARGB.
QImage fitInBox(const QImage &img, int box);

} // namespace thumbs
