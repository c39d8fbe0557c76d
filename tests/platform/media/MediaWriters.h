// Test media made at test time: sine WAVs and other sounds encoded by FFmpeg, Standard MIDI Files
// written byte by byte, AVI clips written by hand (uncompressed or RLE8, with or without PCM sound)
// or encoded by FFmpeg (compressed picture with sound). Every picture carries its frame number
// (see frameIndexOf) so tests can tell which frame was drawn.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace mediatest {

// A sine of `frequency` Hz and `ms` milliseconds in a WAV holding `codec` (an FFmpeg encoder name:
// "pcm_s16le", "pcm_u8", "adpcm_ms", "libgsm_ms" ...). Returns false when encoding failed.
bool writeSineWav(const QString &path, const char *codec, double frequency, int ms, int rate = 44100,
                  int channels = 1);

// MIDI building blocks.
struct MidiTrackBuilder
{
    QByteArray bytes;
    void delta(uint32_t ticks);
    void tempo(uint32_t delta, uint32_t usPerQuarter);
    void program(uint32_t delta, int channel, int program);
    void noteOn(uint32_t delta, int channel, int key, int velocity);
    void noteOff(uint32_t delta, int channel, int key);
    void endOfTrack(uint32_t delta);
};
QByteArray midiFile(int format, int division, const std::vector<QByteArray> &tracks);
// A tune of format `format` lasting 2000 ms: two beats at 120 bpm then one beat at 60 bpm, 480
// ticks a quarter, a piano note sounding throughout.
QByteArray twoSecondTune(int format = 1);
bool writeFile(const QString &path, const QByteArray &bytes);

// Hand-written AVI. Video: 8-bit palette pictures stored uncompressed (BI_RGB) or RLE8, or 24-bit
// uncompressed. Frame i is filled with palette colour i (24-bit: the same colour).
enum class AviVideo { Raw8, Raw24, Rle8 };
struct AviSpec
{
    AviVideo video = AviVideo::Raw8;
    int width = 32;
    int height = 24;
    int fps = 10;
    int frames = 10;
    bool sound = false; // 16-bit mono PCM sine at 22050 Hz
};
QByteArray aviFile(const AviSpec &spec);
QRgb paletteColour(int index);
// The frame number a picture of aviFile() shows (-1 if none fits).
int paletteIndexOf(const QImage &picture);

// FFmpeg-encoded AVI: `videoCodec` ("mpeg4", "mjpeg", "msvideo1" ...) pictures whose left half is a
// grey level telling the frame number, with a 16-bit PCM sine when sound is set.
bool encodeAvi(const QString &path, const char *videoCodec, int width, int height, int fps, int frames,
               bool sound, double frequency = 440.0);
// The frame number a picture of encodeAvi() shows (-1 if none fits); frames 0..29 only.
int greyIndexOf(const QImage &picture);

} // namespace mediatest
