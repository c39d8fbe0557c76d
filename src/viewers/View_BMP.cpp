#include "viewers/View_BMP.h"

#include "app/App.h"
#include "components/TPicture.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Previews.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QScrollArea>

namespace {
const QColor kColour(0xD1, 0xEB, 0xFE);
}

TViewPageBMP::TViewPageBMP(ViewerPane &pane, QStackedWidget *book) : ViewerPage(pane, book, "BMP", mtBMP)
{
    scrollBMP = pagekit::scrollBox(this, "scrollBMP", kColour);
    picBMP = pagekit::pictureIn<TPicture>(scrollBMP, "picBMP", false);
    pagekit::showPictureIn(scrollBMP, picBMP, false);
    pagekit::panByDragging(scrollBMP);
}

platform::Status TViewPageBMP::load(const QString &path)
{
    pagekit::BusyCursor busy;
    m_pane.showViewerPage(this);
    pagekit::scrollToOrigin(scrollBMP);
    platform::Status status = picBMP->loadFromFile(pagekit::nativePath(app(), path));
    if (!status.ok())
        picBMP->clear();
    ViewedRecord &r = record();
    r.Width = picBMP->pictureWidth();
    r.Height = picBMP->pictureHeight();
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Monochrome = picBMP->isMonochrome();
    pagekit::showPictureIn(scrollBMP, picBMP, picBMP->stretch());
    return status;
}

void TViewPageBMP::setStretch(bool pressed)
{
    pagekit::showPictureIn(scrollBMP, picBMP, pressed);
}

void TViewPageBMP::applyBackground()
{
    pagekit::colour(scrollBMP, kColour);
}

void TViewPageBMP::preview()
{
    PreviewBMP(app(), record(), kColour);
}

std::unique_ptr<ZoomPicture> TViewPageBMP::zoomPicture()
{
    return picBMP->isEmpty() ? nullptr : ZoomPicture::bitmap(picBMP->image());
}

QColor TViewPageBMP::zoomBackground() const
{
    return kColour;
}

std::optional<QPoint> TViewPageBMP::pictureOrigin() const
{
    return picBMP->mapTo(this, QPoint(0, 0));
}
