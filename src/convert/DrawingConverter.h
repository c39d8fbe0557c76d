// Drawings (WMF, EMF) as vectors or pixels. SVG plays the records onto a QSvgGenerator through the
// same GDI state machine the viewer draws with, so the drawing stays vectors (shapes, text,
// embedded bitmaps as images), on a canvas of the viewer's bitmap size on a white background.
// Pixels: at the drawing's own size they are the viewer's bitmap (TImageEn); at a chosen width the
// records are played again at that scale, the height following the drawing's proportions.
#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>

namespace convert {

// width 0 keeps the viewer's size.
platform::ErrorOr<QImage> drawingPicture(const QString &path, int width);

platform::Status writeDrawingSvg(const QString &path, const QString &outPath);

} // namespace convert
