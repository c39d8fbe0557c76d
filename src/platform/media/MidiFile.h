// A Standard MIDI File (formats 0, 1 and 2, bare or inside a RIFF "RMID" wrapper) read into the
// channel messages to play, each at its time in microseconds from the file's own tempo map.
//
// Rules: every length field (header, chunks, variable-length quantities, meta and system-exclusive
// data) is checked against the bytes that hold it; a file that breaks one, has no track, or lasts
// longer than a 32-bit count of milliseconds is refused with a reason. Formats 0 and 1 share one
// tempo map across tracks; format 2 tracks are independent and play one after another. The length
// is the end of the last track (its end-of-track event), not of the last note.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::media {

struct MidiEvent
{
    int64_t timeUs = 0;
    uint8_t status = 0; // 0x80..0xEF
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

class MidiFile
{
public:
    static constexpr size_t kMaxFileSize = 8u << 20;

    // Parses data; on failure returns false and puts the reason in *error (if given).
    bool parse(const uint8_t *data, size_t size, std::string *error = nullptr);

    int format() const { return m_format; }
    int trackCount() const { return m_tracks; }
    int64_t lengthUs() const { return m_lengthUs; }
    int64_t lengthMs() const { return (m_lengthUs + 500) / 1000; }
    // Channel messages in playing order.
    const std::vector<MidiEvent> &events() const { return m_events; }

private:
    int m_format = 0;
    int m_tracks = 0;
    int64_t m_lengthUs = 0;
    std::vector<MidiEvent> m_events;
};

} // namespace platform::media
