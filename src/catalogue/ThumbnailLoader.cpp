#include "catalogue/ThumbnailLoader.h"

#include "thumbnails/ThumbnailJob.h"

#include <QPainter>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <deque>
#include <mutex>

namespace thumbs::detail {

struct Job
{
    int row = 0;
    bool urgent = false;
    QString path;
    QImage badge;
};

// What the workers share with the loader; it outlives the loader while a worker still runs.
struct LoaderShared
{
    std::mutex mutex;
    std::deque<Job> line;
    int running = 0;
    uint64_t generation = 0;
    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
    ThumbnailLoader *receiver = nullptr; // null once the loader is gone
    int size = ThumbnailLoader::kBox;
    double ratio = 1;
    platform::thumbs::ThumbnailCache cache;

    static void work(const std::shared_ptr<LoaderShared> &self);
};

// The thumbnail centred in the box, the type's small picture on its bottom-right corner.
QImage compose(const QImage &thumb, const QImage &badge, int box, double ratio)
{
    const int side = int(box * ratio);
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    const QImage shown = thumb.width() > side || thumb.height() > side
                             ? thumb.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             : thumb;
    const QRect at((side - shown.width()) / 2, (side - shown.height()) / 2, shown.width(), shown.height());
    p.drawImage(at.topLeft(), shown);
    if (!badge.isNull()) {
        const QSize b = badge.size() * ratio;
        const int x = std::min(side - b.width(), at.right() - b.width() / 2);
        const int y = std::min(side - b.height(), at.bottom() - b.height() / 2);
        p.drawImage(QRect(QPoint(std::max(0, x), std::max(0, y)), b), badge);
    }
    p.end();
    canvas.setDevicePixelRatio(ratio);
    return canvas;
}

void LoaderShared::work(const std::shared_ptr<LoaderShared> &self)
{
    while (true) {
        Job job;
        uint64_t generation = 0;
        std::shared_ptr<std::atomic<bool>> cancel;
        int size = ThumbnailLoader::kBox;
        double ratio = 1;
        {
            std::lock_guard lock(self->mutex);
            if (self->line.empty() || !self->receiver) {
                --self->running;
                return;
            }
            job = std::move(self->line.front());
            self->line.pop_front();
            generation = self->generation;
            cancel = self->cancel;
            size = self->size;
            ratio = self->ratio;
        }
        thumbs::Limits limits;
        limits.cancel = cancel.get();
        const thumbs::JobResult result = thumbs::thumbnailThroughCache(self->cache, job.path, size, limits);
        QImage image;
        if (result.ok())
            image = compose(result.image, job.badge, ThumbnailLoader::kBox, ratio);
        std::lock_guard lock(self->mutex);
        if (!self->receiver || generation != self->generation)
            continue;
        ThumbnailLoader *receiver = self->receiver;
        const bool cancelled = result.state == thumbs::JobResult::State::Cancelled;
        QMetaObject::invokeMethod(
            receiver,
            [receiver, generation, row = job.row, urgent = job.urgent, image, cancelled] {
                receiver->deliver(generation, row, urgent && !cancelled, image);
            },
            Qt::QueuedConnection);
    }
}

} // namespace thumbs::detail

using thumbs::detail::LoaderShared;

ThumbnailLoader::ThumbnailLoader(TListModel *model, QObject *parent)
    : QObject(parent), m_model(model), m_shared(std::make_shared<LoaderShared>())
{
    m_shared->receiver = this;
    // Other rows (another folder, a search's results, the folder's rows back): what was made or
    // pending for the rows before belongs to other files.
    if (m_model)
        connect(m_model, &QAbstractItemModel::modelReset, this, &ThumbnailLoader::reset);
}

ThumbnailLoader::~ThumbnailLoader()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->receiver = nullptr;
    m_shared->cancel->store(true);
    m_shared->line.clear();
}

QThreadPool &ThumbnailLoader::pool()
{
    // Destroyed at exit after the lists: it waits for the workers, which their cancel ends quickly.
    static QThreadPool pool;
    static const bool sized = [] {
        pool.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 2));
        pool.setExpiryTimeout(5000);
        return true;
    }();
    (void)sized;
    return pool;
}

void ThumbnailLoader::setEnabled(bool on)
{
    if (m_enabled == on)
        return;
    reset();
    m_enabled = on;
}

void ThumbnailLoader::setPathOf(PathOf pathOf)
{
    reset();
    m_pathOf = std::move(pathOf);
}

void ThumbnailLoader::setPixelRatio(double ratio)
{
    ratio = ratio > 1 ? 2 : 1;
    if (ratio == m_ratio)
        return;
    reset();
    m_ratio = ratio;
    std::lock_guard lock(m_shared->mutex);
    m_shared->ratio = ratio;
    m_shared->size = ratio > 1 ? 2 * kBox : kBox;
}

