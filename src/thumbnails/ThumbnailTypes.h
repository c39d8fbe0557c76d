// The drawers of each type, for Thumbnail.cpp; a Budget carries the limits through them.
#pragma once

#include "thumbnails/Thumbnail.h"

#include <QElapsedTimer>

namespace thumbs {

class Budget
{
public:
    explicit Budget(const Limits &limits) : m_limits(limits) { m_clock.start(); }
    const Limits &limits() const { return m_limits; }
    // False once cancelled or out of time.
    bool ok() const
    {
        return !(m_limits.cancel && m_limits.cancel->load()) && m_clock.elapsed() <= m_limits.maxMilliseconds;
    }
    // The error to answer when ok() turned false.
    platform::Error stopped() const;
    // TooLarge when a width x height picture is over the pixel limit.
    platform::Status allowPicture(qint64 width, qint64 height) const;

private:
    Limits m_limits;
    QElapsedTimer m_clock;
};

platform::Error damaged(const QString &why);

platform::ErrorOr<Made> bmpThumbnail(const QByteArray &data, int box, const Budget &budget);
platform::ErrorOr<Made> jpegThumbnail(const QByteArray &data, int box, const Budget &budget);
platform::ErrorOr<Made> gifThumbnail(const QByteArray &data, int box, const Budget &budget);
platform::ErrorOr<Made> aniThumbnail(const QByteArray &data, int box, const Budget &budget);
platform::ErrorOr<Made> icoThumbnail(const QByteArray &data, int box, const Budget &budget);
platform::ErrorOr<Made> pcxThumbnail(const QByteArray &data, int box, const Budget &budget);
// PNG (APNG) and WebP, told apart by their signatures.
platform::ErrorOr<Made> pngWebpThumbnail(const QByteArray &data, int box, const Budget &budget);
platform::ErrorOr<Made> tiffThumbnail(const QByteArray &data, int box, const Budget &budget);
platform::ErrorOr<Made> metafileThumbnail(const QByteArray &data, bool enhanced, int box,
                                          const Budget &budget);

platform::ErrorOr<Made> videoThumbnail(const QString &path, int box, const Budget &budget);
platform::ErrorOr<Made> waveThumbnail(const QString &path, int box, const Budget &budget);
platform::ErrorOr<Made> midiThumbnail(const QByteArray &data, int box, const Budget &budget);

} // namespace thumbs
