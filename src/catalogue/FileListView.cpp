#include "catalogue/FileListView.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <utility>

namespace {

// Grid cells of the icon styles: wide enough for a usual file name, the same for every item.
constexpr QSize kLargeGrid(96, 70);
constexpr QSize kThumbnailGrid(150, 172);
constexpr QSize kSmallGrid(170, 20);
constexpr QSize kListGrid(190, 18);
// Rows the icon styles lay out between two looks at the events.
constexpr int kLayoutBatch = 4096;

// Large icons: the picture above a caption that may take two lines, centred in its cell.
class LargeIconDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationPosition = QStyleOptionViewItem::Top;
        option->decorationAlignment = Qt::AlignHCenter | Qt::AlignTop;
        option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
        option->features |= QStyleOptionViewItem::WrapText;
        option->textElideMode = Qt::ElideRight;
        option->showDecorationSelected = false;
    }
};

// Report rows: a long text (a deep folder's path) is cut well past what its cell can show before it
// is drawn, so that painting lays out a cell's worth of characters, not the whole path. The cut
// keeps more than fits, so the cell still ends in its ellipsis where the whole text would.
class ReportDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        if (opt.text.size() > kShortText && opt.textElideMode == Qt::ElideRight)
            opt.text = CutTextBeyond(opt.text, opt.fontMetrics, opt.rect.width());
        QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    }

private:
    static constexpr qsizetype kShortText = 48;
};

} // namespace

QString CutTextBeyond(const QString &text, const QFontMetrics &metrics, int width)
{
    // Glyph advances added one by one; shaping (kerning, ligatures) takes off far less than the
    // margin, so the kept part is still too wide for the cell.
    const int enough = width + width / 4 + 4 * metrics.maxWidth();
    int advance = 0;
    qsizetype i = 0;
    while (i < text.size() && advance <= enough) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        advance += pair ? metrics.horizontalAdvance(text.mid(i, 2)) : metrics.horizontalAdvance(text.at(i));
        i += pair ? 2 : 1;
    }
    return i < text.size() ? text.left(i) : text;
}

TListView::TListView(QWidget *parent)
    : QStackedWidget(parent), m_model(new TListModel(this)),
      m_selection(new QItemSelectionModel(m_model, this)), m_icons(new QListView(this)),
      m_report(new QTreeView(this)), m_plainDelegate(new QStyledItemDelegate(this)),
      m_largeDelegate(new LargeIconDelegate(this)), m_thumbs(new ThumbnailLoader(m_model, this))
{
    m_model->setThumbnails(m_thumbs);
    for (QAbstractItemView *v :
         {static_cast<QAbstractItemView *>(m_icons), static_cast<QAbstractItemView *>(m_report)}) {
        v->setModel(m_model);
        v->setSelectionModel(m_selection);
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setFocusPolicy(Qt::StrongFocus);
        v->setTextElideMode(Qt::ElideRight);
        v->installEventFilter(this);
        v->viewport()->installEventFilter(this);
        connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &i) {
            if (i.isValid())
                emit itemDoubleClicked(i.row());
        });
    }
    // The view takes the model's own selection model; the one it made for itself is not used.
    m_icons->setUniformItemSizes(true);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);
    m_icons->setWrapping(true);
    m_icons->setWordWrap(false);
    // A list of a few hundred thousand results is laid out a batch at a time between events: the
    // first rows show at once and typing goes on meanwhile.
    m_icons->setLayoutMode(QListView::Batched);
    m_icons->setBatchSize(kLayoutBatch);
    m_report->setItemDelegate(new ReportDelegate(m_report));
    m_report->setRootIsDecorated(false);
    m_report->setUniformRowHeights(true);
    m_report->setItemsExpandable(false);
    m_report->setAllColumnsShowFocus(true);
    m_report->setIconSize(QSize(16, 16));
    m_report->header()->setStretchLastSection(false);
    m_report->header()->setSectionsMovable(false);
    addWidget(m_icons);
    addWidget(m_report);

    connect(m_selection, &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected, const QItemSelection &deselected) {
                // A move makes the new row current before selecting it, then reports the current
                // change: the row is reported here, once.
                m_reportedCurrent = -1;
                const int current = m_selection->currentIndex().row();
                for (const QItemSelection *s : {&selected, &deselected})
                    for (const QItemSelectionRange &r : *s)
                        if (r.left() == 0)
                            for (int row = r.top(); row <= r.bottom(); ++row) {
                                if (row == current)
                                    m_reportedCurrent = row;
                                emit itemStateChanged(row);
                            }
            });
    connect(m_selection, &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        const int reported = std::exchange(m_reportedCurrent, -1);
        if (current.isValid() && current.row() != reported)
            emit itemStateChanged(current.row());
    });
    setViewStyle(0);
}

