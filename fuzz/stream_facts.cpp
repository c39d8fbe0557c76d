// link: luma_components
// Fuzz target: the sound and video facts readers of the file properties window
// (mediafacts::readSongFileFacts and readMovieFileFacts over platform/media/StreamFacts, that is
// FFmpeg's demuxers). The readers take a path; FFmpeg chooses the demuxer by the content and the
// name, so the bytes go to a file whose extension the input's length chooses among the sound and
// video names. Whatever FFmpeg answers, the facts must be a consistent shape: nothing for a file
// it could not open, no negative number, tags of bounded length. Seeds: 0.2 s sounds made by
// ffmpeg (MP3 with a title tag, Vorbis, Opus, FLAC at 8 kHz) and 0.6 s 16 x 16 videos (H.264 MP4,
// MPEG-4 and Vorbis Matroska, VP9 WebM); seed-cut-* are copies cut short.
#include "ScratchFile.h"
#include "components/FileFacts.h"

#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Kind
{
    const char *ext;
    mediafacts::FactsReader read;
};

const Kind kKinds[] = {
    {"mp3", mediafacts::readSongFileFacts},   {"ogg", mediafacts::readSongFileFacts},
    {"opus", mediafacts::readSongFileFacts},  {"flac", mediafacts::readSongFileFacts},
    {"mp4", mediafacts::readMovieFileFacts},  {"mkv", mediafacts::readMovieFileFacts},
    {"webm", mediafacts::readMovieFileFacts},
};
constexpr size_t kKindCount = sizeof kKinds / sizeof kKinds[0];

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Kind &kind = kKinds[size % kKindCount];
    const QString path =
        fuzzing::writeScratchFile(QStringLiteral("input.") + QLatin1String(kind.ext), data, size);
    const mediafacts::FileFacts facts = kind.read(path, {});
    if (facts.lengthMs < 0 || facts.width < 0 || facts.height < 0 || facts.channels < 0 ||
        facts.sampleRate < 0 || facts.bitRate < 0 || facts.frameRate < 0)
        __builtin_trap();
    if (!facts.ok &&
        (facts.damaged || facts.lengthMs != 0 || !facts.codec.isEmpty() || !facts.title.isEmpty()))
        __builtin_trap();
    for (const QString *tag : {&facts.title, &facts.artist, &facts.album, &facts.year})
        if (tag->size() > 1024)
            __builtin_trap();
    QFile::remove(path);
    return 0;
}
