#include "catalogue/ListView.h"

#include <QHeaderView>
#include <QListView>
#include <QTreeView>

TListModel::TListModel(QObject *parent) : QAbstractTableModel(parent) {}

int TListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
}

QVariant TListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size()))
        return {};
    const TListItemData &r = m_rows[index.row()];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return r.caption;
        case 1:
            return r.size;
        case 2:
            return r.type;
        case 3:
            return r.modified;
        }
        return {};
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        const std::vector<QIcon> *icons = m_largeIcons ? m_large : m_small;
        if (icons && r.imageIndex >= 0 && r.imageIndex < static_cast<int>(icons->size()))
            return (*icons)[r.imageIndex];
        return {};
    }
    if (role == Qt::TextAlignmentRole && index.column() < m_align.size())
        return QVariant::fromValue(m_align[index.column()] | Qt::AlignVCenter);
    return {};
}

QVariant TListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section >= m_captions.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_captions[section];
    if (role == Qt::TextAlignmentRole && section < m_align.size())
        return QVariant::fromValue(m_align[section] | Qt::AlignVCenter);
    return {};
}

void TListModel::setColumns(const QStringList &captions, const QList<int> &widths,
                            const QList<Qt::Alignment> &align)
{
    beginResetModel();
    m_captions = captions;
    m_widths = widths;
    m_align = align;
    endResetModel();
}

void TListModel::setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large)
{
    m_small = small;
    m_large = large;
}

void TListModel::setLargeIcons(bool large)
{
    if (m_largeIcons == large)
        return;
    m_largeIcons = large;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(static_cast<int>(m_rows.size()) - 1, 0), {Qt::DecorationRole});
}

int TListModel::add(const TListItemData &item)
{
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.push_back(item);
    endInsertRows();
    return row;
}

void TListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

TListView::TListView(QWidget *parent)
    : QStackedWidget(parent), m_model(new TListModel(this)), m_selection(new QItemSelectionModel(m_model, this)),
      m_icons(new QListView(this)), m_report(new QTreeView(this))
{
    for (QAbstractItemView *v : {static_cast<QAbstractItemView *>(m_icons), static_cast<QAbstractItemView *>(m_report)}) {
        v->setModel(m_model);
        v->setSelectionModel(m_selection);
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setFocusPolicy(Qt::StrongFocus);
        connect(v, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex &i) { emit itemDoubleClicked(i.row()); });
    }
    m_icons->setUniformItemSizes(true);
    m_icons->setResizeMode(QListView::Adjust);
    m_report->setRootIsDecorated(false);
    m_report->setUniformRowHeights(true);
    m_report->setItemsExpandable(false);
    m_report->setAllColumnsShowFocus(true);
    addWidget(m_icons);
    addWidget(m_report);
    connect(m_selection, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                for (const QItemSelection *s : {&selected, &deselected})
                    for (const QModelIndex &i : s->indexes())
                        if (i.column() == 0)
                            emit itemStateChanged(i.row());
            });
    connect(m_selection, &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            emit itemStateChanged(current.row());
    });
    setViewStyle(1);
}

void TListView::setViewStyle(int style)
{
    m_style = style;
    switch (style) {
    case 0:
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(32, 32));
        m_icons->setGridSize(QSize(80, 64));
        m_icons->setMovement(QListView::Static);
        m_model->setLargeIcons(true);
        setCurrentWidget(m_icons);
        break;
    case 1:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize(150, 20));
        m_model->setLargeIcons(false);
        setCurrentWidget(m_icons);
        break;
    case 2:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::TopToBottom);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize(150, 20));
        m_model->setLargeIcons(false);
        setCurrentWidget(m_icons);
        break;
    case 3:
        m_model->setLargeIcons(false);
        m_report->setIconSize(QSize(16, 16));
        setCurrentWidget(m_report);
        break;
    default:
        break;
    }
}

void TListView::setColumns(const QStringList &captions, const QList<int> &widths,
                           const QList<Qt::Alignment> &align)
{
    m_model->setColumns(captions, widths, align);
    for (int c = 0; c < captions.size(); ++c) {
        if (c < widths.size() && widths[c] >= 0)
            m_report->setColumnWidth(c, widths[c]);
        else
            m_report->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
}

void TListView::setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large)
{
    m_model->setImages(small, large);
}

void TListView::clear()
{
    m_selection->clear();
    m_model->clear();
}

bool TListView::isSelected(int row) const { return m_selection->isRowSelected(row, {}); }

void TListView::setSelected(int row, bool selected)
{
    if (row < 0 || row >= count())
        return;
    m_selection->select(m_model->index(row, 0), (selected ? QItemSelectionModel::Select
                                                          : QItemSelectionModel::Deselect) |
                                                    QItemSelectionModel::Rows);
}

int TListView::selectedCount() const { return static_cast<int>(m_selection->selectedRows().size()); }

int TListView::currentItem() const
{
    const QModelIndex i = m_selection->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TListView::setCurrentItem(int row)
{
    if (row < 0 || row >= count()) {
        m_selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        return;
    }
    m_selection->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
}

QWidget *TListView::activeView() const { return currentWidget(); }
