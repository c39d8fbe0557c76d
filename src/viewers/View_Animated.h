// Pages "PNG" and "WEBP": a coloured scroll box holding the picture player. The picture is shown
// at its natural size from the top-left corner (scroll ranges equal to its size), scaled to the box
// while Stretch is down, or repeated over the box while Tile is down (Stretch before Tile); pixels
// with alpha show the page's colour. An animated file plays from its load (its own delays and
// number of plays) until Stop, which freezes the frame on view; Play loads it again.
// A load records the picture's facts in Viewed[type] (size, animated, transparent, frame count,
// Tile); a file that cannot be shown (a WebP file named .png among them) leaves an empty page and a record of
// 0 by 0 with the file's path and name.
#pragma once

#include "components/decoders/Animation.h"
#include "viewers/ViewerPage.h"

#include <QColor>

class QScrollArea;
class TAnimatedImage;

// What the two pages share: one class, told its names and colour.
class TViewPageAnimated : public ViewerPage
{
    Q_OBJECT
public:
    struct Look
    {
        const char *page;           // "PNG"
        const char *scroll;         // "ScrollPNG"
        const char *picture;        // "picPNG"
        const char *previewForm;    // "frmPreview_PNG"
        const char *previewPicture; // "ImagePNG"
        QColor colour;
        pictures::AnimationFormat format; // of the files the page shows
    };
    TViewPageAnimated(ViewerPane &pane, QStackedWidget *book, MediaType type, const Look &look);

    QScrollArea *scroll() const { return m_scroll; }
    TAnimatedImage *picture() const { return m_picture; }
    const Look &look() const { return m_look; }

    ViewerTools tools() const override
    {
        return {.stop = true, .preview = true, .stretch = true, .tile = true};
    }
    platform::Status load(const QString &path) override;
    void stop() override;
    void setStretch(bool pressed) override;
    void setTile(bool pressed) override;
    QString playCaption() const override;
    void applyBackground() override;
    void preview() override;
    std::unique_ptr<ZoomPicture> zoomPicture() override;
    QColor zoomBackground() const override { return m_look.colour; }
    std::optional<QPoint> pictureOrigin() const override;

private:
    void layOut();

    Look m_look;
    QScrollArea *m_scroll = nullptr;
    TAnimatedImage *m_picture = nullptr;
};

TViewPageAnimated *NewPagePNG(ViewerPane &pane, QStackedWidget *book);
TViewPageAnimated *NewPageWEBP(ViewerPane &pane, QStackedWidget *book);
