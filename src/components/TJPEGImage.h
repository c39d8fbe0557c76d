// A JPEG picture: reading keeps the compressed data and reads only the header (size, colour
// space, progressive coding). Loading returns a Status: a file that cannot be read (FileOpen) or
// is larger than the picture limit (TooLarge) leaves the picture as it was; data that is not a
// JPEG (InvalidData) or whose size is over the limit (TooLarge) empties it. The bitmap is decoded
// when first asked for (when drawn), with the options in force then:
//   Scale 0..3 (1/1, 1/2, 1/4, 1/8; other values are clamped to that range), Grayscale,
//   Performance (best quality or best speed), PixelFormat (24-bit or 8-bit palette),
//   ProgressiveDisplay, Smoothing.
// Changing Scale, Grayscale, Performance, PixelFormat or Smoothing to a new value discards the
// decoded bitmap and signals changed(); ProgressiveDisplay only takes effect at the next decode.
// While decoding, progress() reports Starting (0), Running (percent done; at most once per
// 500 ms, only when the whole percentage changed, never at the first time check) and Ending
// (100, or 0 when decoding failed). Decoding runs inside paint events, so it never raises: a
// failed decode answers a null bitmap and keeps its reason in lastDecode().
#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <functional>

class TJPEGImage : public QObject
{
    Q_OBJECT
public:
    enum class Stage { Starting, Running, Ending };
    Q_ENUM(Stage)
    enum Performance { BestQuality = 0, BestSpeed = 1 };
    enum PixelFormat { Format24Bit = 0, Format8Bit = 1 };
    // Milliseconds from any fixed start; replaceable so progress timing can be tested.
    using Clock = std::function<qint64()>;

    explicit TJPEGImage(QObject *parent = nullptr);

    platform::Status loadFromFile(const QString &path);
    platform::Status loadFromData(const QByteArray &data);
    void clear();

    bool isEmpty() const { return m_data.isEmpty(); }
    bool isProgressive() const { return m_progressive; }
    int width() const; // at the current scale; 0 when empty
    int height() const;
    int fullWidth() const { return m_width; }
    int fullHeight() const { return m_height; }

    int scale() const { return m_scale; }
    void setScale(int scale); // clamped to 0..3
    bool grayscale() const { return m_grayscale; }
    void setGrayscale(bool on);
    Performance performance() const { return m_performance; }
    void setPerformance(Performance p);
    PixelFormat pixelFormat() const { return m_pixelFormat; }
    void setPixelFormat(PixelFormat f);
    bool progressiveDisplay() const { return m_progressiveDisplay; }
    void setProgressiveDisplay(bool on) { m_progressiveDisplay = on; }
    bool smoothing() const { return m_smoothing; }
    void setSmoothing(bool on);

    bool hasBitmap() const { return !m_bitmap.isNull(); }
    // The decoded picture, decoding it first when needed; a null image when the picture is empty
    // or the decode failed. Each call without a bitmap tries again.
    const QImage &bitmap();
    // The outcome of the last decode; success when none was tried since the data or an option
    // that shapes the bitmap last changed.
    const platform::Status &lastDecode() const { return m_lastDecode; }

    void setClock(Clock clock);

signals:
    void progress(TJPEGImage::Stage stage, int percent);
    // A coarse pass of a progressive file decoded scan by scan (with ProgressiveDisplay): the
    // picture as it stands, valid during the signal only.
    void passDecoded(const QImage &partial);
    void changed();

private:
    void discard();
    void onLibraryProgress(int completed, int total, long counter, long limit);

    QByteArray m_data;
    int m_width = 0;
    int m_height = 0;
    bool m_progressive = false;
    int m_scale = 0;
    bool m_grayscale = false;
    Performance m_performance = BestQuality;
    PixelFormat m_pixelFormat = Format24Bit;
    bool m_progressiveDisplay = false;
    bool m_smoothing = true;
    QImage m_bitmap;
    platform::Status m_lastDecode;
    quint64 m_generation = 0;
    Clock m_clock;
    // Progress gate of the decode under way.
    bool m_firstCheck = true;
    qint64 m_lastSent = 0;
    int m_lastPercent = 0;
};
