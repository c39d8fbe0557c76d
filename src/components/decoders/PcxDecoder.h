// ZSoft PCX decoder: versions 0 to 5; 1, 2, 4 or 8 bits a plane; 1 to 4 planes; run-length
// coded or plain rows. Colours come from, in this order of need: the first two header colours
// for 1-bit single-plane pictures (black and white when equal; answered as a QImage::Format_Mono
// bitmap), the 256-colour palette at
// the end of the file for 8-bit single-plane ones (grey levels when it is absent), the CGA
// palette for 2-bit single-plane pictures of versions before 5, the default 16-colour palette
// for version 3 files (which carry none), and the 16-colour header palette otherwise.
// 8-bit pictures of 3 or 4 planes are true colour (a fourth plane is alpha).
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pictures {

struct PcxHeaderInfo
{
    int version = 0;
    int bitsPerPlane = 0;
    int planes = 0;
    int width = 0;
    int height = 0;
    bool rle = false;
};

platform::ErrorOr<PcxHeaderInfo> readPcxHeader(QByteArrayView data);

// Decodes the whole picture; InvalidData on any fault, TooLarge over the picture limit.
platform::ErrorOr<QImage> decodePcx(QByteArrayView data);

} // namespace pictures
