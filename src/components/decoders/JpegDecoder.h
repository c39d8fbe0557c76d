// JPEG decoding over the libjpeg API (libjpeg-turbo). libjpeg's error exit never reaches the
// process: it returns here through setjmp and becomes an InvalidData error. A file that ends early is
// an error too; other warnings are silent. Images whose full size is over the picture limit,
// and progressive files with an absurd number of scans, are refused.
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <functional>

namespace pictures {

struct JpegHeader
{
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false; // coded in several scans
};

struct JpegOptions
{
    int scale = 0;                   // 0..3: 1/1, 1/2, 1/4, 1/8
    bool grayscale = false;          // grey output, quantised like 8-bit output
    bool fast = false;               // fast integer transform, one-pass quantising, ordered dither
    bool eightBit = false;           // 236-colour palette output
    bool progressiveDisplay = false; // buffered-image mode, scan by scan
    bool smoothing = false;          // block smoothing of coarse progressive passes
};

// Called as libjpeg reports progress: passes done, passes in all, rows of the current pass.
using JpegProgressFn = std::function<void(int completed, int total, long counter, long limit)>;

platform::ErrorOr<JpegHeader> readJpegHeader(QByteArrayView data);

// Scaled output size as libjpeg computes it (rounded up).
int jpegScaledSize(int size, int scale);

// Called after each coarse pass of a progressive file decoded scan by scan, with the picture as it
// stands (valid only during the call: the decode goes on writing into it).
using JpegPassFn = std::function<void(const QImage &partial)>;

platform::ErrorOr<QImage> decodeJpeg(QByteArrayView data, const JpegOptions &options,
                                     const JpegProgressFn &progress, const JpegPassFn &passDone = {});

} // namespace pictures
