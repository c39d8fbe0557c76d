// The MIDI length parser: lengths from tempo maps, and refusal of every broken length field.
#include "platform/media/MidiFile.h"
#include "MediaWriters.h"

#include <gtest/gtest.h>

using platform::media::MidiFile;
using namespace mediatest;

namespace {

bool parse(const QByteArray &bytes, MidiFile &midi, std::string *why = nullptr)
{
    return midi.parse(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()), why);
}

} // namespace

TEST(MidiFile, LengthFollowsTheTempoMapInEveryFormat)
{
    for (int format : {0, 1}) {
        MidiFile midi;
        ASSERT_TRUE(parse(twoSecondTune(format), midi)) << format;
        EXPECT_EQ(midi.lengthMs(), 2000) << format;
        EXPECT_EQ(midi.format(), format);
        ASSERT_EQ(midi.events().size(), 7u);
        // The last note starts after two beats at 120 bpm: 1 s.
        EXPECT_EQ(midi.events()[5].timeUs, 1000000);
    }
    // Format 2: independent sequences, one after another, each with its own tempo.
    MidiTrackBuilder a, b;
    a.tempo(0, 250000);
    a.noteOn(0, 0, 60, 90);
    a.noteOff(960, 0, 60); // two beats at 240 bpm: 500 ms
    a.endOfTrack(0);
    b.noteOn(0, 0, 62, 90);
    b.noteOff(480, 0, 62); // default 120 bpm: 500 ms
    b.endOfTrack(480);     // ... plus 500 ms of rest
    MidiFile midi;
    ASSERT_TRUE(parse(midiFile(2, 480, {a.bytes, b.bytes}), midi));
    EXPECT_EQ(midi.lengthMs(), 1500);
    EXPECT_EQ(midi.events()[2].timeUs, 500000); // the second sequence starts where the first ends
}

TEST(MidiFile, TempoOfOneTrackAppliesToAllInFormatOne)
{
    MidiTrackBuilder conductor, late;
    conductor.tempo(0, 1000000); // 60 bpm
    conductor.endOfTrack(0);
    late.noteOn(480, 1, 70, 80); // one beat: 1 s at 60 bpm
    late.noteOff(480, 1, 70);
    late.endOfTrack(0);
    MidiFile midi;
    ASSERT_TRUE(parse(midiFile(1, 480, {conductor.bytes, late.bytes}), midi));
    EXPECT_EQ(midi.events()[0].timeUs, 1000000);
    EXPECT_EQ(midi.lengthMs(), 2000);
}

TEST(MidiFile, SmpteDivisionAndRunningStatus)
{
    // 25 frames a second, 40 ticks a frame: one tick is a millisecond, tempo events are ignored.
    QByteArray track;
    track.append("\x00\x90\x3c\x40", 4); // note on
    track.append("\x00\xff\x51\x03\x0f\x42\x40", 7);
    track.append("\x83\x74\x3c\x00", 4); // 500 ticks later, running status: note off by velocity 0
    track.append("\x00\xff\x2f\x00", 4);
    MidiFile midi;
    ASSERT_TRUE(parse(midiFile(0, 0xE728, {track}), midi)); // -25 fps, 40 ticks
    ASSERT_EQ(midi.events().size(), 2u);
    EXPECT_EQ(midi.events()[1].status, 0x90);
    EXPECT_EQ(midi.events()[1].timeUs, 500000);
    EXPECT_EQ(midi.lengthMs(), 500);
}

TEST(MidiFile, RiffWrapperIsUnwrapped)
{
    const QByteArray smf = twoSecondTune(1);
    QByteArray riff("RIFF", 4);
    const uint32_t len = uint32_t(smf.size() + 12);
    riff.append(reinterpret_cast<const char *>(&len), 4).append("RMIDdata", 8);
    const uint32_t dataLen = uint32_t(smf.size());
    riff.append(reinterpret_cast<const char *>(&dataLen), 4).append(smf);
    MidiFile midi;
    ASSERT_TRUE(parse(riff, midi));
    EXPECT_EQ(midi.lengthMs(), 2000);
}

TEST(MidiFile, BrokenLengthsAndMissingTracksAreRefused)
{
    const QByteArray good = twoSecondTune(1);
    std::vector<std::pair<const char *, QByteArray>> bad;
    bad.push_back({"empty", QByteArray()});
    bad.push_back({"text", QByteArray("this is not a tune\n")});
    bad.push_back({"header cut", good.left(10)});
    QByteArray noTracks = midiFile(1, 480, {});
    bad.push_back({"no tracks", noTracks});
    QByteArray fewer = good;
    fewer[11] = 3; // three tracks announced, two present
    bad.push_back({"fewer tracks", fewer});
    QByteArray longTrack = good;
    longTrack[14 + 4] = char(0x7f); // first track's length far past the end of the file
    bad.push_back({"track length", longTrack});
    bad.push_back({"truncated", good.left(good.size() - 5)});
    QByteArray zeroDivision = good;
    zeroDivision[12] = zeroDivision[13] = 0;
    bad.push_back({"zero division", zeroDivision});
    MidiTrackBuilder meta;
    meta.delta(0);
    meta.bytes.append("\xff\x01\x7f"
                      "abc",
                      6); // text event longer than its track
    bad.push_back({"meta length", midiFile(0, 96, {meta.bytes})});
    QByteArray sysex("\x00\xf0\x8f\xff\xff\x7f", 6); // enormous system-exclusive length
    bad.push_back({"sysex length", midiFile(0, 96, {sysex})});
    QByteArray vlq("\xff\xff\xff\xff\x7f\x90\x3c\x40", 8); // delta longer than four bytes
    bad.push_back({"delta", midiFile(0, 96, {vlq})});
    QByteArray orphan("\x00\x3c\x40", 3); // data byte with no status before it
    bad.push_back({"running status", midiFile(0, 96, {orphan})});
    QByteArray badRiff("RIFF\x10\x00\x00\x00RMIDdata\xff\xff\x00\x00MThd", 24);
    bad.push_back({"riff length", badRiff});

    for (const auto &[name, bytes] : bad) {
        MidiFile midi;
        std::string why;
        EXPECT_FALSE(parse(bytes, midi, &why)) << name;
        EXPECT_FALSE(why.empty()) << name;
    }
}

TEST(MidiFile, AbsurdLengthIsRefusedNotWrapped)
{
    // Deltas of 2^28 - 1 ticks at one tick a quarter and the slowest tempo run past 2^31 ms.
    MidiTrackBuilder t;
    t.tempo(0, 0xffffff);
    for (int i = 0; i < 40; ++i)
        t.noteOn(0x0fffffff, 0, 60, 1);
    t.endOfTrack(0);
    MidiFile midi;
    std::string why;
    EXPECT_FALSE(parse(midiFile(0, 1, {t.bytes}), midi, &why));
    EXPECT_EQ(why, "too long");
}

TEST(MidiFile, TrackWithoutEndMarkerEndsAtItsChunk)
{
    MidiTrackBuilder t;
    t.noteOn(0, 0, 60, 100);
    t.noteOff(960, 0, 60); // two beats at 120 bpm
    MidiFile midi;
    ASSERT_TRUE(parse(midiFile(0, 480, {t.bytes}), midi));
    EXPECT_EQ(midi.lengthMs(), 1000);
}
