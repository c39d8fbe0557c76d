// What the file properties window shows of a media file it reads itself (no page recorded it):
// one shape for every type, and one reader per kind of file, named by the type's row of the
// media-type table. A reader answers zeros (ok false) for a damaged or unreadable file, never an
// error box: the window shows what it got. The PNG, WebP, sound and video readers also answer what
// they could read of a damaged file, with `damaged` set.
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

    // PNG, WebP: bits a sample and alpha; frameCount above (1 for a still picture).
    int bitDepth = 0;
    bool alpha = false;
    // Sounds and videos: the sound's codec and parameters (a video's as audioCodec); the video's
    // codec, with width and height above as its frame size; the file's own tags, as written.
    QString codec;
    QString audioCodec;
    int channels = 0;
    int sampleRate = 0;
    int64_t bitRate = 0; // bits a second
    double frameRate = 0;
    QString title, artist, album, year;
    bool damaged = false; // cut short or broken: what was read is shown with a warning
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
// PNG, APNG, WebP (by their signature): size, bit depth, alpha, frames.
FileFacts readImageFileFacts(const QString &nativePath, const FactsOptions &options);
// MP3, Ogg, FLAC: the sound stream, the length and the tags.
FileFacts readSongFileFacts(const QString &nativePath, const FactsOptions &options);
// MP4, Matroska, WebM: the video and sound streams and the length.
FileFacts readMovieFileFacts(const QString &nativePath, const FactsOptions &options);

} // namespace mediafacts
