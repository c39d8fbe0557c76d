// Page "GIF": a white scroll box holding the GIF player (centred, looping, tiled while Tile is
// down). A load shows a file playing and records its facts in Viewed[mtGIF]; a file that cannot be
// shown leaves the player hidden and stopped and the record as it was.
#pragma once

#include "viewers/ViewerPage.h"

class QScrollArea;
class TGIFImage;

class TViewPageGIF : public ViewerPage
{
    Q_OBJECT
public:
    TViewPageGIF(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *ScrollGIF = nullptr;
    TGIFImage *picGIF = nullptr;

    ViewerTools tools() const override { return {.stop = true, .preview = true, .tile = true}; }
    platform::Status load(const QString &path) override;
    // Stop: the current frame stays.
    void stop() override;
    void setTile(bool pressed) override;
    QString playCaption() const override;
    void applyBackground() override;
    void preview() override;
    std::unique_ptr<ZoomPicture> zoomPicture() override;
};
