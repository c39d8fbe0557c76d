// The facts of a PNG or APNG file read from its chunks, without decoding a pixel: the header's
// size, bit depth and colour type, whether it has alpha (an alpha channel or a transparency
// chunk), and the animation's frame count (1 for a still picture).
//
// Rules: the signature and a valid IHDR chunk first are required (InvalidData otherwise). Every
// other chunk is walked to IEND with its CRC checked; a file cut short, a bad CRC or no picture
// data leave `complete` false, with what the header said.
#pragma once

#include "platform/Result.h"

#include <QIODevice>

namespace pictures {

struct PngInfo
{
    int width = 0;
    int height = 0;
    int bitDepth = 0;   // bits a sample, as IHDR says (1 .. 16)
    int colourType = 0; // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool alpha = false;
    int frames = 1;
    bool complete = false;
};

platform::ErrorOr<PngInfo> readPngInfo(QIODevice &in);

} // namespace pictures
