// Animated cursor (RIFF "ACON") decoder: the "anih" header, optional "rate" and "seq " chunks
// and the "LIST" "fram" of "icon" chunks, each an icon or cursor read by Qt's ICO reader.
// Lenient with the faults real cursor files have: chunks not padded to even sizes, a RIFF
// size that disagrees with the file, frame and step counts in the header that disagree with
// the chunks (the chunks win), sequence entries naming missing frames (dropped), short or
// missing rate tables (the header's rate fills in). A frame that cannot be read or a file with
// no frames is refused as damaged; decoded frames larger in total than the picture size limit
// are refused as too large.
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QString>

namespace pictures {

struct AniData
{
    QList<QImage> frames; // icon chunks in file order
    QList<int> sequence;  // frame index shown at each step
    QList<int> rates;     // jiffies (1/60 s) of each step, at least 1
    int headerFrames = 0; // what the header claimed
    int headerSteps = 0;
    int defaultRate = 0;
};

platform::ErrorOr<AniData> decodeAni(QByteArrayView data);

} // namespace pictures
