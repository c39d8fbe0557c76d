// Sounds and clips of the newer containers, made by the ffmpeg command-line tool at test time, and
// their length as ffprobe reads it: the reference the devices' and pages' lengths are held to.
#pragma once

#include <QString>
#include <ostream>

namespace mediatest {

// A 440 Hz sine (mono, 44100 Hz); a clip adds a 64 by 48 test picture at 25 frames a second.
enum class Encoded { Mp3, Vorbis, Opus, Flac, H264Mp4, Vp9Webm, H264Mkv, Mpeg4Mov };

struct EncodedKind
{
    Encoded kind;
    const char *name; // for traces: "MP3" ...
    const char *ext;  // the usual extension, without the dot
    bool video;
};
inline constexpr EncodedKind kEncodedKinds[] = {
    {Encoded::Mp3, "MP3", "mp3", false},         {Encoded::Vorbis, "Vorbis", "ogg", false},
    {Encoded::Opus, "Opus", "opus", false},      {Encoded::Flac, "FLAC", "flac", false},
    {Encoded::H264Mp4, "H264_MP4", "mp4", true}, {Encoded::Vp9Webm, "VP9_WebM", "webm", true},
    {Encoded::H264Mkv, "H264_MKV", "mkv", true}, {Encoded::Mpeg4Mov, "MPEG4_MOV", "mov", true},
};

// How GoogleTest names a case.
inline void PrintTo(const EncodedKind &k, std::ostream *os)
{
    *os << k.name;
}

// Writes the file at path (whatever its extension: the container is named to ffmpeg); false when
// ffmpeg is missing or failed. H.264 falls back to MPEG-4 Visual where libx264 is not built in.
bool ffmpegMake(const QString &path, Encoded kind, int ms);
// ffprobe's format=duration in milliseconds; -1 when ffprobe is missing or fails.
double ffprobeDurationMs(const QString &path);

} // namespace mediatest
