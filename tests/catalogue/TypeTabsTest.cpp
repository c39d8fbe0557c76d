// The type tab pane: rows that flow with the width, the current tab when tabs hide, keyboard moves
// over the shown tabs only, and what a screen reader hears of the tabs.
#include "catalogue/TypeTabs.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct Pane
{
    TTypeTabs tabs;
    std::vector<QWidget *> pages;
    explicit Pane(int n)
    {
        for (int i = 0; i < n; ++i) {
            auto *page = new QWidget;
            pages.push_back(page);
            tabs.addTab(page, i == 0 ? QStringLiteral("TOUS") : QStringLiteral("T%1").arg(i));
        }
    }
};
} // namespace

TEST(TypeTabs, EveryShownTabStaysInViewInRowsThatFlowWithTheWidth)
{
    Pane p(13);
    p.tabs.resize(2000, 300);
    p.tabs.show();
    EXPECT_EQ(p.tabs.rowCount(), 1);
    p.tabs.resize(160, 300);
    const int narrowRows = p.tabs.rowCount();
    EXPECT_GT(narrowRows, 2);
    for (int i = 0; i < p.tabs.count(); ++i) {
        const QRect r = p.tabs.tab(i)->geometry();
        EXPECT_TRUE(p.tabs.rect().contains(r)) << i;
        // Tab order is reading order: left to right, then the next row.
        if (i > 0) {
            const QRect before = p.tabs.tab(i - 1)->geometry();
            EXPECT_TRUE(r.top() > before.top() || (r.top() == before.top() && r.left() >= before.right()))
                << i;
        }
    }
    // The pages take what the rows leave.
    EXPECT_EQ(p.pages[0]->parentWidget()->geometry().bottom() + 1, p.tabs.tab(0)->geometry().top());
    // Hidden tabs take no room.
    for (int i = 3; i < 13; ++i)
        p.tabs.setTabVisible(i, false);
    EXPECT_LT(p.tabs.rowCount(), narrowRows);
}

TEST(TypeTabs, HidingTheCurrentTabMovesToTheNextShownOneAndKeysSkipHiddenTabs)
{
    Pane p(5);
    QSignalSpy changed(&p.tabs, &TTypeTabs::currentChanged);
    p.tabs.setCurrentIndex(2);
    p.tabs.setTabVisible(3, false);
    p.tabs.setTabVisible(2, false);
    EXPECT_EQ(p.tabs.currentIndex(), 4);
    EXPECT_EQ(p.tabs.currentWidget(), p.pages[4]);
    p.tabs.setTabVisible(4, false);
    EXPECT_EQ(p.tabs.currentIndex(), 1) << "no shown tab after it: the previous one";
    EXPECT_EQ(changed.count(), 3);

    p.tabs.setTabVisible(4, true);
    p.tabs.show();
    QTest::keyClick(&p.tabs, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(p.tabs.currentIndex(), 4);
    QTest::keyClick(&p.tabs, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(p.tabs.currentIndex(), 1);
    // A click on a tab makes it current and keeps it checked.
    p.tabs.tab(0)->click();
    EXPECT_EQ(p.tabs.currentIndex(), 0);
    p.tabs.tab(0)->click();
    EXPECT_TRUE(p.tabs.tab(0)->isChecked());
    EXPECT_FALSE(p.tabs.tab(1)->isChecked());
}

TEST(TypeTabs, ScreenReadersHearPageTabsAndNotTheHiddenOnes)
{
    Pane p(3);
    p.tabs.show();
    p.tabs.setTabVisible(2, false);
    p.tabs.setTabText(0, QStringLiteral("ALLES"));
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&p.tabs);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->role(), QAccessible::PageTabList);
    QAccessibleInterface *first = QAccessible::queryAccessibleInterface(p.tabs.tab(0));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->role(), QAccessible::PageTab);
    EXPECT_EQ(first->text(QAccessible::Name), "ALLES");
    EXPECT_TRUE(first->state().selected);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(p.tabs.tab(1))->state().selected);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(p.tabs.tab(2))->state().invisible);
    // Pressing through the screen reader selects the tab.
    QAccessibleInterface *second = QAccessible::queryAccessibleInterface(p.tabs.tab(1));
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(p.tabs.currentIndex(), 1);
}
