// link: luma_thumbnails
// The MIDI length parser on arbitrary bytes: it must refuse or accept without reading outside the
// buffer, and what it accepts must be consistent (events in order, none after the end).
#include "platform/media/MidiFile.h"
#include "thumbnails/Thumbnail.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("mid"),
        64, limits);
    platform::media::MidiFile midi;
    std::string why;
    if (!midi.parse(data, size, &why)) {
        if (why.empty())
            std::abort();
        return 0;
    }
    int64_t last = 0;
    for (const auto &ev : midi.events()) {
        if (ev.timeUs < last || ev.timeUs > midi.lengthUs() || ev.status < 0x80 || ev.status > 0xef)
            std::abort();
        last = ev.timeUs;
    }
    if (midi.lengthMs() < 0 || midi.lengthMs() > 2147483647 || midi.trackCount() < 1)
        std::abort();
    return 0;
}
