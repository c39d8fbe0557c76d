// The thumbnails of one file list's large-icon style. Rules:
// - Made off the interface thread on one small pool shared by every list (at most the core count,
//   and never more than two threads), through the desktop's thumbnail cache.
// - A row asked for while painted goes first in line (the visible rows first); once the line is
//   empty, the list's other file rows follow in order, so scrolling finds them in the cache.
// - reset() (a new folder, another style, the list cleared) cancels what is pending and running:
//   nothing made for the old rows ever reaches the new ones.
// - Until a row's thumbnail is ready, or when it cannot be made, the view shows the type picture.
// - Memory is bounded: only keptRows() thumbnails stay in memory (the least recently shown go);
//   rows made ahead are kept only while there is room.
#pragma once

#include "catalogue/FileListModel.h"

#include <QObject>
#include <QPixmap>
#include <functional>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

class QThreadPool;

namespace thumbs::detail {
struct LoaderShared;
}

class ThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    // The native path of a file row; empty for rows without a thumbnail.
    using PathOf = std::function<QString(const TListItem &)>;

    explicit ThumbnailLoader(TListModel *model, QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    bool enabled() const { return m_enabled && bool(m_pathOf); }
    void setEnabled(bool on);
    void setPathOf(PathOf pathOf);
    void setBadges(const std::vector<QIcon> *small) { m_badges = small; }
    // 128 on ordinary screens, 256 (the cache's large size) when the screen doubles pixels.
    void setPixelRatio(double ratio);
    int keptRows() const { return m_keep; }
    void setKeptRows(int rows) { m_keep = std::max(8, rows); }
    void reset();

    // The row's thumbnail (badge included) when ready; otherwise asks for it and answers null.
    QPixmap pixmap(int row);
    bool failed(int row) const;
    int keptCount() const { return int(m_kept.size()); }
    // Rows asked for or being made.
    int pendingCount() const { return m_pending; }
    // Thumbnails delivered since the last reset (made or read from the cache).
    int deliveredCount() const { return m_delivered; }

    static QThreadPool &pool();
    static constexpr int kBox = 128;

signals:
    void thumbnailReady(int row);
    // Every file row of the list has its thumbnail or failed.
    void allDone();

private:
    friend struct thumbs::detail::LoaderShared;
    enum State : uint8_t { Unknown, Queued, Kept, Dropped, Failed };
    void request(int row, bool urgent);
    void topUp();
    void deliver(uint64_t generation, int row, bool urgent, const QImage &image);
    void keep(int row, QPixmap pixmap, bool urgent);
    QImage badgeOf(const TListItem &item);
    State &stateOf(int row);

    TListModel *m_model;
    std::shared_ptr<thumbs::detail::LoaderShared> m_shared;
    PathOf m_pathOf;
    const std::vector<QIcon> *m_badges = nullptr;
    bool m_enabled = false;
    double m_ratio = 1;
    int m_keep = 320;
    std::vector<State> m_state;
    std::list<int> m_order; // most recently shown first
    std::unordered_map<int, std::pair<QPixmap, std::list<int>::iterator>> m_kept;
    std::unordered_map<int, QImage> m_badgeImages;
    int m_sweep = 0; // the next row made ahead
    int m_pending = 0;
    int m_delivered = 0;
    bool m_toppingUp = false;
};
