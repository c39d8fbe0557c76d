// The facts of a WebP file read by libwebp's demuxer, without decoding a pixel: the canvas size,
// whether it has alpha, and its frame count (1 for a still picture). WebP samples are 8 bits.
//
// Rules: a file whose RIFF header and first image header cannot be parsed is InvalidData. One cut
// short (or whose RIFF size says more than it holds) answers what its headers said with
// `complete` false; its frames are those that arrived whole.
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>

namespace pictures {

struct WebpInfo
{
    int width = 0;
    int height = 0;
    bool alpha = false;
    bool animated = false;
    int frames = 0;
    bool complete = false;
};

platform::ErrorOr<WebpInfo> readWebpInfo(QByteArrayView data);

} // namespace pictures
