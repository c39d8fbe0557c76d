// TIFF decoder over libtiff: the first image of the file, in any photometric interpretation and
// compression libtiff's RGBA interface reads. A 1-bit bilevel image is answered as a
// QImage::Format_Mono bitmap. libtiff's warnings are dropped and its errors become the error's
// text; memory libtiff may take for one allocation is capped by the picture size limit.
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pictures {

struct TiffHeaderInfo
{
    qint64 width = 0;
    qint64 height = 0;
    bool bilevel = false; // 1-bit black and white: decoded as a QImage::Format_Mono bitmap
};

// Reads the first image's directory only; InvalidData when the file is no TIFF.
platform::ErrorOr<TiffHeaderInfo> readTiffHeader(QByteArrayView data);

platform::ErrorOr<QImage> decodeTiff(QByteArrayView data);

} // namespace pictures
