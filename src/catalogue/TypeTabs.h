// The tab pane of the types: a stack of pages and, under it, the tabs of the pages shown, in as many
// rows as the width needs, so every shown tab is in view at once, in order; the rows flow again as
// the pane is resized. It offers the tab-widget calls the catalogue uses.
//
// Rules: hiding the current tab makes the next shown tab (else the previous) current; a hidden tab
// is hidden from screen readers too. Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDown and Ctrl+PgUp move
// between the shown tabs; the tabs themselves take the focus with Tab and answer the arrow keys.
#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <vector>

class QStackedWidget;

// One tab: a checkable button drawn as a tab at the bottom edge of the pages.
class TTypeTab : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TTypeTab(QWidget *parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool m_hot = false; // under the mouse
};

class TTypeTabs : public QWidget
{
    Q_OBJECT
public:
    explicit TTypeTabs(QWidget *parent = nullptr);

    int addTab(QWidget *page, const QString &text);
    int count() const { return int(m_tabs.size()); }
    int indexOf(const QWidget *page) const;
    QWidget *widget(int index) const;
    int currentIndex() const { return m_current; }
    QWidget *currentWidget() const { return widget(m_current); }
    void setCurrentIndex(int index);
    void setCurrentWidget(QWidget *page) { setCurrentIndex(indexOf(page)); }
    void setTabVisible(int index, bool visible);
    bool isTabVisible(int index) const;
    QString tabText(int index) const;
    void setTabText(int index, const QString &text);
    TTypeTab *tab(int index) const;
    // Rows the tabs take at this width.
    int rowCount() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Lays out the shown tabs in rows within width from top; returns the height they take.
    int flow(int width, bool place) const;
    void relayout();
    void step(int direction);

    QStackedWidget *m_stack = nullptr;
    std::vector<TTypeTab *> m_tabs;
    int m_current = -1;
};

// Lets screen readers hear the tabs as page tabs of a tab list.
void InstallTypeTabAccessibility();
