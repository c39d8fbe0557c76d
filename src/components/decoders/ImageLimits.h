// The one size limit every decoder applies before allocating pixels: an image whose 32-bit
// bitmap would need more than the limit (1 GiB unless lowered, e.g. by the fuzz targets) is
// refused, so hostile headers cannot ask for unbounded memory.
#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace pictures {

// Bytes a decoded picture may take at most (4 bytes a pixel).
qint64 maxImageBytes();
void setMaxImageBytes(qint64 bytes);

// True when a width x height picture is non-empty and within the limit.
bool imageSizeAllowed(qint64 width, qint64 height);

// The failures every decoder answers: damaged data, or a picture over the limit.
platform::Error invalidData(const QString &message);
platform::Error tooLarge(const QString &message);
// A refused picture size: TooLarge when it is over the limit, InvalidData when empty or absurd.
platform::Error sizeRefusal(qint64 width, qint64 height, const QString &message);

// Reads a whole file the components were asked to load. Returns a FileOpen error when it cannot
// be opened or read, TooLarge when it is larger than the limit allows (no picture that fits the
// limit comes from a bigger file).
platform::ErrorOr<QByteArray> readWholeFile(const QString &path);

} // namespace pictures
