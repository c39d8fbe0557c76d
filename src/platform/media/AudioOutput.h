// The one sound output of the process: an SDL2 audio device in 32-bit float, opened when the first
// media device needs it and closed when the last one lets it go.
//
// Rules: acquire() fails (with the system's reason) when SDL has no usable audio device; with
// SDL_AUDIODRIVER=dummy it plays silently in real time, with "disk" it writes what would be heard
// to SDL_DISKAUDIOFILE. Streams are mixed in the SDL callback; after detach() returns the callback
// no longer touches the stream. Producers convert to format() once, so the callback only adds.
#pragma once

#include "platform/Result.h"
#include "platform/media/AudioStream.h"

#include <QString>
#include <memory>
#include <mutex>
#include <vector>

namespace platform::media {

class AudioOutput
{
public:
    struct Format
    {
        int rate = 44100;
        int channels = 2;
    };

    // The shared output, opening it if needed; a Device error with SDL's reason when none can be.
    static ErrorOr<std::shared_ptr<AudioOutput>> acquire();
    // Keeps the output open while the token lives, so that a device closed and the next one opened
    // straight after share it instead of closing and reopening the sound card between them (a
    // close waits for SDL's audio thread). Empty when no output can be opened.
    static std::shared_ptr<void> hold();
    ~AudioOutput();
    AudioOutput(const AudioOutput &) = delete;
    AudioOutput &operator=(const AudioOutput &) = delete;

    Format format() const { return m_format; }
    void attach(const std::shared_ptr<AudioStream> &stream);
    void detach(const std::shared_ptr<AudioStream> &stream);

private:
    AudioOutput() = default;
    static void callback(void *self, unsigned char *bytes, int len);
    void mix(float *out, int frames);

    unsigned m_device = 0;
    Format m_format;
    std::mutex m_mutex;
    std::vector<std::shared_ptr<AudioStream>> m_streams;
};

} // namespace platform::media
