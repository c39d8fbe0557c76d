// TListView: the file list control. Rules:
// - One model (TListModel) and one selection model per list; a list view shows the three icon
//   styles and a tree view the report style, both over that model and that selection, so a style
//   change keeps the items, their selection and the focused item.
// - Styles: 0 large icons (32-pixel pictures, caption below, grid flowing left to right), 1 small
//   icons (16-pixel pictures, caption beside, rows flowing left to right), 2 list (16-pixel
//   pictures, columns flowing top to bottom), 3 report (the columns with their headers). Every style
//   uses uniform item sizes, so 100,000 rows lay out and scroll without a widget or a size per row.
// - A selection always covers whole rows; an item is selected when its row is.
// - The list turns the events of whichever view is shown into its own signals (keys, mouse buttons,
//   focus entering or leaving the list, double click on an item); focus moving between its own two
//   views, or lent to a menu or another window, is not leaving the list. A menu that opens on the
//   right button's press takes its release: the list reports the button up as the menu opens.
// - Both views carry the list's accessible name: the view on show is what takes the focus, and what
//   a screen reader announces.
// - The icon styles lay a long list out a batch of rows at a time between events (the results of a
//   search over a whole catalogue); the report style draws a long text (a deep folder's path) from
//   its first characters only, as many as can show and more.
// - Columns given a width of -1 are sized to their content when a batch of updates ends and when
//   the report style is shown.
#pragma once

#include "catalogue/FileListModel.h"
#include "catalogue/ThumbnailLoader.h"

#include <QStackedWidget>
#include <cstdint>
#include <vector>

// Focus lent to a popup menu, the menu bar or another window is not leaving a tree or a list: the
// commands that follow still act on it.
inline bool FocusStaysForCommands(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason ||
           reason == Qt::ActiveWindowFocusReason;
}

// The start of text that is surely wider than width in these metrics, or text itself when it
// is shorter: elided on the right to width, it gives what text does.
QString CutTextBeyond(const QString &text, const QFontMetrics &metrics, int width);

class QAbstractItemView;
class QFontMetrics;
class QItemSelectionModel;
class QListView;
class QStyledItemDelegate;
class QTreeView;

class TListView : public QStackedWidget
{
    Q_OBJECT
public:
    explicit TListView(QWidget *parent = nullptr);

    int viewStyle() const { return m_style; }
    // Gives the list a style 0..3. Any other value is remembered as the list's style (for the
    // caller's own check) and leaves the views as they are.
    void setViewStyle(int style);

    // Column captions, widths (-1: sized to content) and alignments; the first column is the caption.
    void setColumns(const QStringList &captions, const QList<int> &widths,
                    const QList<Qt::Alignment> &alignments);
    void setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large);
    // Thumbnails in the large-icon style (a 128-pixel box per item); off, the style is as before.
    // Takes effect at the next setViewStyle.
    void setThumbnailsShown(bool on) { m_thumbsShown = on; }
    bool thumbnailsShown() const { return m_thumbsShown; }
    // Where the thumbnail of a row comes from (the fill of a folder sets it; clear() forgets it).
    void setThumbnailPaths(ThumbnailLoader::PathOf pathOf) { m_thumbs->setPathOf(std::move(pathOf)); }
    ThumbnailLoader *thumbnails() const { return m_thumbs; }
    int columnCount() const { return m_model->columnCount(); }
    int columnWidth(int column) const;

    int count() const { return m_model->count(); }
    const TListItem &item(int row) const { return m_model->at(row); }
    QString itemText(int row, int column) const { return m_model->text(row, column); }
    int addItem(TListItem item) { return m_model->append(std::move(item)); }
    void addItems(std::vector<TListItem> &&items) { m_model->append(std::move(items)); }
    void clear();
    // Changes at every clear: a filler that lets other code run can tell that its rows were dropped.
    uint64_t contentStamp() const { return m_stamp; }

    // Repainting is suspended from the first begin to the matching end (calls nest).
    void beginUpdate();
    void endUpdate();
    bool updating() const { return m_updateDepth > 0; }

    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    int selectedCount() const;
    int firstSelected() const; // lowest selected row or -1
    void deselectAll();
    // Selects every row for which keep(row) holds, leaving the others as they are.
    template <typename Pred> void selectRowsWhere(Pred keep)
    {
        std::vector<std::pair<int, int>> ranges;
        for (int row = 0; row < count(); ++row) {
            if (!keep(row))
                continue;
            if (!ranges.empty() && ranges.back().second == row - 1)
                ranges.back().second = row;
            else
                ranges.emplace_back(row, row);
        }
        selectRanges(ranges);
    }
    void selectRanges(const std::vector<std::pair<int, int>> &ranges);
    int currentItem() const; // focused row or -1
    void setCurrentItem(int row);

    TListModel *model() const { return m_model; }
    QItemSelectionModel *selectionModel() const { return m_selection; }
    QListView *iconView() const { return m_icons; }
    QTreeView *reportView() const { return m_report; }
    QAbstractItemView *activeView() const;

signals:
    // A row's selection or focus changed (the lists' shared change handler listens).
    void itemStateChanged(int row);
    void itemDoubleClicked(int row);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);
    void entered();
    void exited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The rows a batched layout has not reached yet are laid out now: a key, a scroll to a row or a
    // style change needs every row's place (Ctrl+End goes to the last row, not the last laid out).
    void finishLayout();
    void nameViewsAfterList();
    int m_reportedCurrent = -1; // the current row, already reported by the selection change
    void sizeColumnsToContent();

    TListModel *m_model;
    QItemSelectionModel *m_selection;
    QListView *m_icons;
    QTreeView *m_report;
    QStyledItemDelegate *m_plainDelegate;
    QStyledItemDelegate *m_largeDelegate;
    ThumbnailLoader *m_thumbs;
    bool m_thumbsShown = false;
    QList<int> m_widths;
    int m_style = -1;
    int m_updateDepth = 0;
    uint64_t m_stamp = 0;
    bool m_hasFocus = false;
    bool m_switching = false;
    bool m_rightDown = false; // the right button went down on a view and its release is still due
};
