#include "viewers/View_GIF.h"

#include "app/App.h"
#include "app/Language.h"
#include "components/TGIFImage.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Previews.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QScrollArea>

TViewPageGIF::TViewPageGIF(ViewerPane &pane, QStackedWidget *book) : ViewerPage(pane, book, "GIF", mtGIF)
{
    ScrollGIF = pagekit::scrollBox(this, "ScrollGIF", Qt::white);
    picGIF = pagekit::pictureIn<TGIFImage>(ScrollGIF, "picGIF", true);
    picGIF->setCenter(true);
    picGIF->setLoop(true);
}

platform::Status TViewPageGIF::load(const QString &path)
{
    pagekit::BusyCursor busy;
    picGIF->setVisible(true);
    m_pane.showViewerPage(this);
    pagekit::scrollToOrigin(ScrollGIF);
    platform::Status status = picGIF->loadFromFile(pagekit::nativePath(app(), path));
    if (!status.ok()) {
        picGIF->setVisible(false);
        picGIF->setAnimate(false);
        return status;
    }
    ViewedRecord &r = record();
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
    return status;
}

void TViewPageGIF::stop()
{
    picGIF->setAnimate(false);
}

void TViewPageGIF::setTile(bool pressed)
{
    picGIF->setTile(pressed);
    record().Tile = pressed;
}

QString TViewPageGIF::playCaption() const
{
    return SelectText("&Jouer/Rafraîchir l'image", "&Play/Refresh image");
}

void TViewPageGIF::applyBackground()
{
    pagekit::colour(ScrollGIF, Qt::white);
}

void TViewPageGIF::preview()
{
    PreviewGIF(app(), record(), Qt::white);
}

std::unique_ptr<ZoomPicture> TViewPageGIF::zoomPicture()
{
    if (picGIF->isHidden() || picGIF->isEmpty())
        return nullptr;
    TGIFImage *player = picGIF;
    auto picture = ZoomPicture::frames(QSize(player->imageWidth(), player->imageHeight()),
                                       [player] { return player->currentFrame(); });
    connect(player, &TGIFImage::frameChanged, picture.get(), &ZoomPicture::changed);
    return picture;
}
