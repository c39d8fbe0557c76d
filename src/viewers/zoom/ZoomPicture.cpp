#include "viewers/zoom/ZoomPicture.h"

#include "components/decoders/MetafilePlayer.h"

#include <QPainter>
#include <cmath>

namespace {

// Draws the area of an image zoomed: nearest pixels when enlarged (a person zooms in to see them),
// smoothed from halved copies when reduced.
class BitmapPicture : public ZoomPicture
{
public:
    explicit BitmapPicture(QImage image) : m_image(std::move(image)) {}
    QSize size() const override { return m_image.size(); }
    void draw(QPainter &p, const QRect &area, double zoom) override
    {
        if (m_image.isNull())
            return;
        if (zoom >= 1) {
            const QRectF source(area.x() / zoom, area.y() / zoom, area.width() / zoom, area.height() / zoom);
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
            p.drawImage(QRectF(0, 0, area.width(), area.height()), m_image, source);
            return;
        }
        const QImage &reduced = reducedTo(zoom);
        p.drawImage(QPoint(0, 0), reduced, area);
    }

protected:
    QImage m_image;

private:
    const QImage &reducedTo(double zoom)
    {
        if (zoom != m_reducedZoom) {
            const QSize wanted(std::max(1, int(std::lround(m_image.width() * zoom))),
                               std::max(1, int(std::lround(m_image.height() * zoom))));
            // Halvings are kept: the steps of Zoom out reuse them.
            const QImage *from = &m_image;
            for (const QImage &half : m_halves)
                if (half.width() >= wanted.width() && half.height() >= wanted.height())
                    from = &half;
            while (from->width() / 2 >= wanted.width() && from->height() / 2 >= wanted.height() &&
                   from->width() > 1 && from->height() > 1) {
                m_halves.push_back(from->scaled(from->width() / 2, from->height() / 2, Qt::IgnoreAspectRatio,
                                                Qt::SmoothTransformation));
                from = &m_halves.back();
            }
            m_reduced = from->scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_reducedZoom = zoom;
        }
        return m_reduced;
    }

    std::vector<QImage> m_halves; // halved again and again, largest first
    QImage m_reduced;
    double m_reducedZoom = 0;
};

class FramePicture : public ZoomPicture
{
public:
    FramePicture(QSize size, std::function<QImage()> frame) : m_size(size), m_frame(std::move(frame)) {}
    QSize size() const override { return m_size; }
    void draw(QPainter &p, const QRect &area, double zoom) override
    {
        const QImage image = m_frame();
        if (image.isNull())
            return;
        const QRectF source(area.x() / zoom, area.y() / zoom, area.width() / zoom, area.height() / zoom);
        p.setRenderHint(QPainter::SmoothPixmapTransform, zoom < 1);
        p.drawImage(QRectF(0, 0, area.width(), area.height()), image, source);
    }

private:
    QSize m_size;
    std::function<QImage()> m_frame;
};

class MetafilePicture : public ZoomPicture
{
public:
    MetafilePicture(QByteArray data, MediaType type, QSize size, const QColor &background)
        : m_data(std::move(data)), m_type(type), m_size(size), m_background(background)
    {
    }
    QSize size() const override { return m_size; }
    void draw(QPainter &p, const QRect &area, double zoom) override
    {
        if (zoom != m_zoom || !m_drawn.contains(area)) {
            // The player draws a picture one pixel narrower and lower than its own size.
            const QRect whole(0, 0, std::max(1, int(std::lround((m_size.width() - 1) * zoom))),
                              std::max(1, int(std::lround((m_size.height() - 1) * zoom))));
            const QRect part = whole.width() * qint64(whole.height()) <= kWholeLimit ? whole : area & whole;
            if (part.isEmpty())
                return;
            QImage target(part.size(), QImage::Format_RGB32);
            target.fill(m_background);
            const platform::Status played = m_type == mtWMF
                                                ? pictures::drawWmf(m_data, target, zoom, part.topLeft())
                                                : pictures::drawEmf(m_data, target, zoom, part.topLeft());
            // A file that loaded once plays again; should it not, what it drew is shown.
            (void)played;
            m_image = std::move(target);
            m_drawn = part;
            m_zoom = zoom;
        }
        p.drawImage(QPoint(0, 0), m_image, area.translated(-m_drawn.topLeft()) & m_image.rect());
    }

private:
    static constexpr qint64 kWholeLimit = 4096LL * 4096;
    QByteArray m_data;
    MediaType m_type;
    QSize m_size;
    QColor m_background;
    QImage m_image;
    QRect m_drawn;
    double m_zoom = 0;
};

} // namespace

std::unique_ptr<ZoomPicture> ZoomPicture::bitmap(QImage image)
{
    return std::make_unique<BitmapPicture>(std::move(image));
}

std::unique_ptr<ZoomPicture> ZoomPicture::frames(QSize size, std::function<QImage()> frame)
{
    return std::make_unique<FramePicture>(size, std::move(frame));
}

platform::ErrorOr<std::unique_ptr<ZoomPicture>> ZoomPicture::metafile(QByteArray data, MediaType type,
                                                                      const QColor &background)
{
    const platform::ErrorOr<QSize> size =
        type == mtWMF ? pictures::wmfPictureSize(data) : pictures::emfPictureSize(data);
    if (!size)
        return size.error();
    std::unique_ptr<ZoomPicture> picture =
        std::make_unique<MetafilePicture>(std::move(data), type, *size, background);
    return picture;
}
