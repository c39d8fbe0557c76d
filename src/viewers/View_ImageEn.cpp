#include "viewers/View_ImageEn.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TImageEn.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>

TViewPageImageEn::TViewPageImageEn(ViewerPane &pane, QStackedWidget *book, const char *name,
                                   const QColor &colour, ViewedPictureRecord &record)
    : QWidget(book), m_pane(pane), m_name(QString::fromLatin1(name)), m_record(record)
{
    pagekit::becomePage(this, book, name);
    const QString scrollName = QStringLiteral("Scroll") + m_name;
    m_scroll = pagekit::scrollBox(this, scrollName.toLatin1().constData(), colour);
}

void TViewPageImageEn::load(const QString &path, QScrollArea *scroll, TImageEn *view)
{
    App &app = m_pane.app;
    if (!app.st.FormReady)
        return;
    pagekit::BusyCursor busy;
    m_pane.showViewerPage(m_name);
    pagekit::scrollToOrigin(scroll);
    // The view fills the box and scrolls over its picture itself: its own bars go back to the
    // corner too, also when the file then fails and the view is only cleared.
    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(0);
    const bool loaded = view->loadFromFile(pagekit::nativePath(app, path)).ok();
    if (!loaded) {
        busy.release();
        ShowFileAccessError(app);
        view->clear();
    }
    // A blank view keeps the previous picture's size: a file that failed has none of its own.
    m_record.Width = loaded ? view->bitmapWidth() : 0;
    m_record.Height = loaded ? view->bitmapHeight() : 0;
    m_record.Path = path;
    m_record.FileName = pagekit::nameOf(path);
    m_record.Monochrome = loaded && view->isMonochrome();
}

namespace {
// The image view of a page: it fills the scroll box and scrolls over its picture itself.
TImageEn *imageView(QScrollArea *scroll, const char *name, const QColor &colour)
{
    TImageEn *view = pagekit::pictureIn<TImageEn>(scroll, name, true);
    view->setBackground(colour);
    view->setScrollBars(true);
    return view;
}
} // namespace

TViewPagePCX::TViewPagePCX(ViewerPane &pane, QStackedWidget *book)
    : TViewPageImageEn(pane, book, "PCX", QColor(0x80, 0xFF, 0x80), pane.app.st.ViewedPCX)
{
    ScrollPCX = m_scroll;
    PicPcx = imageView(ScrollPCX, "PicPcx", QColor(0x80, 0xFF, 0x80));
}

TViewPageTIF::TViewPageTIF(ViewerPane &pane, QStackedWidget *book)
    : TViewPageImageEn(pane, book, "TIF", QColor(0x80, 0x80, 0xC0), pane.app.st.ViewedTIF)
{
    ScrollTIF = m_scroll;
    picTIF = imageView(ScrollTIF, "picTIF", QColor(0x80, 0x80, 0xC0));
}

TViewPageWMF::TViewPageWMF(ViewerPane &pane, QStackedWidget *book)
    : TViewPageImageEn(pane, book, "WMF", QColor(0x80, 0xFF, 0xFF), pane.app.st.ViewedWMF)
{
    ScrollWMF = m_scroll;
    picWMF = imageView(ScrollWMF, "picWMF", QColor(0x80, 0xFF, 0xFF));
    picWMF->setEightBit(true);
}

TViewPageEMF::TViewPageEMF(ViewerPane &pane, QStackedWidget *book)
    : TViewPageImageEn(pane, book, "EMF", QColor(0x40, 0x80, 0x80), pane.app.st.ViewedEMF)
{
    ScrollEMF = m_scroll;
    picEMF = imageView(ScrollEMF, "picEMF", QColor(0x40, 0x80, 0x80));
}
