// Sequencer: a Standard MIDI File played through FluidSynth with the system's General MIDI
// soundfont, rendered on a worker thread into the shared audio output at its rate.
//
// Rules: open() fails at once when no soundfont file exists, but never waits for one to load: the
// load runs on a thread of its own and the first notes wait for it on the rendering thread (a file
// that will not load ends the play at once, silent). Our own parser gives the events and the
// length (the file's tempo map), so the sound stops and the play ends exactly when the tempo map
// ends, release tails included in nothing. Starting from a position resets the synthesiser and
// replays program, controller and pitch state up to it.
#pragma once

#include "platform/media/MidiFile.h"
#include "platform/media/StreamedDriver.h"

#include <QStringList>
#include <future>

struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace platform::media {

// A synthesiser with its settings; loaded tells whether a soundfont went in.
struct SynthEntry
{
    _fluid_hashtable_t *settings = nullptr;
    _fluid_synth_t *synth = nullptr;
    int rate = 0;
    QStringList fonts;
    bool loaded = false;
};

// The synthesiser the sequencer plays with (its settings, the first soundfont of the list that
// loads; loaded false when none did), for others that render a tune, such as the converter.
// Blocks while the soundfont loads, unless a synthesiser given back by closeSynth (reset, a few
// kept) has the same rate and soundfont search.
SynthEntry openSynth(int rate, const QStringList &fonts);
void closeSynth(SynthEntry &entry);
// Plays one channel message on the synthesiser now.
void sendMidiEvent(_fluid_synth_t *synth, const MidiEvent &event);

class SequencerDriver : public StreamedDriver
{
public:
    ~SequencerDriver() override;
    MciResult open(const QString &path, QWidget *display) override;
    int64_t lengthMs() const override { return m_midi.lengthMs(); }

    // Where the General MIDI soundfont is looked for, in order ($LUMAVISTA_SOUNDFONT first).
    static QStringList soundFontCandidates();

private:
    MciResult prepare(int64_t startMs) override;
    void render(AudioStream &stream, int64_t startMs) override;
    _fluid_synth_t *synthFor(const AudioStream &stream) const;
    void release();

    MidiFile m_midi;
    std::shared_future<SynthEntry> m_load; // the synthesiser, loaded on a thread of its own
    int m_rate = 0;
    QStringList m_fonts;
};

} // namespace platform::media
