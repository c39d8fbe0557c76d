#include "platform/media/SequencerDriver.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <fluidsynth.h>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace platform::media {

namespace {

constexpr int kBlock = 512;

void quietLogs()
{
    static std::once_flag once; // global: the synthesiser library's log handlers are process-wide
    std::call_once(once, [] {
        if (!qEnvironmentVariableIsEmpty("LUMAVISTA_MEDIA_DEBUG"))
            return;
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

void send(fluid_synth_t *synth, const MidiEvent &ev, bool notes)
{
    const int chan = ev.status & 0x0f;
    switch (ev.status & 0xf0) {
    case 0x80:
        if (notes)
            fluid_synth_noteoff(synth, chan, ev.data1);
        break;
    case 0x90:
        if (notes)
            fluid_synth_noteon(synth, chan, ev.data1, ev.data2);
        break;
    case 0xa0:
        if (notes)
            fluid_synth_key_pressure(synth, chan, ev.data1, ev.data2);
        break;
    case 0xb0:
        fluid_synth_cc(synth, chan, ev.data1, ev.data2);
        break;
    case 0xc0:
        fluid_synth_program_change(synth, chan, ev.data1);
        break;
    case 0xd0:
        fluid_synth_channel_pressure(synth, chan, ev.data1);
        break;
    case 0xe0:
        fluid_synth_pitch_bend(synth, chan, ev.data1 | (ev.data2 << 7));
        break;
    default:
        break;
    }
}

void dropSynth(SynthEntry &e)
{
    if (e.synth)
        delete_fluid_synth(e.synth);
    if (e.settings)
        delete_fluid_settings(e.settings);
    e = {};
}

// On a loader thread: a synthesiser with the first soundfont of the search that loads.
SynthEntry loadSynth(int rate, const QStringList &fonts)
{
    SynthEntry e;
    e.rate = rate;
    e.fonts = fonts;
    e.settings = new_fluid_settings();
    if (!e.settings)
        return e;
    fluid_settings_setnum(e.settings, "synth.sample-rate", rate);
    fluid_settings_setnum(e.settings, "synth.gain", 0.5);
    fluid_settings_setint(e.settings, "synth.polyphony", 128);
    fluid_settings_setint(e.settings, "synth.cpu-cores", 1);
    e.synth = new_fluid_synth(e.settings);
    if (!e.synth)
        return e;
    for (const QString &candidate : fonts) {
        if (QFileInfo::exists(candidate) &&
            fluid_synth_sfload(e.synth, QFile::encodeName(candidate).constData(), 1) != FLUID_FAILED) {
            e.loaded = true;
            break;
        }
    }
    return e;
}

bool ready(const std::shared_future<SynthEntry> &load)
{
    return load.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

// Loading a soundfont takes from tens of milliseconds to a second: it runs on a thread of its own,
// so opening a tune never waits for it (the first notes do). The pages close and reopen the same
// device at every repeat, so the last synthesiser closed, loaded or still loading, is kept for the
// next open with the same rate and soundfont search.
class SynthCache
{
public:
    ~SynthCache()
    {
        if (m_idle.valid())
            discard(std::move(m_idle), false);
    }
    std::shared_future<SynthEntry> acquire(int rate, const QStringList &fonts)
    {
        std::lock_guard lock(m_mutex);
        if (m_idle.valid() && m_rate == rate && m_fonts == fonts)
            return std::exchange(m_idle, {});
        return std::async(std::launch::async, loadSynth, rate, fonts).share();
    }
    void give(std::shared_future<SynthEntry> load, int rate, const QStringList &fonts)
    {
        if (ready(load)) {
            SynthEntry e = load.get();
            if (!e.loaded) {
                dropSynth(e);
                return;
            }
            fluid_synth_system_reset(e.synth);
        }
        std::lock_guard lock(m_mutex);
        if (m_idle.valid())
            discard(std::move(m_idle), true);
        m_idle = std::move(load);
        m_rate = rate;
        m_fonts = fonts;
    }

private:
    // A synthesiser no one will use; one still loading is dropped when its load ends, away from
    // the interface thread unless the process is ending.
    static void discard(std::shared_future<SynthEntry> load, bool detached)
    {
        const auto drop = [load] {
            SynthEntry e = load.get();
            dropSynth(e);
        };
        if (detached && !ready(load)) {
            try {
                std::thread(drop).detach();
                return;
            } catch (const std::system_error &) {
            }
        }
        drop();
    }

    std::mutex m_mutex;
    std::shared_future<SynthEntry> m_idle;
    int m_rate = 0;
    QStringList m_fonts;
};

SynthCache &synthCache()
{
    // Global: a loaded soundfont is worth keeping for the next tune whoever plays it.
    static SynthCache cache;
    return cache;
}

} // namespace

namespace {

// Tunes rendered one after the other (a folder converted) take their synthesisers from here:
// loading a soundfont costs more than rendering a short tune, and the loads of several threads at
// once contend inside the library. A synthesiser comes back reset; a few are kept, one a core.
class IdleSynths
{
public:
    ~IdleSynths()
    {
        for (SynthEntry &e : m_idle)
            dropSynth(e);
    }
    std::optional<SynthEntry> take(int rate, const QStringList &fonts)
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_idle.begin(); it != m_idle.end(); ++it)
            if (it->rate == rate && it->fonts == fonts) {
                SynthEntry e = std::move(*it);
                m_idle.erase(it);
                return e;
            }
        return std::nullopt;
    }
    void give(SynthEntry e)
    {
        if (!e.loaded) {
            dropSynth(e);
            return;
        }
        fluid_synth_system_reset(e.synth);
        std::lock_guard lock(m_mutex);
        if (m_idle.size() >= size_t(std::max(2, QThread::idealThreadCount()))) {
            dropSynth(m_idle.front());
            m_idle.erase(m_idle.begin());
        }
        m_idle.push_back(std::move(e));
    }

private:
    std::mutex m_mutex;
    std::vector<SynthEntry> m_idle;
};

IdleSynths &idleSynths()
{
    static IdleSynths idle; // global, as the soundfonts it spares loading are
    return idle;
}

} // namespace

SynthEntry openSynth(int rate, const QStringList &fonts)
{
    quietLogs();
    if (std::optional<SynthEntry> idle = idleSynths().take(rate, fonts))
        return std::move(*idle);
    return loadSynth(rate, fonts);
}

void closeSynth(SynthEntry &entry)
{
    idleSynths().give(std::exchange(entry, {}));
}

void sendMidiEvent(_fluid_synth_t *synth, const MidiEvent &event)
{
    send(synth, event, true);
}

QStringList SequencerDriver::soundFontCandidates()
{
    QStringList list;
    const QString own = qEnvironmentVariable("LUMAVISTA_SOUNDFONT");
    if (!own.isEmpty())
        return {own}; // an explicit choice replaces the search
    list << QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3")
         << QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2")
         << QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2")
         << QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2")
         << QStringLiteral("/usr/share/soundfonts/default.sf2")
         << QStringLiteral("/usr/share/soundfonts/FluidR3_GM.sf2");
    return list;
}

SequencerDriver::~SequencerDriver()
{
    halt();
    release();
}

void SequencerDriver::release()
{
    if (m_load.valid())
        synthCache().give(std::exchange(m_load, {}), m_rate, m_fonts);
    m_output.reset();
}

MciResult SequencerDriver::open(const QString &path, QWidget *)
{
    quietLogs();
    QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return mciError(MCIERR_FILE_NOT_FOUND, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return mciError(MCIERR_FILE_READ, path);
    if (file.size() > qint64(MidiFile::kMaxFileSize))
        return mciError(MCIERR_INVALID_FILE, QStringLiteral("file too large"));
    const QByteArray bytes = file.readAll();
    std::string why;
    if (!m_midi.parse(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()), &why))
        return mciError(MCIERR_INVALID_FILE, QString::fromStdString(why));

    auto output = AudioOutput::acquire();
    if (!output)
        return mciError(MCIERR_HARDWARE, output.error().message);
    m_output = *output;
    m_fonts = soundFontCandidates();
    // Without a soundfont nothing could sound: say so now, not by a silent play.
    if (std::none_of(m_fonts.cbegin(), m_fonts.cend(),
                     [](const QString &f) { return QFileInfo::exists(f); })) {
        release();
        return mciError(MCIERR_SEQ_NOMIDIPRESENT, QStringLiteral("no General MIDI soundfont"));
    }
    m_rate = m_output->format().rate;
    m_load = synthCache().acquire(m_rate, m_fonts);
    rewind();
    return {};
}

MciResult SequencerDriver::prepare(int64_t)
{
    if (!m_load.valid())
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    return {};
}

_fluid_synth_t *SequencerDriver::synthFor(const AudioStream &stream) const
{
    // The first tune may start before its soundfont is in: wait here, on the worker, and give up
    // as soon as the play is stopped.
    while (m_load.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        if (stream.cancelled())
            return nullptr;
    const SynthEntry &e = m_load.get();
    return e.loaded ? e.synth : nullptr;
}

void SequencerDriver::render(AudioStream &stream, int64_t startMs)
{
    fluid_synth_t *synth = synthFor(stream);
    if (!synth) {
        // Stopped while loading, or no soundfont would load: the tune ends without a sound.
        if (!stream.cancelled())
            stream.finish();
        return;
    }
    const int64_t startUs = startMs * 1000;
    const int rate = m_output->format().rate;
    const int channels = m_output->format().channels;
    const auto &events = m_midi.events();
    auto frameOf = [rate](int64_t us) { return us * rate / 1000000; };
    const int64_t total = frameOf(m_midi.lengthUs());
    int64_t frame = frameOf(startUs);

    fluid_synth_system_reset(synth);
    size_t next = 0;
    // Bring programs, controllers and pitch to where the play starts; no notes.
    for (; next < events.size() && events[next].timeUs < startUs; ++next)
        send(synth, events[next], false);

    std::vector<float> stereo(2 * kBlock);
    std::vector<float> out(static_cast<size_t>(channels) * kBlock);
    while (frame < total) {
        for (; next < events.size() && frameOf(events[next].timeUs) <= frame; ++next)
            send(synth, events[next], true);
        int64_t end = std::min(total, frame + kBlock);
        if (next < events.size())
            end = std::min(end, frameOf(events[next].timeUs));
        const int len = static_cast<int>(end - frame);
        fluid_synth_write_float(synth, len, stereo.data(), 0, 2, stereo.data(), 1, 2);
        const float *block = stereo.data();
        if (channels != 2) {
            std::fill(out.begin(), out.end(), 0.0f);
            for (int i = 0; i < len; ++i) {
                if (channels == 1) {
                    out[i] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
                } else {
                    out[size_t(i) * channels] = stereo[2 * i];
                    out[size_t(i) * channels + 1] = stereo[2 * i + 1];
                }
            }
            block = out.data();
        }
        if (!stream.write(block, len))
            return;
        frame = end;
    }
    stream.finish();
}

} // namespace platform::media
