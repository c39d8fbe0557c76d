#include "viewers/View_Animated.h"

#include "app/App.h"
#include "app/Language.h"
#include "components/TAnimatedImage.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Previews.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QPainter>
#include <QScrollArea>

namespace {

// The frame as the page shows it: its transparent pixels on the page's colour.
QImage onColour(const QImage &frame, const QColor &colour)
{
    QImage flat(frame.size(), QImage::Format_RGB32);
    flat.fill(colour);
    QPainter p(&flat);
    p.drawImage(0, 0, frame);
    return flat;
}

// What the zoom view draws: the picture on the page's colour, also in full screen (where the
// view's own background is black). A still picture is put on its colour when first drawn (not for
// every look at the page's picture), a frame of an animation once for each frame shown. The
// clipboard takes the frame with its alpha.
class PictureOnColour : public ZoomPicture
{
public:
    PictureOnColour(TAnimatedImage *player, const QColor &colour) : m_player(player), m_colour(colour)
    {
        if (!player->isAnimated())
            return;
        m_shown = ZoomPicture::frames(size(), [this] { return frameOnColour(); });
        connect(player, &TAnimatedImage::frameChanged, m_shown.get(), &ZoomPicture::changed);
        connect(m_shown.get(), &ZoomPicture::changed, this, &ZoomPicture::changed);
    }
    QSize size() const override { return QSize(m_player->imageWidth(), m_player->imageHeight()); }
    void draw(QPainter &painter, const QRect &area, double zoom) override
    {
        if (!m_shown) // a still picture: smoothed when zoomed out, as every bitmap
            m_shown = ZoomPicture::bitmap(frameOnColour());
        m_shown->draw(painter, area, zoom);
    }
    QImage image() const override { return m_player->currentFrame(); }

private:
    QImage frameOnColour()
    {
        const QImage frame = m_player->currentFrame();
        if (!m_player->isTransparent())
            return frame;
        if (m_flatOf != frame.cacheKey()) {
            m_flat = onColour(frame, m_colour);
            m_flatOf = frame.cacheKey();
        }
        return m_flat;
    }

    TAnimatedImage *m_player;
    QColor m_colour;
    std::unique_ptr<ZoomPicture> m_shown;
    QImage m_flat;
    qint64 m_flatOf = 0;
};

} // namespace

TViewPageAnimated::TViewPageAnimated(ViewerPane &pane, QStackedWidget *book, MediaType type, const Look &look)
    : ViewerPage(pane, book, look.page, type), m_look(look)
{
    m_scroll = pagekit::scrollBox(this, look.scroll, look.colour);
    m_picture = pagekit::pictureIn<TAnimatedImage>(m_scroll, look.picture, false);
    m_picture->setFormat(look.format);
    pagekit::panByDragging(m_scroll);
    layOut();
}

platform::Status TViewPageAnimated::load(const QString &path)
{
    pagekit::BusyCursor busy;
    m_pane.showViewerPage(this);
    pagekit::scrollToOrigin(m_scroll);
    // Stretch and Tile stay as the buttons are, from file to file.
    m_picture->setStretch(m_pane.commandChecked(ViewerCommand::Stretch));
    m_picture->setTile(m_pane.commandChecked(ViewerCommand::Tile));
    m_picture->setAnimate(false);
    const platform::Status status = m_picture->loadFromFile(pagekit::nativePath(app(), path));
    ViewedRecord &r = record();
    r.Width = m_picture->imageWidth();
    r.Height = m_picture->imageHeight();
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Animated = m_picture->isAnimated();
    r.Transparent = m_picture->isTransparent();
    r.FrameCount = m_picture->frameCount();
    r.Tile = m_picture->tile();
    layOut();
    if (status.ok())
        m_picture->setAnimate(true);
    return status;
}

void TViewPageAnimated::layOut()
{
    const QSize natural(m_picture->imageWidth(), m_picture->imageHeight());
    if (m_picture->stretch()) {
        m_picture->setMinimumSize(0, 0);
        m_scroll->setWidgetResizable(true);
    } else if (m_picture->tile()) {
        // The box scrolls over the whole picture and is filled beyond it.
        m_picture->setMinimumSize(natural);
        m_scroll->setWidgetResizable(true);
    } else {
        m_picture->setMinimumSize(0, 0);
        m_scroll->setWidgetResizable(false);
        m_picture->resize(natural);
    }
}

void TViewPageAnimated::stop()
{
    m_picture->setAnimate(false);
}

void TViewPageAnimated::setStretch(bool pressed)
{
    m_picture->setStretch(pressed);
    layOut();
}

void TViewPageAnimated::setTile(bool pressed)
{
    m_picture->setTile(pressed);
    record().Tile = pressed;
    layOut();
}

QString TViewPageAnimated::playCaption() const
{
    return SelectText("&Jouer/Rafraîchir l'image", "&Play/Refresh image");
}

void TViewPageAnimated::applyBackground()
{
    pagekit::colour(m_scroll, m_look.colour);
}

void TViewPageAnimated::preview()
{
    PreviewAnimated(app(), record(),
                    {m_look.previewForm, m_look.previewPicture, m_look.colour, m_look.format});
}

std::unique_ptr<ZoomPicture> TViewPageAnimated::zoomPicture()
{
    if (m_picture->isEmpty())
        return nullptr;
    return std::make_unique<PictureOnColour>(m_picture, m_look.colour);
}

std::optional<QPoint> TViewPageAnimated::pictureOrigin() const
{
    return m_picture->mapTo(this, QPoint(0, 0));
}

TViewPageAnimated *NewPagePNG(ViewerPane &pane, QStackedWidget *book)
{
    return new TViewPageAnimated(pane, book, mtPNG,
                                 {"PNG", "ScrollPNG", "picPNG", "frmPreview_PNG", "ImagePNG",
                                  QColor(0xE6, 0xE0, 0xF8), pictures::AnimationFormat::Png});
}

TViewPageAnimated *NewPageWEBP(ViewerPane &pane, QStackedWidget *book)
{
    return new TViewPageAnimated(pane, book, mtWEBP,
                                 {"WEBP", "ScrollWEBP", "picWEBP", "frmPreview_WEBP", "ImageWEBP",
                                  QColor(0xFF, 0xE4, 0xCC), pictures::AnimationFormat::Webp});
}
