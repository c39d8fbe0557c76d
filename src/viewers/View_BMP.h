// Page "BMP": a coloured scroll box holding the bitmap at its natural size from the top-left
// corner (scroll ranges equal to its size), or scaled to the page while Stretch is down. A load
// records the bitmap's facts in Viewed[mtBMP]; a file that cannot be shown leaves an empty page
// recorded 0 by 0.
#pragma once

#include "viewers/ViewerPage.h"

class QScrollArea;
class TPicture;

class TViewPageBMP : public ViewerPage
{
    Q_OBJECT
public:
    TViewPageBMP(ViewerPane &pane, QStackedWidget *book);
    QScrollArea *scrollBMP = nullptr;
    TPicture *picBMP = nullptr;

    ViewerTools tools() const override { return {.preview = true, .stretch = true}; }
    platform::Status load(const QString &path) override;
    void setStretch(bool pressed) override;
    void applyBackground() override;
    void preview() override;
    std::unique_ptr<ZoomPicture> zoomPicture() override;
    QColor zoomBackground() const override;
    std::optional<QPoint> pictureOrigin() const override;
};
