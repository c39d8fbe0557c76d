// Page "ANI": a tiled background and a 100 by 100 sunken frame holding the animated-cursor player.
// A load shows a cursor animated and records the player's size in Viewed[mtANI]; a file that is not
// a cursor that can be read (missing, another extension, damaged) leaves the player hidden and
// stopped.
#pragma once

#include "viewers/ViewerPage.h"

class QFrame;
class QLabel;
class TAniIcon;

class TViewPageANI : public ViewerPage
{
    Q_OBJECT
public:
    TViewPageANI(ViewerPane &pane, QStackedWidget *book);
    QLabel *picBackgroundANI = nullptr;
    QFrame *pnlANI = nullptr;
    TAniIcon *picANI = nullptr;

    ViewerTools tools() const override { return {.stop = true}; }
    platform::Status load(const QString &path) override;
    // Stop: the cursor stays on its current step.
    void stop() override;
    QString playCaption() const override;
    void applyBackground() override;
    void placeFrames() override;
    std::unique_ptr<ZoomPicture> zoomPicture() override;
};