void TListView::setViewStyle(int style)
{
    m_style = style;
    if (style < 0 || style > 3)
        return;
    QAbstractItemView *before = activeView();
    const bool hadFocus = before && before->hasFocus();
    // Hiding the focused view would send the focus elsewhere for a moment: not leaving the list.
    m_switching = true;
    // Another style, or the same again: what was pending is not wanted any more.
    const bool thumbnails = style == 0 && m_thumbsShown;
    m_thumbs->reset();
    m_thumbs->setEnabled(thumbnails);
    m_thumbs->setPixelRatio(devicePixelRatioF());
    if (style == 3) {
        m_model->setLargeIcons(false);
        setCurrentWidget(m_report);
        sizeColumnsToContent();
    } else {
        m_icons->setItemDelegate(style == 0 ? m_largeDelegate : m_plainDelegate);
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(style == 2 ? QListView::TopToBottom : QListView::LeftToRight);
        m_icons->setWrapping(true);
        const int box = ThumbnailLoader::kBox;
        m_icons->setIconSize(thumbnails ? QSize(box, box) : style == 0 ? QSize(32, 32) : QSize(16, 16));
        m_icons->setGridSize(thumbnails   ? kThumbnailGrid
                             : style == 0 ? kLargeGrid
                             : style == 1 ? kSmallGrid
                                          : kListGrid);
        m_icons->setSpacing(0);
        m_model->setLargeIcons(style == 0);
        m_model->decorationChanged(-1);
        setCurrentWidget(m_icons);
    }
    QAbstractItemView *now = activeView();
    setFocusProxy(now);
    if (hadFocus && now != before)
        now->setFocus(Qt::OtherFocusReason);
    m_switching = false;
    if (hadFocus && !now->hasFocus() && m_hasFocus) {
        m_hasFocus = false;
        emit exited();
    }
    const QModelIndex current = m_selection->currentIndex();
    if (current.isValid()) {
        finishLayout();
        now->scrollTo(current);
    }
}

void TListView::finishLayout()
{
    if (currentWidget() != m_icons || m_model->rowCount() <= kLayoutBatch)
        return;
    m_icons->setLayoutMode(QListView::SinglePass);
    m_icons->doItemsLayout();
    m_icons->setLayoutMode(QListView::Batched);
}

void TListView::setColumns(const QStringList &captions, const QList<int> &widths,
                           const QList<Qt::Alignment> &alignments)
{
    m_model->setColumns(captions, alignments);
    m_widths = widths;
    for (int c = 0; c < captions.size(); ++c) {
        m_report->header()->setSectionResizeMode(c, QHeaderView::Interactive);
        if (c < widths.size() && widths[c] >= 0)
            m_report->setColumnWidth(c, widths[c]);
    }
    sizeColumnsToContent();
}

int TListView::columnWidth(int column) const
{
    return m_report->columnWidth(column);
}

void TListView::sizeColumnsToContent()
{
    // Only the rows in view and a bounded sample are measured (the header's precision), never all.
    for (int c = 0; c < m_widths.size(); ++c)
        if (m_widths[c] < 0)
            m_report->resizeColumnToContents(c);
}

void TListView::setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large)
{
    m_model->setImages(small, large);
    m_thumbs->setBadges(small);
}

void TListView::clear()
{
    ++m_stamp;
    m_thumbs->setPathOf({});
    m_selection->clear();
    m_model->clear();
}

void TListView::beginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
}

void TListView::endUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    sizeColumnsToContent();
    setUpdatesEnabled(true);
}

