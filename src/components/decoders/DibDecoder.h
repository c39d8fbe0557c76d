// Decodes device-independent bitmaps as metafiles and cursor files carry them: a
// BITMAPCOREHEADER or BITMAPINFOHEADER (or a later, longer header), an optional colour table and
// the pixel rows. Uncompressed 1, 4, 8, 16, 24 and 32 bits a pixel (with bit-field masks),
// 8- and 4-bit run-length coding, and embedded JPEG or PNG. Every read is checked against the
// bytes given; anything inconsistent answers a null image and an error text.
#pragma once

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

// Reads the header only; false (with error) when it is malformed.
bool readDibHeader(QByteArrayView bmi, DibInfo &info, QString &error);

// Decodes header+colour table (bmi) and bits given apart (as in enhanced metafile records).
QImage decodeDib(QByteArrayView bmi, QByteArrayView bits, QString &error);

// Decodes a packed DIB: header, colour table and bits one after the other.
QImage decodePackedDib(QByteArrayView dib, QString &error);

} // namespace pictures
