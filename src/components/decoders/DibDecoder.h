// Decodes device-independent bitmaps as metafiles and cursor files carry them: a
// BITMAPCOREHEADER or BITMAPINFOHEADER (or a later, longer header), an optional colour table and
// the pixel rows. Uncompressed 1, 4, 8, 16, 24 and 32 bits a pixel (with bit-field masks),
// 8- and 4-bit run-length coding, and embedded JPEG or PNG. Every read is checked against the
// bytes given; anything inconsistent answers an error (InvalidData, or TooLarge for a size over
// the picture limit).
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pictures {

struct DibInfo
{
    qint64 width = 0;
    qint64 height = 0; // always positive; topDown says the row order
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = 0;
    qint64 headerSize = 0;
    qint64 colorTableBytes = 0; // bytes of colour table after the header
};

// Bytes of one row of pixels, padded to 32 bits as DIBs store them.
qint64 dibRowStride(qint64 width, int bitCount);

// Reads the header only.
platform::ErrorOr<DibInfo> readDibHeader(QByteArrayView bmi);

// Decodes header+colour table (bmi) and bits given apart (as in enhanced metafile records).
platform::ErrorOr<QImage> decodeDib(QByteArrayView bmi, QByteArrayView bits);

// Decodes a packed DIB: header, colour table and bits one after the other.
platform::ErrorOr<QImage> decodePackedDib(QByteArrayView dib);

// False when a bitmap file (its first bytes, from "BM", and its whole size) is shorter than its
// header says: Qt's reader would show such a file padded.
bool bitmapFileComplete(QByteArrayView start, qint64 fileSize);

} // namespace pictures
