#include "components/TJPEGImage.h"

#include "components/decoders/ImageLimits.h"
#include "components/decoders/JpegDecoder.h"

#include <QElapsedTimer>

namespace {

constexpr qint64 ProgressIntervalMs = 500;

qint64 monotonicMs()
{
    static QElapsedTimer timer; // global: a clock shared by every picture; it holds no state of theirs
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

} // namespace

TJPEGImage::TJPEGImage(QObject *parent) : QObject(parent), m_clock(monotonicMs) {}

platform::Status TJPEGImage::loadFromFile(const QString &path)
{
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return data.status();
    return loadFromData(*data);
}

platform::Status TJPEGImage::loadFromData(const QByteArray &data)
{
    const platform::ErrorOr<pictures::JpegHeader> read = pictures::readJpegHeader(data);
    if (!read) {
        clear();
        return platform::makeError(read.error().kind,
                                   QStringLiteral("JPEG error: %1").arg(read.error().message));
    }
    const pictures::JpegHeader &header = *read;
    m_data = data;
    m_width = header.width;
    m_height = header.height;
    m_progressive = header.progressive;
    discard();
    return platform::Status::success();
}

void TJPEGImage::clear()
{
    m_data.clear();
    m_width = m_height = 0;
    m_progressive = false;
    discard();
}

int TJPEGImage::width() const
{
    return isEmpty() ? 0 : pictures::jpegScaledSize(m_width, m_scale);
}

int TJPEGImage::height() const
{
    return isEmpty() ? 0 : pictures::jpegScaledSize(m_height, m_scale);
}

void TJPEGImage::discard()
{
    m_bitmap = QImage();
    m_lastDecode = {};
    ++m_generation;
    emit changed();
}

void TJPEGImage::setScale(int scale)
{
    // Settings and command lines pass numbers through; the nearest scale is the useful answer.
    scale = qBound(0, scale, 3);
    if (scale != m_scale) {
        m_scale = scale;
        discard();
    }
}

void TJPEGImage::setGrayscale(bool on)
{
    if (on != m_grayscale) {
        m_grayscale = on;
        discard();
    }
}

void TJPEGImage::setPerformance(Performance p)
{
    if (p != m_performance) {
        m_performance = p;
        discard();
    }
}

void TJPEGImage::setPixelFormat(PixelFormat f)
{
    if (f != m_pixelFormat) {
        m_pixelFormat = f;
        discard();
    }
}

void TJPEGImage::setSmoothing(bool on)
{
    if (on != m_smoothing) {
        m_smoothing = on;
        discard();
    }
}

void TJPEGImage::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(monotonicMs);
}

void TJPEGImage::onLibraryProgress(int completed, int total, long counter, long limit)
{
    const qint64 now = m_clock();
    if (m_firstCheck) {
        // The first check only starts the clock: a quick decode never shows progress.
        m_firstCheck = false;
        m_lastSent = now;
        return;
    }
    if (now - m_lastSent < ProgressIntervalMs || total <= 0 || limit <= 0)
        return;
    const qint64 done = qint64(completed) * limit + counter;
    const int percent = int(qBound<qint64>(qint64(0), 100 * done / (qint64(limit) * total), qint64(100)));
    if (percent == m_lastPercent)
        return;
    m_lastSent = now;
    m_lastPercent = percent;
    emit progress(Stage::Running, percent);
}

const QImage &TJPEGImage::bitmap()
{
    if (!m_bitmap.isNull() || isEmpty())
        return m_bitmap;
    pictures::JpegOptions options;
    options.scale = m_scale;
    options.grayscale = m_grayscale;
    options.fast = m_performance == BestSpeed;
    options.eightBit = m_pixelFormat == Format8Bit;
    options.progressiveDisplay = m_progressiveDisplay;
    options.smoothing = m_smoothing;

    const quint64 generation = m_generation;
    const QByteArray data = m_data; // a handler may clear the picture while it decodes
    m_firstCheck = true;
    m_lastPercent = 0;
    emit progress(Stage::Starting, 0);
    platform::ErrorOr<QImage> decoded = pictures::decodeJpeg(
        data, options,
        [this](int completed, int total, long counter, long limit) {
            onLibraryProgress(completed, total, counter, limit);
        },
        [this, generation](const QImage &partial) {
            if (generation == m_generation)
                emit passDecoded(partial);
        });
    emit progress(Stage::Ending, decoded ? 100 : 0);
    // Options changed by a progress handler make this decode stale: keep nothing, not even its
    // failure.
    if (generation != m_generation)
        return m_bitmap;
    if (!decoded) {
        m_lastDecode = platform::makeError(decoded.error().kind,
                                           QStringLiteral("JPEG error: %1").arg(decoded.error().message));
    } else {
        m_lastDecode = {};
        m_bitmap = std::move(*decoded);
    }
    return m_bitmap;
}

// Its meta-object code stays with it, so programs that only decode do not load the widget library.
#include "moc_TJPEGImage.cpp"
