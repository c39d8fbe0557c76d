#include "platform/media/SequencerDriver.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <fluidsynth.h>
#include <mutex>
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

// Loading the soundfont is most of an open (a few hundred milliseconds on the interface
// thread); the pages close and reopen the same device at every repeat, so the last synthesiser
// closed is kept, ready, for the next open with the same rate and soundfont search.
class SynthCache
{
public:
    struct Entry
    {
        fluid_settings_t *settings = nullptr;
        fluid_synth_t *synth = nullptr;
        int rate = 0;
        QStringList fonts;
    };
    ~SynthCache() { drop(m_idle); }
    bool take(int rate, const QStringList &fonts, Entry &out)
    {
        std::lock_guard lock(m_mutex);
        if (!m_idle.synth || m_idle.rate != rate || m_idle.fonts != fonts)
            return false;
        out = m_idle;
        m_idle = {};
        return true;
    }
    void give(Entry entry)
    {
        fluid_synth_system_reset(entry.synth);
        std::lock_guard lock(m_mutex);
        drop(m_idle);
        m_idle = entry;
    }
    static void drop(Entry &e)
    {
        if (e.synth)
            delete_fluid_synth(e.synth);
        if (e.settings)
            delete_fluid_settings(e.settings);
        e = {};
    }

private:
    std::mutex m_mutex;
    Entry m_idle;
};

SynthCache &synthCache()
{
    // Global: a loaded soundfont is worth keeping for the next tune whoever plays it.
    static SynthCache cache;
    return cache;
}

} // namespace

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
    SynthCache::Entry entry{m_settings, m_synth, m_output ? m_output->format().rate : 0, m_fonts};
    if (m_loaded)
        synthCache().give(entry);
    else
        SynthCache::drop(entry);
    m_synth = nullptr;
    m_settings = nullptr;
    m_loaded = false;
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
    const int rate = m_output->format().rate;
    SynthCache::Entry cached;
    if (synthCache().take(rate, m_fonts, cached)) {
        m_settings = cached.settings;
        m_synth = cached.synth;
        m_loaded = true;
    } else {
        MciResult r = createSynth(rate);
        if (!r.ok()) {
            release();
            return r;
        }
    }
    rewind();
    return {};
}

MciResult SequencerDriver::createSynth(int rate)
{
    m_settings = new_fluid_settings();
    if (!m_settings)
        return mciError(MCIERR_OUT_OF_MEMORY);
    fluid_settings_setnum(m_settings, "synth.sample-rate", rate);
    fluid_settings_setnum(m_settings, "synth.gain", 0.5);
    fluid_settings_setint(m_settings, "synth.polyphony", 128);
    fluid_settings_setint(m_settings, "synth.cpu-cores", 1);
    m_synth = new_fluid_synth(m_settings);
    if (!m_synth)
        return mciError(MCIERR_CANNOT_LOAD_DRIVER);
    for (const QString &candidate : m_fonts) {
        if (QFileInfo::exists(candidate) &&
            fluid_synth_sfload(m_synth, QFile::encodeName(candidate).constData(), 1) != FLUID_FAILED) {
            m_loaded = true;
            return {};
        }
    }
    return mciError(MCIERR_SEQ_NOMIDIPRESENT, QStringLiteral("no General MIDI soundfont"));
}

MciResult SequencerDriver::prepare(int64_t)
{
    if (!m_synth)
        return mciError(MCIERR_DEVICE_NOT_OPEN);
    return {};
}

void SequencerDriver::render(AudioStream &stream, int64_t startMs)
{
    const int64_t startUs = startMs * 1000;
    const int rate = m_output->format().rate;
    const int channels = m_output->format().channels;
    const auto &events = m_midi.events();
    auto frameOf = [rate](int64_t us) { return us * rate / 1000000; };
    const int64_t total = frameOf(m_midi.lengthUs());
    int64_t frame = frameOf(startUs);

    fluid_synth_system_reset(m_synth);
    size_t next = 0;
    // Bring programs, controllers and pitch to where the play starts; no notes.
    for (; next < events.size() && events[next].timeUs < startUs; ++next)
        send(m_synth, events[next], false);

    std::vector<float> stereo(2 * kBlock);
    std::vector<float> out(static_cast<size_t>(channels) * kBlock);
    while (frame < total) {
        for (; next < events.size() && frameOf(events[next].timeUs) <= frame; ++next)
            send(m_synth, events[next], true);
        int64_t end = std::min(total, frame + kBlock);
        if (next < events.size())
            end = std::min(end, frameOf(events[next].timeUs));
        const int len = static_cast<int>(end - frame);
        fluid_synth_write_float(m_synth, len, stereo.data(), 0, 2, stereo.data(), 1, 2);
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
