// What a sound or video file says of itself through FFmpeg, for the file properties window: the
// container's length and tags, and the first sound and video streams' codecs and parameters.
//
// Rules: only the MP3, Ogg, FLAC, MP4/QuickTime and Matroska/WebM demuxers read the file, and
// only the file itself. Headers are read and packets demuxed near the end only (nothing is
// decoded), so it is cheap on any file size. Every FFmpeg failure stops here: a file FFmpeg
// cannot open answers `opened` false; one it opens but whose streams or packets are broken, or
// whose packets end before its header's length, answers what it read with `damaged` set. Tags
// are the file's own text, untouched (cut at 1024 characters).
#pragma once

#include <QString>
#include <cstdint>

namespace platform::media {

struct StreamFacts
{
    bool opened = false;
    bool damaged = false;
    int64_t lengthMs = 0;
    int64_t bitRate = 0; // bits a second: the sound stream's own, else the whole file's

    // The first sound stream; an empty codec when there is none.
    QString audioCodec; // FFmpeg's short name: "mp3", "vorbis", "opus", "flac", "aac" ...
    int channels = 0;
    int sampleRate = 0;

    // The first video stream (not a cover picture); an empty codec when there is none.
    QString videoCodec;
    int width = 0;
    int height = 0;
    double frameRate = 0; // frames a second, 0 when unknown

    // Container tags, else the sound stream's (Ogg keeps its comments there).
    QString title, artist, album, date;
};

StreamFacts probeStreamFacts(const QString &nativePath);

} // namespace platform::media
