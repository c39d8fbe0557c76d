#include "platform/media/AudioOutput.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>

namespace platform::media {

namespace {
std::recursive_mutex g_acquireMutex; // the destructor may run inside acquire()
// Global: SDL opens one audio device per process; every media device shares it.
std::weak_ptr<AudioOutput> g_output;
} // namespace

ErrorOr<std::shared_ptr<AudioOutput>> AudioOutput::acquire()
{
    std::lock_guard lock(g_acquireMutex);
    if (auto existing = g_output.lock())
        return existing;
    // SDL reads SDL_AUDIODRIVER and the disk driver's file name at each initialisation, so a
    // fresh subsystem per first user keeps tests that switch drivers independent.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return makeError(Error::Kind::Device, QString::fromUtf8(SDL_GetError()));
    std::shared_ptr<AudioOutput> out(new AudioOutput);
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &AudioOutput::callback;
    want.userdata = out.get();
    SDL_AudioSpec have{};
    out->m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                        SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (out->m_device == 0)
        return makeError(Error::Kind::Device, QString::fromUtf8(SDL_GetError())); // out quits the subsystem
    out->m_format.rate = have.freq;
    out->m_format.channels = have.channels;
    SDL_PauseAudioDevice(out->m_device, 0);
    g_output = out;
    return out;
}

std::shared_ptr<void> AudioOutput::hold()
{
    auto out = acquire();
    if (!out)
        return {};
    return *out;
}

AudioOutput::~AudioOutput()
{
    // The weak pointer has expired already: a concurrent acquire() opens a new device after us.
    std::lock_guard lock(g_acquireMutex);
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::attach(const std::shared_ptr<AudioStream> &stream)
{
    std::lock_guard lock(m_mutex);
    m_streams.push_back(stream);
}

void AudioOutput::detach(const std::shared_ptr<AudioStream> &stream)
{
    std::lock_guard lock(m_mutex);
    m_streams.erase(std::remove(m_streams.begin(), m_streams.end(), stream), m_streams.end());
}

void AudioOutput::callback(void *self, unsigned char *bytes, int len)
{
    auto *out = static_cast<AudioOutput *>(self);
    std::memset(bytes, 0, static_cast<size_t>(len));
    const int frames = len / static_cast<int>(sizeof(float)) / out->m_format.channels;
    out->mix(reinterpret_cast<float *>(bytes), frames);
}

void AudioOutput::mix(float *out, int frames)
{
    std::lock_guard lock(m_mutex);
    for (const auto &stream : m_streams) {
        if (stream->channels() != m_format.channels)
            continue;
        stream->mixInto(out, frames);
        if (stream->takeDrained())
            stream->notifyDrained();
    }
    for (int i = 0, n = frames * m_format.channels; i < n; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

} // namespace platform::media
