#include "viewers/zoom/ZoomPicture.h"

#include "components/decoders/MetafilePlayer.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>
#include <atomic>
#include <cmath>

namespace {

// One level of the halving pyramid: each pixel the mean of four (a box filter, fast and fair).
QImage halved(const QImage &from)
{
    const int w = from.width() / 2, h = from.height() / 2;
    QImage out(w, h, from.format());
    for (int y = 0; y < h; ++y) {
        const auto *a = reinterpret_cast<const quint32 *>(from.constScanLine(2 * y));
        const auto *b = reinterpret_cast<const quint32 *>(from.constScanLine(2 * y + 1));
        auto *o = reinterpret_cast<quint32 *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const quint32 p[4] = {a[2 * x], a[2 * x + 1], b[2 * x], b[2 * x + 1]};
            quint32 v = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                quint32 sum = 2;
                for (quint32 q : p)
                    sum += (q >> shift) & 0xFF;
                v |= (sum / 4) << shift;
            }
            o[x] = v;
        }
    }
    return out;
}

// Draws the area of an image zoomed: nearest pixels when enlarged (a person zooms in to see them);
// reduced, smoothed from the level of the halving pyramid just above the zoom, so that a step only
// samples what the view shows.
class BitmapPicture : public ZoomPicture
{
public:
    explicit BitmapPicture(QImage image)
    {
        const QImage::Format f =
            image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        m_levels.push_back(image.format() == f ? std::move(image) : image.convertToFormat(f));
    }
    QSize size() const override { return m_levels.front().size(); }
    QImage image() const override { return m_levels.front(); }
    void draw(QPainter &p, const QRect &area, double zoom) override
    {
        if (m_levels.front().isNull())
            return;
        // The whole pyramid at the first showing: the later steps out only sample it.
        if (m_levels.size() == 1)
            while (m_levels.back().width() > 1 && m_levels.back().height() > 1 &&
                   m_levels.back().width() * 16 > m_levels.front().width())
                m_levels.push_back(halved(m_levels.back()));
        // The level whose scale is the smallest still at or above the zoom.
        double scale = 1;
        size_t level = 0;
        while (zoom < 1 && scale / 2 >= zoom && m_levels[level].width() > 1 && m_levels[level].height() > 1) {
            if (level + 1 == m_levels.size())
                m_levels.push_back(halved(m_levels[level]));
            ++level;
            scale = double(m_levels[level].width()) / m_levels.front().width();
        }
        const QImage &from = m_levels[level];
        const double f = zoom / scale;
        const QRectF source(area.x() / f, area.y() / f, area.width() / f, area.height() / f);
        p.setRenderHint(QPainter::SmoothPixmapTransform, zoom < 1);
        p.drawImage(QRectF(0, 0, area.width(), area.height()), from, source);
    }

private:
    std::vector<QImage> m_levels; // the picture, then halved again and again
};

class FramePicture : public ZoomPicture
{
public:
    FramePicture(QSize size, std::function<QImage()> frame) : m_size(size), m_frame(std::move(frame)) {}
    QSize size() const override { return m_size; }
    QImage image() const override { return m_frame(); }
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

// A metafile played again at each zoom. Playing takes time on a large file: a step first shows
// what was played last, scaled, and the sharp picture comes from a worker thread once played.
class MetafilePicture : public ZoomPicture
{
public:
    MetafilePicture(QByteArray data, MediaType type, QSize size, const QColor &background)
        : m_data(std::move(data)), m_type(type), m_size(size), m_background(background)
    {
        m_pool.setMaxThreadCount(1);
    }
    ~MetafilePicture() override
    {
        ++*m_ticket; // what is queued is not played any more
        m_pool.waitForDone();
    }
    QSize size() const override { return m_size; }
    bool settled() const override { return !m_pending; }
    QImage image() const override
    {
        return play(m_data, m_type, m_background, 1, QRect(QPoint(0, 0), m_size - QSize(1, 1)));
    }

    void draw(QPainter &p, const QRect &area, double zoom) override
    {
        if (zoom == m_zoom && m_drawn.contains(area)) {
            p.drawImage(QPoint(0, 0), m_image, area.translated(-m_drawn.topLeft()));
            return;
        }
        const QRect part = partFor(area, zoom);
        if (m_image.isNull()) {
            // The first showing waits for its picture: there is nothing to show before.
            m_image = play(m_data, m_type, m_background, zoom, part);
            m_drawn = part;
            m_zoom = zoom;
            p.drawImage(QPoint(0, 0), m_image, area.translated(-m_drawn.topLeft()));
            return;
        }
        // What was played last, at the new zoom, until the sharp one is played.
        const double f = zoom / m_zoom;
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.translate(-area.topLeft());
        p.scale(f, f);
        p.drawImage(QPointF(m_drawn.topLeft()), m_image);
        p.restore();
        ask(zoom, part);
    }

private:
    // The whole zoomed picture when it is small enough, else the area with a view's margin around.
    QRect partFor(const QRect &area, double zoom) const
    {
        const QRect whole(0, 0, std::max(1, int(std::lround((m_size.width() - 1) * zoom))),
                          std::max(1, int(std::lround((m_size.height() - 1) * zoom))));
        if (whole.width() * qint64(whole.height()) <= kWholeLimit)
            return whole;
        return area.adjusted(-area.width() / 2, -area.height() / 2, area.width() / 2, area.height() / 2) &
               whole;
    }

    static QImage play(const QByteArray &data, MediaType type, const QColor &background, double zoom,
                       QRect part)
    {
        QImage target(part.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        target.fill(background);
        // A file that loaded once plays again; should it fail now, what it drew is shown.
        const platform::Status played = type == mtWMF ? pictures::drawWmf(data, target, zoom, part.topLeft())
                                                      : pictures::drawEmf(data, target, zoom, part.topLeft());
        (void)played;
        return target;
    }

    void ask(double zoom, QRect part)
    {
        if (m_pending && m_askedZoom == zoom && m_askedPart.contains(part))
            return;
        m_pending = true;
        m_askedZoom = zoom;
        m_askedPart = part;
        const quint64 ticket = ++*m_ticket;
        QPointer<MetafilePicture> self(this);
        m_pool.start([self, ticket, latest = m_ticket, data = m_data, type = m_type,
                      background = m_background, zoom, part] {
            // Steps come faster than plays: only the last one asked is played.
            if (*latest != ticket)
                return;
            QImage image = play(data, type, background, zoom, part);
            QMetaObject::invokeMethod(
                qApp,
                [self, ticket, zoom, part, image = std::move(image)]() mutable {
                    if (self)
                        self->played(ticket, zoom, part, std::move(image));
                },
                Qt::QueuedConnection);
        });
    }

    void played(quint64 ticket, double zoom, QRect part, QImage image)
    {
        if (ticket != *m_ticket)
            return; // a later step asked for another picture
        m_pending = false;
        m_image = std::move(image);
        m_drawn = part;
        m_zoom = zoom;
        emit changed();
    }

    static constexpr qint64 kWholeLimit = 2048LL * 2048;
    QByteArray m_data;
    MediaType m_type;
    QSize m_size;
    QColor m_background;
    QImage m_image;
    QRect m_drawn;
    double m_zoom = 0;
    // The play asked of the worker, the last one counting.
    QThreadPool m_pool;
    bool m_pending = false;
    double m_askedZoom = 0;
    QRect m_askedPart;
    std::shared_ptr<std::atomic<quint64>> m_ticket = std::make_shared<std::atomic<quint64>>(0);
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
