// The one size limit every decoder applies before allocating pixels: an image whose 32-bit
// bitmap would need more than the limit (1 GiB unless lowered, e.g. by the fuzz targets) is
// refused, so hostile headers cannot ask for unbounded memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace pictures {

// Bytes a decoded picture may take at most (4 bytes a pixel).
qint64 maxImageBytes();
void setMaxImageBytes(qint64 bytes);

// True when a width x height picture is non-empty and within the limit.
bool imageSizeAllowed(qint64 width, qint64 height);

// Reads a whole file the components were asked to load; throws EFileOpenError when it cannot
// be opened or read, or is larger than the limit allows.
QByteArray readWholeFile(const QString &path);

} // namespace pictures
