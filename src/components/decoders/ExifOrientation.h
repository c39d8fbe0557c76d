// The orientation a camera records in a JPEG's EXIF data (tag 0x0112), read with libexif, and the
// turn that shows such a picture upright. Orientations are 1 (upright) to 8; a file without EXIF
// data, without the tag or with a value out of range is upright. Nothing here throws or reads past
// the data given.
#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictures {

int exifOrientation(QByteArrayView jpegData);
// The picture as the orientation says it is seen (for 5 to 8, width and height swap).
QImage upright(const QImage &stored, int orientation);
// The size a picture of that stored size has once upright.
QSize uprightSize(QSize stored, int orientation);

} // namespace pictures
