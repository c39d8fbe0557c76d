// Sequencer: a Standard MIDI File played through FluidSynth with the system's General MIDI
// soundfont, rendered on a worker thread into the shared audio output at its rate.
//
// Rules: our own parser gives the events and the length (the file's tempo map), so the sound stops
// and the play ends exactly when the tempo map ends, release tails included in nothing. Starting
// from a position resets the synthesiser and replays program, controller and pitch state up to it.
#pragma once

#include "platform/media/MidiFile.h"
#include "platform/media/StreamedDriver.h"

#include <QStringList>

struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace platform::media {

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
    MciResult createSynth(int rate);
    void release();

    MidiFile m_midi;
    _fluid_hashtable_t *m_settings = nullptr;
    _fluid_synth_t *m_synth = nullptr;
    QStringList m_fonts;
    bool m_loaded = false; // the soundfont is in m_synth: it may be kept for the next open
};

} // namespace platform::media
