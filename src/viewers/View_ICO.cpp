#include "viewers/View_ICO.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TPicture.h"
#include "viewers/Backgrnd.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QFrame>
#include <QLabel>

TViewPageICO::TViewPageICO(ViewerPane &pane, QStackedWidget *book) : ViewerPage(pane, book, "ICO", mtICO)
{
    picBackgroundICO = pagekit::backgroundPicture(this, "picBackgroundICO");
    pnlICO = pagekit::sunkenFrame(this, "pnlICO");
    picICO = new TPicture(pnlICO);
    picICO->setObjectName("picICO");
    picICO->setGeometry(2, 2, 96, 96);
    picICO->setCenter(true);
}

platform::Status TViewPageICO::load(const QString &path)
{
    pagekit::BusyCursor busy;
    m_pane.showViewerPage(this);
    platform::Status status = picICO->loadFromFile(pagekit::nativePath(app(), path));
    if (!status.ok())
        picICO->clear();
    ViewedRecord &r = record();
    r.Width = picICO->pictureWidth();
    r.Height = picICO->pictureHeight();
    r.Path = path;
    return status;
}

void TViewPageICO::applyBackground()
{
    TfrmStoreBackground store;
    TileImage(store.picStoreICO->pixmap(), picBackgroundICO);
}

void TViewPageICO::placeFrames()
{
    pagekit::centreAtAThird(pnlICO, m_pane.notebookSize());
}

std::unique_ptr<ZoomPicture> TViewPageICO::zoomPicture()
{
    return picICO->isEmpty() ? nullptr : ZoomPicture::bitmap(picICO->image());
}