bool TListView::isSelected(int row) const
{
    return row >= 0 && row < count() && m_selection->isSelected(m_model->index(row, 0));
}

void TListView::setSelected(int row, bool selected)
{
    if (row < 0 || row >= count())
        return;
    m_selection->select(m_model->index(row, 0),
                        (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                            QItemSelectionModel::Rows);
}

int TListView::selectedCount() const
{
    // Ranges of a selection never overlap; the first column stands for the item.
    int n = 0;
    for (const QItemSelectionRange &r : m_selection->selection())
        if (r.left() == 0)
            n += r.height();
    return n;
}

int TListView::firstSelected() const
{
    int first = -1;
    for (const QItemSelectionRange &r : m_selection->selection())
        if (r.left() == 0 && (first < 0 || r.top() < first))
            first = r.top();
    return first;
}

void TListView::deselectAll()
{
    m_selection->clearSelection();
}

void TListView::selectRanges(const std::vector<std::pair<int, int>> &ranges)
{
    QItemSelection selection;
    const int last = columnCount() > 0 ? columnCount() - 1 : 0;
    for (const auto &[top, bottom] : ranges)
        selection.select(m_model->index(top, 0), m_model->index(bottom, last));
    if (!selection.isEmpty())
        m_selection->select(selection, QItemSelectionModel::Select);
}

int TListView::currentItem() const
{
    const QModelIndex i = m_selection->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TListView::setCurrentItem(int row)
{
    if (row < 0 || row >= count())
        m_selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    else {
        if (row >= kLayoutBatch)
            finishLayout();
        m_selection->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
    }
}

QAbstractItemView *TListView::activeView() const
{
    return qobject_cast<QAbstractItemView *>(currentWidget());
}

bool TListView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (watched != m_icons && watched != m_report)
            break;
        auto *k = static_cast<QKeyEvent *>(event);
        if (event->type() == QEvent::KeyPress) {
            if (watched == m_icons)
                finishLayout();
            emit keyDown(k->key(), k->modifiers());
        } else if (!k->isAutoRepeat())
            emit keyUp(k->key(), k->modifiers());
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        if (watched == m_icons->viewport() || watched == m_report->viewport()) {
            auto *m = static_cast<QMouseEvent *>(event);
            if (event->type() == QEvent::MouseButtonPress) {
                m_rightDown = m->button() == Qt::RightButton;
                emit mouseDown(m->button());
            } else {
                m_rightDown = false;
                emit mouseUp(m->button());
            }
        }
        break;
    case QEvent::ContextMenu:
        // Where the menu opens on the press, the release goes to the menu: the button counts as
        // up now, or every later selection would be taken for a right click's.
        if ((watched == m_icons->viewport() || watched == m_report->viewport()) && m_rightDown) {
            m_rightDown = false;
            emit mouseUp(Qt::RightButton);
        }
        break;
    case QEvent::FocusIn:
        if (watched == m_icons || watched == m_report)
            nameViewsAfterList(); // before Qt tells a screen reader what took the focus
        if ((watched == m_icons || watched == m_report) && !m_hasFocus) {
            m_hasFocus = true;
            emit entered();
        }
        break;
    case QEvent::FocusOut: {
        if (watched != m_icons && watched != m_report)
            break;
        // Focus passing from one of our views to the other stays inside the list; so does focus lent
        // to a menu or another window.
        const QWidget *next = QApplication::focusWidget();
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (m_hasFocus && !m_switching && next != m_icons && next != m_report &&
            !FocusStaysForCommands(reason)) {
            m_hasFocus = false;
            emit exited();
        }
        break;
    }
    default:
        break;
    }
    return QStackedWidget::eventFilter(watched, event);
}

void TListView::showEvent(QShowEvent *event)
{
    nameViewsAfterList();
    QStackedWidget::showEvent(event);
}

void TListView::nameViewsAfterList()
{
    for (QAbstractItemView *v :
         {static_cast<QAbstractItemView *>(m_icons), static_cast<QAbstractItemView *>(m_report)})
        if (v->accessibleName() != accessibleName())
            v->setAccessibleName(accessibleName());
}
