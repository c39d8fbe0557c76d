// Sequencer: a Standard MIDI File played through FluidSynth with the system's General MIDI
// soundfont, rendered on a worker thread into the shared audio output at its rate.
//
// Rules: our own parser gives the events and the length (the file's tempo map), so the sound stops
// and the play ends exactly when the tempo map ends, release tails included in nothing. Starting
// from a position resets the synthesiser and replays program, controller and pitch state up to it.
#pragma once

#include "platform/media/AudioOutput.h"
#include "platform/media/MciDriver.h"
#include "platform/media/MidiFile.h"

#include <QStringList>
#include <memory>
#include <thread>

struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace platform::media {

class SequencerDriver : public MciDriver
{
public:
    ~SequencerDriver() override;
    MciResult open(const QString &path, QWidget *display) override;
    int64_t lengthMs() const override { return m_midi.lengthMs(); }
    int64_t positionMs() const override;
    MciResult start(std::function<void()> ended) override;
    void halt() override;
    void seek(int64_t ms) override;
    void markEnded() override;

    // Where the General MIDI soundfont is looked for, in order ($LUMAVISTA_SOUNDFONT first).
    static QStringList soundFontCandidates();

private:
    void run(int64_t startUs);
    MciResult createSynth(int rate);
    void release();

    MidiFile m_midi;
    std::shared_ptr<AudioOutput> m_output;
    std::shared_ptr<AudioStream> m_stream;
    std::thread m_worker;
    _fluid_hashtable_t *m_settings = nullptr;
    _fluid_synth_t *m_synth = nullptr;
    QStringList m_fonts;
    bool m_loaded = false; // the soundfont is in m_synth: it may be kept for the next open
    int64_t m_startMs = 0;
    bool m_atEnd = false;
};

} // namespace platform::media
