// Page "ICO": a tiled background and a 100 by 100 sunken frame holding the icon, centred. A load
// records the icon's size in Viewed[mtICO] (0 by 0 when it cannot be shown).
#pragma once

#include "viewers/ViewerPage.h"

class QFrame;
class QLabel;
class TPicture;

class TViewPageICO : public ViewerPage
{
    Q_OBJECT
public:
    TViewPageICO(ViewerPane &pane, QStackedWidget *book);
    QLabel *picBackgroundICO = nullptr;
    QFrame *pnlICO = nullptr;
    TPicture *picICO = nullptr;

    ViewerTools tools() const override { return {}; }
    platform::Status load(const QString &path) override;
    void applyBackground() override;
    void placeFrames() override;
    std::unique_ptr<ZoomPicture> zoomPicture() override;
};
