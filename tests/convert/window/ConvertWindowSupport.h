// Helpers of the convert window's tests: media made in the test, and the progress window run for
// real until its report is up.
#pragma once

#include "convert/window/ConvertProgress.h"

#include <QBuffer>
#include <QDialog>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <functional>

namespace convertwin {

inline QByteArray pictureBytes(const char *format, QRgb colour, int width = 24, int height = 16)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A PCM WAV of 16-bit mono samples (a slow ramp: not silence, so encoders do real work).
inline QByteArray wavBytes(int rate, int seconds)
{
    const quint32 samples = quint32(rate) * quint32(seconds);
    QByteArray b;
    const auto u32 = [&b](quint32 v) {
        char raw[4];
        qToLittleEndian(v, raw);
        b.append(raw, 4);
    };
    const auto u16 = [&b](quint16 v) {
        char raw[2];
        qToLittleEndian(v, raw);
        b.append(raw, 2);
    };
    b.append("RIFF");
    u32(36 + samples * 2);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(quint32(rate));
    u32(quint32(rate) * 2);
    u16(2);
    u16(16);
    b.append("data");
    u32(samples * 2);
    b.reserve(b.size() + int(samples) * 2);
    for (quint32 i = 0; i < samples; ++i)
        u16(quint16((i * 37) % 20000));
    return b;
}

// Runs the progress window for real: act (when given) on each tick while the window is up until
// it answers true, then waits for the report and closes the window with Escape. The report's text.
inline int runProgress(QDialog *dialog, QString &report, std::function<bool(TfrmConvertProgress *)> act = {})
{
    auto *window = static_cast<TfrmConvertProgress *>(dialog);
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, window, [&] {
        if (!window->isVisible())
            return;
        if (act && !acted && !window->txtConvertReport->isVisible()) {
            acted = act(window);
            return;
        }
        if (window->txtConvertReport->isVisible()) {
            report = window->txtConvertReport->toPlainText();
            QTest::keyClick(window, Qt::Key_Escape);
        }
    });
    poll.start(10);
    return window->exec();
}

} // namespace convertwin
