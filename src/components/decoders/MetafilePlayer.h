// Windows metafile (WMF) and enhanced metafile (EMF) players. Records are checked with
// libUEMF's record-safety functions before any field is read; a record that fails the check,
// or a file that ends without its end record, is an error. Unknown records are skipped.
// A picture's own size, in pixels at 96 dots per inch, comes from the placeable header (WMF) or
// the frame rectangle (EMF), else from the bounds (EMF) or the first window extent. The picture
// is drawn at that size onto a bitmap one pixel narrower and one pixel lower, filled first with
// the background colour.
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <QSize>
#include <QString>

namespace pictures {

platform::ErrorOr<QSize> wmfPictureSize(QByteArrayView data);
platform::ErrorOr<QImage> renderWmf(QByteArrayView data, const QColor &background);

platform::ErrorOr<QSize> emfPictureSize(QByteArrayView data);
platform::ErrorOr<QImage> renderEmf(QByteArrayView data, const QColor &background);

// Play the picture as the render functions do, with the same checks, but scaled onto the whole of
// target (not cleared first) instead of a bitmap of the picture's own size: what is drawn costs
// the target's pixels, whatever size the file claims.
platform::Status drawWmf(QByteArrayView data, QImage &target);
platform::Status drawEmf(QByteArrayView data, QImage &target);
// Play a metafile onto a caller's paint device (an SVG generator, a bitmap of another size): the
// device is filled with the background, then the picture is drawn at its own size times scale
// from the device's top-left corner. The same checks and failures as the render functions.
platform::Status playWmf(QByteArrayView data, QPaintDevice &device, double scale, const QColor &background);
platform::Status playEmf(QByteArrayView data, QPaintDevice &device, double scale, const QColor &background);

} // namespace pictures
