#include "viewers/View_GIF.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TGIFImage.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"

#include <QScrollArea>
#include <QStackedWidget>

TViewPageGIF::TViewPageGIF(ViewerPane &pane, QStackedWidget *book) : QWidget(book), m_pane(pane)
{
    pagekit::becomePage(this, book, "GIF");
    ScrollGIF = pagekit::scrollBox(this, "ScrollGIF", Qt::white);
    picGIF = pagekit::pictureIn<TGIFImage>(ScrollGIF, "picGIF", true);
    picGIF->setCenter(true);
    picGIF->setLoop(true);
}

void TViewPageGIF::LoadGIF(const QString &path)
{
    App &app = m_pane.app;
    if (!app.st.FormReady)
        return;
    pagekit::BusyCursor busy;
    picGIF->setVisible(true);
    m_pane.showViewerPage(QStringLiteral("GIF"));
    pagekit::scrollToOrigin(ScrollGIF);
    if (!picGIF->loadFromFile(pagekit::nativePath(app, path)).ok()) {
        busy.release();
        ShowFileAccessError(app);
        picGIF->setVisible(false);
        picGIF->setAnimate(false);
        return;
    }
    ViewedGIFRecord &r = app.st.ViewedGIF;
    r.Width = picGIF->imageWidth();
    r.Height = picGIF->imageHeight();
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Animated = picGIF->isAnimated();
    r.Interlaced = picGIF->isInterlaced();
    r.Transparent = picGIF->isTransparent();
    r.FrameCount = picGIF->frameCount();
    r.Speed = picGIF->speed();
    r.Tile = picGIF->tile();
    // The box scrolls over the whole picture; a smaller one is centred in the box.
    picGIF->setMinimumSize(r.Width, r.Height);
    picGIF->setAnimate(true);
}

void TViewPageGIF::StopGIF()
{
    picGIF->setAnimate(false);
}
