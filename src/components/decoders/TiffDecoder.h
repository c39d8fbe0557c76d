// TIFF decoder over libtiff: the first image of the file, in any photometric interpretation and
// compression libtiff's RGBA interface reads. A 1-bit bilevel image is answered as a
// QImage::Format_Mono bitmap. libtiff's warnings are dropped and its errors become the error
// text; memory libtiff may take for one allocation is capped by the picture size limit.
#pragma once

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

// Reads the first image's directory only; false (with error) when the file is no TIFF.
bool readTiffHeader(QByteArrayView data, TiffHeaderInfo &info, QString &error);

QImage decodeTiff(QByteArrayView data, QString &error);

} // namespace pictures