void ThumbnailLoader::reset()
{
    {
        std::lock_guard lock(m_shared->mutex);
        ++m_shared->generation;
        m_shared->cancel->store(true);
        m_shared->cancel = std::make_shared<std::atomic<bool>>(false);
        m_shared->line.clear();
    }
    m_state.clear();
    m_order.clear();
    m_kept.clear();
    m_sweep = 0;
    m_pending = 0;
    m_delivered = 0;
}

ThumbnailLoader::State &ThumbnailLoader::stateOf(int row)
{
    if (size_t(row) >= m_state.size())
        m_state.resize(size_t(std::max(row + 1, m_model->count())), Unknown);
    return m_state[size_t(row)];
}

bool ThumbnailLoader::failed(int row) const
{
    return row >= 0 && size_t(row) < m_state.size() && m_state[size_t(row)] == Failed;
}

QPixmap ThumbnailLoader::pixmap(int row)
{
    if (!enabled() || row < 0 || row >= m_model->count())
        return {};
    const auto found = m_kept.find(row);
    if (found != m_kept.end()) {
        m_order.splice(m_order.begin(), m_order, found->second.second);
        return found->second.first;
    }
    const State s = stateOf(row);
    if (s == Unknown || s == Dropped)
        request(row, true);
    return {};
}

QImage ThumbnailLoader::badgeOf(const TListItem &item)
{
    if (!m_badges || item.image < 0 || size_t(item.image) >= m_badges->size())
        return {};
    QImage &badge = m_badgeImages[item.image];
    if (badge.isNull())
        badge = (*m_badges)[size_t(item.image)].pixmap(QSize(16, 16)).toImage();
    return badge;
}

void ThumbnailLoader::request(int row, bool urgent)
{
    const TListItem &item = m_model->at(row);
    const QString path = item.kind == ListItemKind::File ? m_pathOf(item) : QString();
    if (path.isEmpty() || !thumbs::hasThumbnailType(path)) {
        stateOf(row) = Failed;
        return;
    }
    stateOf(row) = Queued;
    ++m_pending;
    thumbs::detail::Job job{row, urgent, path, badgeOf(item)};
    bool start = false;
    {
        std::lock_guard lock(m_shared->mutex);
        // The row painted last goes first: it is on screen now.
        if (urgent)
            m_shared->line.push_front(std::move(job));
        else
            m_shared->line.push_back(std::move(job));
        if (m_shared->running < pool().maxThreadCount()) {
            ++m_shared->running;
            start = true;
        }
    }
    if (start) {
        std::shared_ptr<LoaderShared> shared = m_shared;
        pool().start([shared] { LoaderShared::work(shared); });
    }
}

void ThumbnailLoader::topUp()
{
    // Rows made ahead join the line a few at a time, behind whatever the view asks for meanwhile.
    size_t waiting = 0;
    {
        std::lock_guard lock(m_shared->mutex);
        waiting = m_shared->line.size();
    }
    const int count = m_model->count();
    while (waiting < 4 && m_sweep < count) {
        const int row = m_sweep++;
        if (stateOf(row) != Unknown)
            continue;
        request(row, false);
        if (stateOf(row) == Queued)
            ++waiting;
    }
    if (m_pending == 0 && m_sweep >= count)
        emit allDone();
}

void ThumbnailLoader::deliver(uint64_t generation, int row, bool urgent, const QImage &image)
{
    {
        std::lock_guard lock(m_shared->mutex);
        if (generation != m_shared->generation)
            return;
    }
    if (row >= m_model->count())
        return;
    --m_pending;
    if (image.isNull()) {
        stateOf(row) = Failed;
    } else {
        ++m_delivered;
        keep(row, QPixmap::fromImage(image), urgent);
    }
    if (stateOf(row) != Dropped || urgent)
        m_model->decorationChanged(row);
    emit thumbnailReady(row);
    topUp();
}

void ThumbnailLoader::keep(int row, QPixmap pixmap, bool urgent)
{
    if (!urgent && int(m_kept.size()) >= m_keep) {
        stateOf(row) = Dropped; // made and cached on disk; read again when shown
        return;
    }
    m_order.push_front(row);
    m_kept[row] = {std::move(pixmap), m_order.begin()};
    stateOf(row) = Kept;
    while (int(m_kept.size()) > m_keep) {
        const int oldest = m_order.back();
        m_order.pop_back();
        m_kept.erase(oldest);
        stateOf(oldest) = Dropped;
    }
}
