#include "viewers/View_ImageEn.h"

#include "app/App.h"
#include "components/TImageEn.h"
#include "components/decoders/ImageLimits.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Previews.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QScrollArea>
#include <QScrollBar>

TViewPageImageEn::TViewPageImageEn(ViewerPane &pane, QStackedWidget *book, MediaType type, const Look &look)
    : ViewerPage(pane, book, look.page, type), m_look(look)
{
    const QByteArray scrollName = QByteArray("Scroll") + look.page;
    m_scroll = pagekit::scrollBox(this, scrollName.constData(), look.colour);
    // The view fills the box and scrolls over its picture itself.
    m_view = pagekit::pictureIn<TImageEn>(m_scroll, look.view, true);
    m_view->setBackground(look.colour);
    m_view->setScrollBars(true);
    pagekit::panByDragging(m_view);
    m_view->setEightBit(look.eightBit);
    // The view scrolls, so the keyboard stops at it, under the box's name, and not at the box too.
    m_view->setAccessibleName(m_scroll->accessibleName());
    m_scroll->setFocusPolicy(Qt::NoFocus);
}

platform::Status TViewPageImageEn::load(const QString &path)
{
    pagekit::BusyCursor busy;
    m_pane.showViewerPage(this);
    pagekit::scrollToOrigin(m_scroll);
    // The view's own bars go back to the corner too, also when the file then fails and the view is
    // only cleared.
    m_view->horizontalScrollBar()->setValue(0);
    m_view->verticalScrollBar()->setValue(0);
    platform::Status status = m_view->loadFromFile(pagekit::nativePath(app(), path));
    if (!status.ok())
        m_view->clear();
    // A blank view keeps the previous picture's size: a file that failed has none of its own.
    ViewedRecord &r = record();
    r.Width = status.ok() ? m_view->bitmapWidth() : 0;
    r.Height = status.ok() ? m_view->bitmapHeight() : 0;
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Monochrome = status.ok() && m_view->isMonochrome();
    return status;
}

void TViewPageImageEn::applyBackground()
{
    pagekit::colour(m_scroll, m_look.colour);
}

void TViewPageImageEn::preview()
{
    PreviewImage(app(), record(),
                 {m_look.previewForm, m_look.previewView, m_look.previewEightBit, m_look.colour});
}

std::unique_ptr<ZoomPicture> TViewPageImageEn::zoomPicture()
{
    const ViewedRecord &r = record();
    if (r.Width <= 0 || r.Height <= 0 || m_view->bitmap().isNull())
        return nullptr;
    if (type() != mtWMF && type() != mtEMF)
        return ZoomPicture::bitmap(m_view->bitmap());
    // A metafile is played again at each zoom: its data, read again.
    platform::ErrorOr<QByteArray> data = pictures::readWholeFile(pagekit::nativePath(app(), r.Path));
    if (!data)
        return ZoomPicture::bitmap(m_view->bitmap());
    platform::ErrorOr<std::unique_ptr<ZoomPicture>> picture =
        ZoomPicture::metafile(std::move(*data), type(), m_look.colour);
    return picture ? std::move(*picture) : ZoomPicture::bitmap(m_view->bitmap());
}

std::optional<QPoint> TViewPageImageEn::pictureOrigin() const
{
    return m_view->viewport()->mapTo(
        this, QPoint(-m_view->horizontalScrollBar()->value(), -m_view->verticalScrollBar()->value()));
}

TViewPageImageEn *NewPagePCX(ViewerPane &pane, QStackedWidget *book)
{
    return new TViewPageImageEn(
        pane, book, mtPCX,
        {"PCX", "PicPcx", "frmPreview_PCX", "PicPcx", QColor(0x80, 0xFF, 0x80), false, true});
}

TViewPageImageEn *NewPageTIF(ViewerPane &pane, QStackedWidget *book)
{
    return new TViewPageImageEn(
        pane, book, mtTIF,
        {"TIF", "picTIF", "frmPreview_TIF", "PicTIF", QColor(0x80, 0x80, 0xC0), false, false});
}

TViewPageImageEn *NewPageWMF(ViewerPane &pane, QStackedWidget *book)
{
    return new TViewPageImageEn(
        pane, book, mtWMF,
        {"WMF", "picWMF", "frmPreview_WMF", "PicWMF", QColor(0x80, 0xFF, 0xFF), true, true});
}

TViewPageImageEn *NewPageEMF(ViewerPane &pane, QStackedWidget *book)
{
    return new TViewPageImageEn(
        pane, book, mtEMF,
        {"EMF", "picEMF", "frmPreview_EMF", "PicEMF", QColor(0x40, 0x80, 0x80), false, false});
}
