#include "platform/media/MidiFile.h"

#include <algorithm>
#include <cmath>

namespace platform::media {

namespace {

constexpr uint32_t kDefaultTempo = 500000; // microseconds per quarter note
constexpr double kMaxLengthUs = 2147483647.0 * 1000.0;

struct Reader
{
    const uint8_t *data;
    size_t size;
    size_t pos = 0;

    size_t left() const { return size - pos; }
    bool u8(uint8_t &v)
    {
        if (pos >= size)
            return false;
        v = data[pos++];
        return true;
    }
    bool be16(uint32_t &v)
    {
        if (left() < 2)
            return false;
        v = (uint32_t(data[pos]) << 8) | data[pos + 1];
        pos += 2;
        return true;
    }
    bool be32(uint32_t &v)
    {
        if (left() < 4)
            return false;
        v = (uint32_t(data[pos]) << 24) | (uint32_t(data[pos + 1]) << 16) | (uint32_t(data[pos + 2]) << 8) |
            data[pos + 3];
        pos += 4;
        return true;
    }
    // Variable-length quantity: at most four bytes (28 bits).
    bool vlq(uint32_t &v)
    {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!u8(b))
                return false;
            v = (v << 7) | (b & 0x7f);
            if (!(b & 0x80))
                return true;
        }
        return false;
    }
    bool skip(size_t n)
    {
        if (n > left())
            return false;
        pos += n;
        return true;
    }
    bool tag(const char *t) const { return left() >= 4 && std::equal(t, t + 4, data + pos); }
};

struct RawEvent
{
    uint64_t tick = 0;
    uint32_t tempo = 0; // non-zero: a tempo change
    bool end = false;   // end of the track
    uint8_t status = 0, data1 = 0, data2 = 0;
};

bool fail(std::string *error, const char *why)
{
    if (error)
        *error = why;
    return false;
}

int dataBytes(uint8_t status)
{
    const uint8_t kind = status & 0xf0;
    return (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
}

// One MTrk chunk's events, ending with an end marker at the track's last tick.
bool parseTrack(Reader r, std::vector<RawEvent> &out, std::string *error)
{
    uint64_t tick = 0;
    uint8_t running = 0;
    while (r.left() > 0) {
        uint32_t delta;
        if (!r.vlq(delta))
            return fail(error, "bad delta time");
        tick += delta;
        uint8_t status;
        if (!r.u8(status))
            return fail(error, "event cut short");
        if (status == 0xff) {
            uint8_t type;
            uint32_t len;
            if (!r.u8(type) || !r.vlq(len) || len > r.left())
                return fail(error, "meta event length past the track");
            if (type == 0x2f)
                break;
            if (type == 0x51) {
                if (len < 3)
                    return fail(error, "short tempo event");
                const uint8_t *p = r.data + r.pos;
                RawEvent ev;
                ev.tick = tick;
                ev.tempo = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
                // A tempo of zero would stop time; treat it as the slowest non-zero one instead.
                ev.tempo = std::max<uint32_t>(ev.tempo, 1);
                out.push_back(ev);
            }
            r.skip(len);
            continue;
        }
        if (status == 0xf0 || status == 0xf7) {
            uint32_t len;
            if (!r.vlq(len) || !r.skip(len))
                return fail(error, "system-exclusive length past the track");
            continue;
        }
        if (status > 0xf0)
            return fail(error, "system message inside a track");
        uint8_t first;
        if (status & 0x80) {
            running = status;
            if (!r.u8(first))
                return fail(error, "event cut short");
        } else {
            if (!running)
                return fail(error, "running status with no status");
            first = status;
            status = running;
        }
        RawEvent ev;
        ev.tick = tick;
        ev.status = status;
        ev.data1 = first;
        if (dataBytes(status) == 2 && !r.u8(ev.data2))
            return fail(error, "event cut short");
        if ((ev.data1 | ev.data2) & 0x80)
            return fail(error, "data byte out of range");
        out.push_back(ev);
    }
    RawEvent end;
    end.tick = tick;
    end.end = true;
    out.push_back(end);
    return true;
}

// Turns ticks into microseconds along a tempo map and appends the channel messages; returns the
// time of the last end marker, or a negative value when the time runs past the limit.
double timeEvents(std::vector<RawEvent> &events, int division, double offsetUs, std::vector<MidiEvent> &out)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const RawEvent &a, const RawEvent &b) { return a.tick < b.tick; });
    double us = offsetUs;
    double lengthUs = offsetUs;
    uint64_t lastTick = 0;
    double usPerTick = 0;
    if (division & 0x8000) {
        const int fps = -static_cast<int8_t>(division >> 8);
        const double rate = fps == 29 ? 29.97 : fps;
        usPerTick = 1e6 / (rate * (division & 0xff));
    } else {
        usPerTick = double(kDefaultTempo) / division;
    }
    for (const RawEvent &ev : events) {
        us += double(ev.tick - lastTick) * usPerTick;
        lastTick = ev.tick;
        if (!(us <= kMaxLengthUs))
            return -1;
        if (ev.tempo) {
            if (!(division & 0x8000))
                usPerTick = double(ev.tempo) / division;
        } else if (ev.end) {
            lengthUs = std::max(lengthUs, us);
        } else {
            out.push_back(MidiEvent{static_cast<int64_t>(std::llround(us)), ev.status, ev.data1, ev.data2});
        }
    }
    return lengthUs;
}

} // namespace

