// TListModel: the rows of one file list, in the order they were added (the list never sorts).
// Rules:
// - A row is a caption, what it stands for (drive, folder or file, and a file's media type), a
//   picture index and up to three detail texts (size, type, modified).
// - A file row keeps its size in bytes and its time stamp as numbers and formats them only when a
//   view asks, so a folder of 100,000 files costs a few dozen bytes per row beyond its name. A row
//   may instead carry ready texts (folders, drives).
// - Texts shared by many rows (the type descriptions) are implicitly shared QStrings: one copy.
// - Rows are appended (one at a time or in batches, one insert notification per batch) or all
//   cleared; nothing else changes them, so a row index stays valid until the next clear.
#pragma once

#include "app/Global.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

struct TListItem
{
    enum Facts : uint8_t { NoFacts = 0, HasSize = 1, HasTime = 2 };

    QString caption;
    int16_t image = -1;
    ListItemKind kind = ListItemKind::None;
    MediaType mediaType = mtNone; // a file's type
    QString typeText;             // column 3
    QString modifiedText;         // column 4 when set; otherwise formatted from modified (HasTime)
    uint8_t facts = NoFacts;
    int64_t size = 0;     // bytes, shown in whole kilobytes in column 2 (HasSize)
    int64_t modified = 0; // milliseconds since the epoch, shown as local date and time (HasTime)
    QString folder;       // a search result's own folder (drive path, column 5); empty: the list's folder

    void setSize(int64_t bytes)
    {
        size = bytes;
        facts |= HasSize;
    }
    void setTime(int64_t msecsSinceEpoch)
    {
        modified = msecsSinceEpoch;
        facts |= HasTime;
    }
};

class ThumbnailLoader;

// Rows made only when asked for (the results of a search over the whole catalogue): a list may show a
// million of them without holding a million items.
class TListRowSource
{
public:
    virtual ~TListRowSource() = default;
    virtual int count() const = 0;
    virtual TListItem make(int row) const = 0;
    // A text too slow to make with the row (column 3: the time, read from the disk when shown).
    virtual QString lateText(int row, int column) const = 0;
};

class TListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setColumns(const QStringList &captions, const QList<Qt::Alignment> &alignments);
    // The picture lists are owned elsewhere and outlive the model.
    void setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large);
    void setLargeIcons(bool large);
    // In the large-icon style a file row shows what the loader has made for it, the type picture
    // until then (the loader is owned elsewhere and outlives the model's use of it).
    void setThumbnails(ThumbnailLoader *loader) { m_thumbs = loader; }
    // A row's picture changed (its thumbnail arrived); -1: every row's.
    void decorationChanged(int row);

    int append(TListItem item);
    void append(std::vector<TListItem> &&items);
    void clear();

    int count() const { return m_source ? m_source->count() : static_cast<int>(m_rows.size()); }
    const TListItem &at(int row) const { return m_source ? madeRow(row) : m_rows[static_cast<size_t>(row)]; }

    // Shows the rows of a source in place of the list's own, which are kept aside (with the
    // columns) until restoreRows(); a clear drops both.
    void showSource(std::shared_ptr<const TListRowSource> source, const QStringList &captions,
                    const QList<Qt::Alignment> &alignments);
    bool showsSource() const { return m_source != nullptr; }
    // The list's own rows back, as they were before the source was shown.
    void restoreRows();
    // The text a view shows in a column (0 caption, 1 size, 2 type, 3 modified).
    QString text(int row, int column) const;

private:
    const TListItem &madeRow(int row) const;

    std::vector<TListItem> m_rows;
    std::shared_ptr<const TListRowSource> m_source;
    // Rows of the source made so far; a node keeps its place, so references stay valid.
    mutable std::unordered_map<int, TListItem> m_made;
    std::vector<TListItem> m_keptRows;
    QStringList m_keptCaptions;
    QList<Qt::Alignment> m_keptAlignments;
    QStringList m_captions;
    QList<Qt::Alignment> m_alignments;
    const std::vector<QIcon> *m_small = nullptr;
    const std::vector<QIcon> *m_large = nullptr;
    bool m_largeIcons = false;
    ThumbnailLoader *m_thumbs = nullptr;
};

// The file system keeps times in two-second steps; shown as short date, a blank and short time.
QString FormatListTime(int64_t msecsSinceEpoch);
