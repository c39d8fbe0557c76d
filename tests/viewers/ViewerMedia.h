// Files the viewer tests make at test time: pictures of any size in each format the pages show
// (Qt's writers for BMP, JPEG and TIFF, giflib for GIF, libUEMF for metafiles, a small writer of
// our own for PCX), sounds and tunes of a chosen length, and waiting on the event loop.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTest>
#include <functional>

namespace viewertest {

// A picture whose every pixel differs from its neighbours' (nothing compresses away).
QImage pattern(QSize size);

QByteArray bmpBytes(QSize size);
QByteArray jpegBytes(QSize size, bool progressive);
QByteArray tiffBytes(QSize size);
// 8-bit PCX with a 256-colour palette, run-length coded.
QByteArray pcxBytes(QSize size);
QByteArray gifBytes(QSize size);
// Metafiles whose own size is `pixels` at 96 dots an inch (a multiple of 96 by 48 keeps it exact);
// without the end record they are damaged.
QByteArray wmfBytes(QSize pixels, bool withEnd = true);
QByteArray emfBytes(QSize pixels, bool withEnd = true);

// A 16-bit sine WAV and a one-note MIDI tune, each lasting ms milliseconds.
QByteArray wavBytes(int ms);
QByteArray midiBytes(int ms);

// Runs the event loop until pred() holds or timeoutMs passes; pred().
inline bool waitFor(const std::function<bool()> &pred, int timeoutMs = 15000)
{
    return QTest::qWaitFor(pred, timeoutMs);
}

} // namespace viewertest
