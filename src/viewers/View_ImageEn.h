// Pages "PCX", "TIF", "WMF" and "EMF": a coloured scroll box holding an image view of the same
// colour that decodes the file (a metafile drawn on a bitmap one pixel smaller than the picture in
// each direction; the WMF view in 256 colours) and scrolls over it from its top-left corner. Each
// load records the view's facts (Viewed[mtPCX] ...); a file that cannot be shown leaves a view
// blank in the page's colour, and a record of 0 by 0 with the file's path and name.
#pragma once

#include "viewers/ViewerPage.h"

#include <QColor>

class QScrollArea;
class TImageEn;

// What the four pages share: one class, told its name, colour, view and preview window.
class TViewPageImageEn : public ViewerPage
{
    Q_OBJECT
public:
    struct Look
    {
        const char *page;        // "PCX"
        const char *view;        // the view's name on the page: "PicPcx"
        const char *previewForm; // the preview window's name: "frmPreview_PCX"
        const char *previewView; // its view's name: "PicPcx"
        QColor colour;
        bool eightBit; // the view and its preview in 256 colours
        bool previewEightBit;
    };
    TViewPageImageEn(ViewerPane &pane, QStackedWidget *book, MediaType type, const Look &look);

    QScrollArea *scroll() const { return m_scroll; }
    TImageEn *view() const { return m_view; }

    ViewerTools tools() const override { return {.preview = true}; }
    platform::Status load(const QString &path) override;
    void applyBackground() override;
    void preview() override;
    std::unique_ptr<ZoomPicture> zoomPicture() override;
    QColor zoomBackground() const override { return m_look.colour; }
    std::optional<QPoint> pictureOrigin() const override;

private:
    Look m_look;
    QScrollArea *m_scroll = nullptr;
    TImageEn *m_view = nullptr;
};

TViewPageImageEn *NewPagePCX(ViewerPane &pane, QStackedWidget *book);
TViewPageImageEn *NewPageTIF(ViewerPane &pane, QStackedWidget *book);
TViewPageImageEn *NewPageWMF(ViewerPane &pane, QStackedWidget *book);
TViewPageImageEn *NewPageEMF(ViewerPane &pane, QStackedWidget *book);
