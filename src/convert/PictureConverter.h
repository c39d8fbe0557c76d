// Still pictures (BMP, ICO, JPEG, PCX, TIFF, a GIF of one frame) decoded as the viewer pages
// decode them and written with Qt's writers: PNG, or WebP (lossless, so the pixels stay exact).
// Rules: BMP through TPicture, JPEG through TJPEGImage with the viewer's default options (full
// size, 24 bits, best quality), PCX and TIFF through TImageEn's decode, GIF through the composer
// TGIFImage shows its first frame with; an icon gives its largest image (the viewer shows the one
// nearest 32 by 32). TPicture is a widget, so a BMP is decoded on the interface thread; the
// others on any thread.
#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>

namespace convert {

platform::ErrorOr<QImage> decodePicture(const QString &path);

// The image of an icon file with the most pixels (the deepest among equals).
platform::ErrorOr<QImage> largestIconImage(const QString &path);

// Writes img to path in format ("png" or "webp"); Io when the write fails (a full disk).
platform::Status writePicture(const QImage &img, const QString &path, const QString &format);

} // namespace convert
