// TListView: the file list control. One item model holds the rows (caption, picture, size, type,
// modified); a list view shows the three icon styles and a tree view the report style, both over the
// same model and the same selection, so a style change keeps the items and their selection.
// Styles: 0 large icons (32-pixel pictures, caption below, grid flowing left to right), 1 small icons
// (16-pixel pictures, caption beside, rows left to right), 2 list (16-pixel pictures, columns top to
// bottom), 3 report (the four columns with headers).
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStackedWidget>
#include <vector>

class QItemSelectionModel;
class QListView;
class QTreeView;

struct TListItemData {
    QString caption;
    int imageIndex = -1;
    QString size, type, modified;
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

    void setColumns(const QStringList &captions, const QList<int> &widths, const QList<Qt::Alignment> &align);
    void setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large);
    void setLargeIcons(bool large);
    int add(const TListItemData &item);
    void clear();
    const TListItemData &at(int row) const { return m_rows[row]; }
    int columnWidth(int column) const { return column < m_widths.size() ? m_widths[column] : 100; }

private:
    std::vector<TListItemData> m_rows;
    QStringList m_captions;
    QList<int> m_widths;
    QList<Qt::Alignment> m_align;
    const std::vector<QIcon> *m_small = nullptr;
    const std::vector<QIcon> *m_large = nullptr;
    bool m_largeIcons = false;
};

class TListView : public QStackedWidget
{
    Q_OBJECT
public:
    explicit TListView(QWidget *parent = nullptr);

    int viewStyle() const { return m_style; }
    // Gives the list a style; a value outside 0..3 is stored as it is (callers check it).
    void setViewStyle(int style);

    void setColumns(const QStringList &captions, const QList<int> &widths, const QList<Qt::Alignment> &align);
    void setImages(const std::vector<QIcon> *small, const std::vector<QIcon> *large);
    int columnCount() const { return m_model->columnCount(); }

    int count() const { return m_model->rowCount(); }
    const TListItemData &item(int row) const { return m_model->at(row); }
    int addItem(const TListItemData &item) { return m_model->add(item); }
    void clear();

    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    int selectedCount() const;
    int currentItem() const; // focused row or -1
    void setCurrentItem(int row);

    TListModel *model() const { return m_model; }
    QItemSelectionModel *selectionModel() const { return m_selection; }
    QListView *iconView() const { return m_icons; }
    QTreeView *reportView() const { return m_report; }
    QWidget *activeView() const;

signals:
    // A row's selection or focus changed (the shared change handler of the lists).
    void itemStateChanged(int row);
    void itemDoubleClicked(int row);

private:
    TListModel *m_model;
    QItemSelectionModel *m_selection;
    QListView *m_icons;
    QTreeView *m_report;
    int m_style = 1;
};
