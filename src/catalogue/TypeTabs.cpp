#include "catalogue/TypeTabs.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>

TTypeTab::TTypeTab(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

namespace {
void initTabOption(const TTypeTab *tab, QStyleOptionTab *option)
{
    option->initFrom(tab);
    option->shape = QTabBar::RoundedSouth;
    option->text = tab->text();
    option->position = QStyleOptionTab::Middle;
    option->selectedPosition = QStyleOptionTab::NotAdjacent;
    if (tab->isChecked())
        option->state |= QStyle::State_Selected;
    if (tab->hasFocus())
        option->state |= QStyle::State_HasFocus;
}
} // namespace

QSize TTypeTab::sizeHint() const
{
    QStyleOptionTab option;
    initTabOption(this, &option);
    const QSize label = fontMetrics().size(Qt::TextShowMnemonic, text());
    const int hMargin = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    const int vMargin = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option,
                                     QSize(label.width() + hMargin, label.height() + vMargin), this);
}

void TTypeTab::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionTab option;
    initTabOption(this, &option);
    if (m_hot)
        option.state |= QStyle::State_MouseOver;
    painter.drawControl(QStyle::CE_TabBarTab, option);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void TTypeTab::keyPressEvent(QKeyEvent *event)
{
    // The arrows go from tab to tab, as in a tab bar; the pane decides which is next.
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right || event->key() == Qt::Key_Up ||
        event->key() == Qt::Key_Down) {
        event->ignore();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TTypeTab::enterEvent(QEnterEvent *event)
{
    m_hot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TTypeTab::leaveEvent(QEvent *event)
{
    m_hot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

TTypeTabs::TTypeTabs(QWidget *parent) : QWidget(parent)
{
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName("stkPages");
    InstallTypeTabAccessibility();
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int TTypeTabs::addTab(QWidget *page, const QString &text)
{
    auto *t = new TTypeTab(this);
    t->setText(text);
    t->setAccessibleName(text);
    m_tabs.push_back(t);
    m_stack->addWidget(page);
    const int index = count() - 1;
    connect(t, &QAbstractButton::clicked, this, [this, index] {
        // A click on the current tab leaves it checked.
        m_tabs[size_t(index)]->setChecked(true);
        setCurrentIndex(index);
    });
    t->show();
    if (m_current < 0)
        setCurrentIndex(index);
    relayout();
    return index;
}

int TTypeTabs::indexOf(const QWidget *page) const
{
    return m_stack->indexOf(const_cast<QWidget *>(page));
}

QWidget *TTypeTabs::widget(int index) const
{
    return m_stack->widget(index);
}

TTypeTab *TTypeTabs::tab(int index) const
{
    return index >= 0 && index < count() ? m_tabs[size_t(index)] : nullptr;
}

void TTypeTabs::setCurrentIndex(int index)
{
    if (index < 0 || index >= count())
        return;
    for (int i = 0; i < count(); ++i) {
        m_tabs[size_t(i)]->setChecked(i == index);
        // Twenty stops of the Tab key would be one per tab on the way to the viewer.
        m_tabs[size_t(i)]->setFocusPolicy(i == index ? Qt::TabFocus : Qt::NoFocus);
    }
    if (index == m_current)
        return;
    m_current = index;
    m_stack->setCurrentIndex(index);
    emit currentChanged(index);
}

void TTypeTabs::setTabVisible(int index, bool visible)
{
    TTypeTab *t = tab(index);
    if (!t || t->isVisibleTo(this) == visible)
        return;
    t->setVisible(visible);
    if (!visible && index == m_current) {
        // As a tab bar does: the next shown tab takes over, else the previous one.
        int next = -1;
        for (int i = index + 1; i < count() && next < 0; ++i)
            if (isTabVisible(i))
                next = i;
        for (int i = index - 1; i >= 0 && next < 0; --i)
            if (isTabVisible(i))
                next = i;
        setCurrentIndex(next);
    }
    relayout();
}

bool TTypeTabs::isTabVisible(int index) const
{
    const TTypeTab *t = tab(index);
    return t && t->isVisibleTo(this);
}

QString TTypeTabs::tabText(int index) const
{
    const TTypeTab *t = tab(index);
    return t ? t->text() : QString();
}

void TTypeTabs::setTabText(int index, const QString &text)
{
    if (TTypeTab *t = tab(index)) {
        t->setText(text);
        t->setAccessibleName(text);
        relayout();
    }
}

int TTypeTabs::flow(int width, bool place) const
{
    int x = 0, y = 0, rowHeight = 0;
    std::vector<std::pair<TTypeTab *, QRect>> placed;
    for (TTypeTab *t : m_tabs) {
        if (!t->isVisibleTo(this))
            continue;
        const QSize hint = t->sizeHint();
        if (x > 0 && x + hint.width() > width) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        placed.emplace_back(t, QRect(QPoint(x, y), hint));
        x += hint.width();
        rowHeight = std::max(rowHeight, hint.height());
    }
    const int total = y + rowHeight;
    if (place) {
        const int top = height() - total;
        for (auto &[t, r] : placed)
            t->setGeometry(r.translated(0, top));
    }
    return total;
}

int TTypeTabs::rowCount() const
{
    int rows = 0, x = 0;
    for (TTypeTab *t : m_tabs) {
        if (!t->isVisibleTo(this))
            continue;
        const int w = t->sizeHint().width();
        if (rows == 0 || (x > 0 && x + w > width())) {
            ++rows;
            x = 0;
        }
        x += w;
    }
    return rows;
}

void TTypeTabs::relayout()
{
    const int tabs = flow(width(), true);
    m_stack->setGeometry(0, 0, width(), std::max(0, height() - tabs));
    updateGeometry();
}

void TTypeTabs::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

int TTypeTabs::heightForWidth(int width) const
{
    return m_stack->minimumSizeHint().height() + flow(width, false);
}

QSize TTypeTabs::sizeHint() const
{
    const QSize pages = m_stack->sizeHint();
    return {pages.width(), pages.height() + flow(std::max(pages.width(), 1), false)};
}

QSize TTypeTabs::minimumSizeHint() const
{
    const QSize pages = m_stack->minimumSizeHint();
    int widest = 0;
    for (const TTypeTab *t : m_tabs)
        widest = std::max(widest, t->sizeHint().width());
    return {std::max(pages.width(), widest), pages.height() + flow(std::max(pages.width(), widest), false)};
}

void TTypeTabs::step(int direction)
{
    for (int i = m_current + direction; i >= 0 && i < count(); i += direction) {
        if (isTabVisible(i)) {
            setCurrentIndex(i);
            return;
        }
    }
}

void TTypeTabs::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int key = event->key();
    int direction = 0;
    if (ctrl && (key == Qt::Key_Tab || key == Qt::Key_PageDown))
        direction = 1;
    else if (ctrl && (key == Qt::Key_Backtab || key == Qt::Key_PageUp))
        direction = -1;
    else if (!ctrl && (key == Qt::Key_Right || key == Qt::Key_Down) &&
             qobject_cast<TTypeTab *>(focusWidget()))
        direction = 1;
    else if (!ctrl && (key == Qt::Key_Left || key == Qt::Key_Up) && qobject_cast<TTypeTab *>(focusWidget()))
        direction = -1;
    if (direction == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool onTab = qobject_cast<TTypeTab *>(focusWidget()) != nullptr;
    step(direction);
    if (onTab && tab(m_current))
        tab(m_current)->setFocus(Qt::TabFocusReason);
    event->accept();
}

namespace {

class TypeTabAccessible : public QAccessibleWidget
{
public:
    explicit TypeTabAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::PageTab) {}
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const auto *t = static_cast<const TTypeTab *>(widget());
        s.selectable = true;
        s.selected = t->isChecked();
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            static_cast<TTypeTab *>(widget())->click();
    }
};

QAccessibleInterface *typeTabFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("TTypeTab"))
        return new TypeTabAccessible(static_cast<QWidget *>(object));
    if (className == QLatin1String("TTypeTabs"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::PageTabList);
    return nullptr;
}

} // namespace

void InstallTypeTabAccessibility()
{
    static bool installed = false; // global: Qt's factory list is process-wide
    if (!installed) {
        QAccessible::installFactory(typeTabFactory);
        installed = true;
    }
}
