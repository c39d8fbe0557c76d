// What the file properties window shows of a media file it reads itself (no page recorded it):
// one shape for every type, and one reader per kind of file, named by the type's row of the
// media-type table. A reader answers zeros (ok false) for a damaged or unreadable file, never an
// error box: the window shows what it got.
#pragma once

#include <QString>
#include <cstdint>

namespace mediafacts {

struct FileFacts
{
    bool ok = false;
    int width = 0;
    int height = 0;
    bool monochrome = false;
    int64_t lengthMs = 0;
    bool inWindow = false; // a clip the animation control plays
    bool animated = false, interlaced = false, transparent = false;
    int frameCount = 0;
    int speed = 0; // percent
};

struct FactsOptions
{
    int jpegScale = 0; // 0..3: 1:1 .. 1:8, as the JPEG page draws
};

using FactsReader = FileFacts (*)(const QString &nativePath, const FactsOptions &options);

// BMP, PCX, TIF, WMF, EMF: size and colours.
FileFacts readPictureFileFacts(const QString &nativePath, const FactsOptions &options);
// ICO, ANI: the size only.
FileFacts readSizeFileFacts(const QString &nativePath, const FactsOptions &options);
FileFacts readJpegFileFacts(const QString &nativePath, const FactsOptions &options);
FileFacts readGifFileFacts(const QString &nativePath, const FactsOptions &options);
// WAV, MIDI: the length.
FileFacts readSoundFileFacts(const QString &nativePath, const FactsOptions &options);
FileFacts readClipFileFacts(const QString &nativePath, const FactsOptions &options);

} // namespace mediafacts
