// Small media files written at test time, with lengths and sizes the tests choose.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QtEndian>
#include <cstdint>

namespace testmedia {

inline void put16(QByteArray &b, uint16_t v)
{
    b.append(char(v & 0xFF)).append(char(v >> 8));
}

inline void put32(QByteArray &b, uint32_t v)
{
    put16(b, uint16_t(v & 0xFFFF));
    put16(b, uint16_t(v >> 16));
}

// An 8-bit mono PCM WAV of ms milliseconds at rate samples a second, silent.
inline QByteArray wav(int rate, int ms)
{
    const uint32_t samples = uint32_t(int64_t(rate) * ms / 1000);
    QByteArray b("RIFF");
    put32(b, 36 + samples);
    b.append("WAVEfmt ");
    put32(b, 16);
    put16(b, 1); // PCM
    put16(b, 1); // mono
    put32(b, uint32_t(rate));
    put32(b, uint32_t(rate)); // bytes a second
    put16(b, 1);              // block
    put16(b, 8);              // bits
    b.append("data");
    put32(b, samples);
    b.append(QByteArray(int(samples), char(0x80)));
    return b;
}

inline QByteArray vlq(uint32_t v)
{
    QByteArray out(1, char(v & 0x7F));
    while (v >>= 7)
        out.prepend(char(0x80 | (v & 0x7F)));
    return out;
}

// A format-0 Standard MIDI File at 120 beats a minute (480 ticks a beat) holding one note that
// sounds for ms milliseconds.
inline QByteArray midi(int ms)
{
    QByteArray track;
    track.append(QByteArray::fromHex("00ff510307a120"));  // tempo: 500000 us a beat
    track.append(QByteArray::fromHex("00903c64"));        // note on
    track.append(vlq(uint32_t(int64_t(ms) * 480 / 500))); // its length in ticks
    track.append(QByteArray::fromHex("803c40"));          // note off
    track.append(QByteArray::fromHex("00ff2f00"));        // end of track
    QByteArray b("MThd");
    b.append(QByteArray::fromHex("000000060000000101e0")); // format 0, one track, 480
    b.append("MTrk");
    b.append(char(0)).append(char(0)).append(char(track.size() >> 8)).append(char(track.size() & 0xFF));
    b.append(track);
    return b;
}

// A grey JPEG of the given size.
inline QByteArray jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(128);
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "JPG", 50);
    return b;
}

} // namespace testmedia