bool MidiFile::parse(const uint8_t *data, size_t size, std::string *error)
{
    m_events.clear();
    m_lengthUs = 0;
    if (size > kMaxFileSize)
        return fail(error, "file too large");
    Reader r{data, size};
    if (r.tag("RIFF")) {
        // RIFF "RMID": the standard file is the "data" chunk.
        r.skip(8); // "RIFF" and the form's length, which the chunks below are checked against
        if (!r.tag("RMID"))
            return fail(error, "not a RIFF MIDI file");
        r.skip(4);
        for (;;) {
            if (r.left() < 8)
                return fail(error, "no data chunk");
            const bool isData = r.tag("data");
            r.skip(4);
            const uint32_t len = uint32_t(r.data[r.pos]) | (uint32_t(r.data[r.pos + 1]) << 8) |
                                 (uint32_t(r.data[r.pos + 2]) << 16) | (uint32_t(r.data[r.pos + 3]) << 24);
            r.skip(4);
            if (len > r.left())
                return fail(error, "RIFF chunk length past the file");
            if (isData) {
                r = Reader{r.data + r.pos, len};
                break;
            }
            r.skip(len + (len & 1 && r.left() > len ? 1 : 0));
        }
    }
    uint32_t headerLen, format, tracks, division;
    if (!r.tag("MThd"))
        return fail(error, "no MThd header");
    r.skip(4);
    if (!r.be32(headerLen) || headerLen < 6 || headerLen > r.left())
        return fail(error, "bad header length");
    const size_t afterHeader = r.pos + headerLen;
    r.be16(format);
    r.be16(tracks);
    r.be16(division);
    r.pos = afterHeader;
    if (format > 2)
        return fail(error, "unknown format");
    if (tracks == 0)
        return fail(error, "no tracks");
    if (division & 0x8000) {
        const int fps = -static_cast<int8_t>(division >> 8);
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || (division & 0xff) == 0)
            return fail(error, "bad SMPTE division");
    } else if (division == 0) {
        return fail(error, "zero division");
    }

    std::vector<std::vector<RawEvent>> trackEvents;
    while (trackEvents.size() < tracks) {
        if (r.left() == 0)
            return fail(error, "fewer tracks than the header says");
        uint32_t len;
        const bool isTrack = r.tag("MTrk");
        if (!r.skip(4) || !r.be32(len))
            return fail(error, "chunk header cut short");
        if (len > r.left())
            return fail(error, "track length past the end of the file");
        if (isTrack) {
            trackEvents.emplace_back();
            if (!parseTrack(Reader{r.data + r.pos, len}, trackEvents.back(), error))
                return false;
        }
        r.skip(len);
    }

    double lengthUs = 0;
    if (format == 2) {
        for (auto &track : trackEvents) {
            lengthUs = timeEvents(track, int(division), lengthUs, m_events);
            if (lengthUs < 0)
                return fail(error, "too long");
        }
    } else {
        std::vector<RawEvent> all;
        for (auto &track : trackEvents)
            all.insert(all.end(), track.begin(), track.end());
        lengthUs = timeEvents(all, int(division), 0, m_events);
        if (lengthUs < 0)
            return fail(error, "too long");
    }
    m_format = int(format);
    m_tracks = int(tracks);
    m_lengthUs = static_cast<int64_t>(std::llround(lengthUs));
    return true;
}

} // namespace platform::media
