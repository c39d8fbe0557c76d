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
#include <QTransform>

namespace pictures {

// The mapping of a view that shows a picture scaled by zoom, with the zoomed picture's point origin
// at the view's top-left corner.
inline QTransform zoomView(double zoom, QPointF origin)
{
    return QTransform::fromScale(zoom, zoom) * QTransform::fromTranslate(-origin.x(), -origin.y());
}

platform::ErrorOr<QSize> wmfPictureSize(QByteArrayView data);
platform::ErrorOr<QImage> renderWmf(QByteArrayView data, const QColor &background);

platform::ErrorOr<QSize> emfPictureSize(QByteArrayView data);
platform::ErrorOr<QImage> renderEmf(QByteArrayView data, const QColor &background);

// The same picture, with the same checks and failures as the render functions, drawn elsewhere:

// Scaled onto the whole of target (not cleared first) instead of a bitmap of the picture's own
// size: what is drawn costs the target's pixels, whatever size the file claims.
platform::Status drawWmf(QByteArrayView data, QImage &target);
platform::Status drawEmf(QByteArrayView data, QImage &target);

// Again at a zoom onto target (filled by the caller) as zoomView maps it: the part of the zoomed
// picture a view shows, drawn sharp rather than scaled from the bitmap.
platform::Status drawWmf(QByteArrayView data, QImage &target, double zoom, QPointF origin);
platform::Status drawEmf(QByteArrayView data, QImage &target, double zoom, QPointF origin);

// Onto a caller's paint device (an SVG generator, a bitmap of another size): the device is filled
// with the background, then the picture is drawn at its own size times scale from the device's
// top-left corner.
platform::Status playWmf(QByteArrayView data, QPaintDevice &device, double scale, const QColor &background);
platform::Status playEmf(QByteArrayView data, QPaintDevice &device, double scale, const QColor &background);

} // namespace pictures
