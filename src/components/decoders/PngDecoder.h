// PNG files, animated (APNG) or not. scanPng walks the chunks and answers the facts: size, whether
// the pixels carry alpha (an alpha channel or a tRNS chunk), and, when an acTL chunk comes before
// the image data, the frames' delays (one fcTL chunk each) and the number of plays. decodePng
// decodes a still file with Qt's PNG reader (which shows only the default image of an animated
// one) and the frames of an animated file with FFmpeg's APNG decoder, which applies each frame's
// disposal and blending; the canvas is the IHDR size.
//
// Rules: the size is checked against the limit before any pixel is decoded; a chunk running past
// the end of the data ends the walk (the data before it still counts, and only it is decoded); a file whose
// first chunk is not a 13-byte IHDR is refused. Library failures come back as InvalidData.
#pragma once

#include "components/decoders/Animation.h"

#include <QByteArrayView>
#include <QList>

namespace pictures {

struct PngFacts
{
    int width = 0;
    int height = 0;
    bool alpha = false;
    bool animated = false; // acTL before the image data, and at least one frame control
    int announcedFrames = 0;
    int plays = 1; // 0: forever
    QList<int> delaysMs;
    // The bytes up to the end of the last whole chunk: all that is handed to the decoders, so that
    // none of them meets a chunk longer than the data (libpng, as Qt sets it up, would allocate
    // the length it reads).
    qsizetype wholeSize = 0;
};

bool isPngData(QByteArrayView data);
platform::ErrorOr<PngFacts> scanPng(QByteArrayView data);
platform::ErrorOr<Animation> decodePng(QByteArrayView data);

} // namespace pictures
