#include "viewers/View_GIF.h"

#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "viewers/pages/PageKit.h"

#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

namespace {

// A scroll box of colour holding an image view of the same colour.
TImageEn *imageView(QWidget *page, QScrollArea *&scroll, const char *scrollName, const char *viewName,
                    const QColor &colour)
{
    scroll = pagekit::scrollBox(page, scrollName, colour);
    TImageEn *view = pagekit::pictureIn<TImageEn>(scroll, viewName, true);
    view->setBackground(colour);
    return view;
}
} // namespace

TViewPageGIF::TViewPageGIF(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "GIF");
    ScrollGIF = pagekit::scrollBox(this, "ScrollGIF", Qt::white);
    picGIF = pagekit::pictureIn<TGIFImage>(ScrollGIF, "picGIF", true);
    picGIF->setCenter(true);
    picGIF->setLoop(true);
}

TViewPagePCX::TViewPagePCX(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "PCX");
    PicPcx = imageView(this, ScrollPCX, "ScrollPCX", "PicPcx", QColor(0x80, 0xFF, 0x80));
    PicPcx->setScrollBars(true);
}

TViewPageTIF::TViewPageTIF(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "TIF");
    picTIF = imageView(this, ScrollTIF, "ScrollTIF", "picTIF", QColor(0x80, 0x80, 0xC0));
}

TViewPageWMF::TViewPageWMF(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "WMF");
    picWMF = imageView(this, ScrollWMF, "ScrollWMF", "picWMF", QColor(0x80, 0xFF, 0xFF));
    picWMF->setEightBit(true);
}

TViewPageEMF::TViewPageEMF(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "EMF");
    picEMF = imageView(this, ScrollEMF, "ScrollEMF", "picEMF", QColor(0x40, 0x80, 0x80));
}

TViewPageICO::TViewPageICO(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "ICO");
    picBackgroundICO = pagekit::backgroundPicture(this, "picBackgroundICO");
    pnlICO = pagekit::sunkenFrame(this, "pnlICO");
    picICO = new TPicture(pnlICO);
    picICO->setObjectName("picICO");
    picICO->setGeometry(2, 2, 96, 96);
    picICO->setCenter(true);
}
