#include "catalogue/FileListModel.h"

#include "app/Libry.h"
#include "catalogue/ThumbnailLoader.h"

#include <QDateTime>
#include <QLocale>

QString FormatListTime(int64_t msecsSinceEpoch)
{
    return FormatFileTime(QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch));
}

TListModel::TListModel(QObject *parent) : QAbstractTableModel(parent) {}

int TListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int TListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
}

QString TListModel::text(int row, int column) const
{
    if (row < 0 || row >= count())
        return {};
    const TListItem &r = at(row);
    switch (column) {
    case 0:
        return r.caption;
    case 1:
        return r.facts & TListItem::HasSize ? FormatKilobytes(r.size) : QString();
    case 2:
        return r.typeText;
    case 3:
        if (m_source && r.modifiedText.isEmpty() && !(r.facts & TListItem::HasTime))
            return m_source->lateText(row, column);
        if (!r.modifiedText.isEmpty() || !(r.facts & TListItem::HasTime))
            return r.modifiedText;
        return FormatListTime(r.modified);
    case 4:
        return r.folder;
    default:
        return {};
    }
}

QVariant TListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::ToolTipRole:
        // A search's result names its folder too, whatever the style shows.
        if (index.column() == 0 && !at(index.row()).folder.isEmpty())
            return at(index.row()).folder + at(index.row()).caption;
        return text(index.row(), index.column());
    case Qt::AccessibleDescriptionRole:
        if (index.column() == 0 && !at(index.row()).folder.isEmpty())
            return at(index.row()).folder;
        return {};
    case Qt::DecorationRole: {
        if (index.column() != 0)
            return {};
        const std::vector<QIcon> *icons = m_largeIcons ? m_large : m_small;
        const int image = at(index.row()).image;
        if (m_largeIcons && m_thumbs && m_thumbs->enabled() && at(index.row()).kind == ListItemKind::File) {
            const QPixmap thumb = m_thumbs->pixmap(index.row());
            if (!thumb.isNull())
                return thumb;
        }
        if (icons && image >= 0 && image < static_cast<int>(icons->size()))
            return (*icons)[static_cast<size_t>(image)];
        return {};
    }
    case Qt::TextAlignmentRole:
        if (index.column() < m_alignments.size())
            return QVariant::fromValue(m_alignments[index.column()] | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant TListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_captions.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_captions[section];
    if (role == Qt::TextAlignmentRole && section < m_alignments.size())
        return QVariant::fromValue(m_alignments[section] | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TListModel::flags(const QModelIndex &index) const
{
    // Read-only captions: selectable, never editable.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

void TListModel::setColumns(const QStringList &captions, const QList<Qt::Alignment> &alignments)
{
    beginResetModel();
    m_captions = captions;
    m_alignments = alignments;
    endResetModel();
}

void TListModel::setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large)
{
    m_small = small;
    m_large = large;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::DecorationRole});
}

void TListModel::setLargeIcons(bool large)
{
    if (m_largeIcons == large)
        return;
    m_largeIcons = large;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::DecorationRole});
}

void TListModel::decorationChanged(int row)
{
    if (row >= 0 && row < count())
        emit dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole});
    else if (row < 0 && !m_rows.empty())
        emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::DecorationRole});
}

int TListModel::append(TListItem item)
{
    const int row = count();
    beginInsertRows({}, row, row);
    m_rows.push_back(std::move(item));
    endInsertRows();
    return row;
}

void TListModel::append(std::vector<TListItem> &&items)
{
    if (items.empty())
        return;
    const int first = count();
    beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
    endInsertRows();
    items.clear();
}

void TListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    if (m_source) {
        m_source.reset();
        m_made.clear();
        std::vector<TListItem>().swap(m_keptRows);
        m_captions = m_keptCaptions;
        m_alignments = m_keptAlignments;
    }
    endResetModel();
}

const TListItem &TListModel::madeRow(int row) const
{
    auto it = m_made.find(row);
    if (it == m_made.end())
        it = m_made.emplace(row, m_source->make(row)).first;
    return it->second;
}

void TListModel::showSource(std::shared_ptr<const TListRowSource> source, const QStringList &captions,
                            const QList<Qt::Alignment> &alignments)
{
    beginResetModel();
    if (!m_source) {
        m_keptRows.swap(m_rows);
        m_keptCaptions = m_captions;
        m_keptAlignments = m_alignments;
    }
    m_source = std::move(source);
    m_made.clear();
    m_captions = captions;
    m_alignments = alignments;
    endResetModel();
}

void TListModel::restoreRows()
{
    if (!m_source)
        return;
    beginResetModel();
    m_source.reset();
    m_made.clear();
    m_rows.swap(m_keptRows);
    std::vector<TListItem>().swap(m_keptRows);
    m_captions = m_keptCaptions;
    m_alignments = m_keptAlignments;
    endResetModel();
}
