// What a picture page hands the zoom view: the picture's own size and a way to draw any part of it
// at any zoom. Three kinds: a still bitmap (BMP, ICO, JPEG, PCX, TIFF), a player's current frame
// (GIF, animated cursor: changed() at each frame) and a metafile played again at the zoom (WMF,
// EMF), so that its edges stay sharp.
//
// Rules:
// - draw() paints the zoomed picture's rectangle area (zoomed-picture pixels) onto the painter at
//   the painter's origin; nothing outside the picture is painted.
// - A bitmap zoomed out is drawn smoothed from the level of a halving pyramid (made as needed, then
//   kept) just above the zoom: a step samples only what the view shows.
// - A metafile keeps what it played last (the whole zoomed picture when it is small enough, else
//   the part shown with a margin): panning within it plays nothing again. A new zoom shows the last
//   play scaled at once and plays the sharp picture on a worker thread; only the first showing
//   waits for its play.
#pragma once

#include "app/MediaType.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

class ZoomPicture : public QObject
{
    Q_OBJECT
public:
    virtual QSize size() const = 0;
    virtual void draw(QPainter &painter, const QRect &area, double zoom) = 0;
    // Whether what draw() painted last is the final picture (a metafile may still be playing the
    // sharp one: changed() then says it is there).
    virtual bool settled() const { return true; }
    // The picture at its own size (a player's current frame), for the clipboard.
    virtual QImage image() const = 0;

    // A still bitmap.
    static std::unique_ptr<ZoomPicture> bitmap(QImage image);
    // The current frame of a player, read at each paint; the caller connects the player's frame
    // signal to changed().
    static std::unique_ptr<ZoomPicture> frames(QSize size, std::function<QImage()> frame);
    // A metafile's data (mtWMF or mtEMF) drawn on the background colour; an error when the data
    // has no picture size.
    static platform::ErrorOr<std::unique_ptr<ZoomPicture>> metafile(QByteArray data, MediaType type,
                                                                    const QColor &background);

signals:
    void changed();
};
