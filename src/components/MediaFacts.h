// What the viewer pages would record of a media file, read without showing it: the same decoders
// and devices, reading headers only where the format allows. Damaged or unreadable files, and
// files cut short that the viewer would refuse, answer zeros (ok false), never an error box: the
// caller shows what it got.
#pragma once

#include <QString>
#include <cstdint>

namespace mediafacts {

struct PictureFacts
{
    bool ok = false;
    int width = 0;
    int height = 0;
    bool monochrome = false; // shown as a 1-bit bitmap
};

struct GifFacts
{
    bool ok = false;
    int width = 0;
    int height = 0;
    int frameCount = 0;
    bool animated = false;
    bool interlaced = false;
    bool transparent = false;
};

struct ClipFacts
{
    bool inWindow = false; // the animation control accepts it
    int64_t lengthMs = 0;  // as the video device reports it; 0 when played in a window
};

// PNG, APNG and WebP.
struct ImageFacts
{
    bool ok = false;      // the header was read
    bool damaged = false; // the rest is cut short or broken
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    bool alpha = false;
    int frameCount = 0;
};

// BMP, ICO, PCX, TIF, WMF, EMF and ANI (the cursor player's size), chosen by the extension.
PictureFacts readPictureFacts(const QString &nativePath);
// A JPEG's size at a scale 0..3 (1:1 .. 1:8), as it is drawn.
PictureFacts readJpegFacts(const QString &nativePath, int scale);
GifFacts readGifFacts(const QString &nativePath);
// A WAV's or MIDI's length in milliseconds.
int64_t readSoundLengthMs(const QString &nativePath);
ClipFacts readClipFacts(const QString &nativePath);
// A PNG (or APNG) or a WebP, told apart by its signature whatever its name.
ImageFacts readImageFacts(const QString &nativePath);

} // namespace mediafacts
