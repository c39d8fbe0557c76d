// GIF block scanner and frame composer.
// scanGif walks the file's block structure and answers the exact facts: screen size, frames
// (position, delay, disposal, transparent index, interlace, palette, where their LZW data is),
// the loop count of a NETSCAPE2.0 block. A frame cut short by the end of the file is dropped;
// a file without one complete frame is refused.
// GifComposer draws the frames one after the other on a transparent canvas the size of the
// screen, applying each previous frame's disposal (2 clears its rectangle, 3 restores what was
// under it). Pixels outside the screen are dropped.
#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

namespace pictures {

struct GifFrameInfo
{
    QRect rect;
    int delayCs = 0; // as written in the file, hundredths of a second
    int disposal = 0;
    int transparentIndex = -1;
    bool interlaced = false;
    QList<QRgb> palette;
    int minCodeSize = 0;
    qsizetype dataOffset = 0; // first sub-block of LZW data
};

struct GifFacts
{
    int width = 0;
    int height = 0;
    int loopCount = -1; // -1: no loop block (plays once); 0: forever; n: repeated n times
    bool interlaced = false;
    bool transparent = false;
    QList<GifFrameInfo> frames;
    bool animated() const { return frames.size() > 1; }
};

platform::ErrorOr<GifFacts> scanGif(QByteArrayView data);

// A frame's delay in milliseconds at normal speed. Delays of 0 or 1 hundredth are raised to a
// tenth of a second, as browsers do, so such files do not spin.
int gifFrameDelayMs(int delayCs);

class GifComposer
{
public:
    GifComposer() = default;
    GifComposer(const QByteArray &data, const GifFacts &facts);

    // Back to before the first frame.
    void reset();
    // Composes the next frame (the first after reset, wrapping after the last) and answers the
    // canvas; false when there are no frames.
    bool advance();
    const QImage &canvas() const { return m_canvas; }
    int index() const { return m_index; }
    int frameCount() const { return int(m_facts.frames.size()); }

private:
    void drawFrame(const GifFrameInfo &frame);

    QByteArray m_data;
    GifFacts m_facts;
    QImage m_canvas;
    QImage m_saved; // the canvas under a frame whose disposal restores it
    int m_index = -1;
};

} // namespace pictures
