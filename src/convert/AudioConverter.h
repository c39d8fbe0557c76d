// Sounds and tunes through the FFmpeg libraries: a WAV file's samples decoded (any codec FFmpeg reads) and
// encoded as FLAC (lossless: 16-bit samples stay 16-bit, deeper ones go to 24 or 32 bits), Ogg
// Opus (48 kHz, as Opus wants) or Ogg Vorbis, keeping the rate and the channels otherwise.
// Rules: a file FFmpeg cannot open, without a sound stream, with a packet that does not decode,
// or without a single sample is refused as damaged (InvalidData); a write that fails is Io.
// Library errors become messages here; nothing of FFmpeg crosses this boundary.
#pragma once

#include "platform/Result.h"

#include <QString>
#include <atomic>

namespace convert {

// format: "flac", "opus", "ogg" or "wav"; writes outPath.
platform::Status convertSound(const QString &input, const QString &outPath, const QString &format,
                              const std::atomic<bool> *cancel = nullptr);

// A Standard MIDI File rendered at 44.1 kHz stereo by FluidSynth with the player's soundfont and
// settings, events at the times of the file's own tempo map; at its end the notes are released and
// their tails rendered until silent (three seconds at most). Damaged files are InvalidData; no
// soundfont is a failure of its own. format: "flac", "wav" or "ogg".
platform::Status convertTune(const QString &input, const QString &outPath, const QString &format,
                             const std::atomic<bool> *cancel = nullptr);

} // namespace convert
