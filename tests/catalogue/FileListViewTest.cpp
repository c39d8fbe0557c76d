// The list control: its four styles over one model and one selection, and the signals it gives.
#include "catalogue/FileListView.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeView>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

TListItem row(const QString &caption, int image, int64_t size = -1)
{
    TListItem item;
    item.caption = caption;
    item.image = static_cast<int16_t>(image);
    if (size >= 0)
        item.setSize(size);
    return item;
}

class ListViewTest : public ::testing::Test
{
protected:
    ListViewTest()
    {
        auto *layout = new QVBoxLayout(&window);
        list = new TListView(&window);
        other = new QLineEdit(&window);
        layout->addWidget(list);
        layout->addWidget(other);
        for (int i = 0; i < 19; ++i) {
            QPixmap small(16, 16), large(32, 32);
            small.fill(Qt::blue);
            large.fill(Qt::red);
            smallIcons.emplace_back(small);
            largeIcons.emplace_back(large);
        }
        list->setImages(&smallIcons, &largeIcons);
        list->setColumns({"Nom", "Taille", "Type", "Modifié"}, {130, 60, 130, -1},
                         {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft});
        window.resize(700, 400);
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }

    void fill(int n)
    {
        std::vector<TListItem> items;
        for (int i = 0; i < n; ++i)
            items.push_back(row(QStringLiteral("file%1.bmp").arg(i), i % 3 == 0 ? 6 : 9, i));
        list->addItems(std::move(items));
        QApplication::processEvents();
    }

    QRect rectOf(int r) const
    {
        QAbstractItemView *v = list->activeView();
        return v->visualRect(list->model()->index(r, 0));
    }

    std::vector<QIcon> smallIcons, largeIcons;
    QWidget window;
    TListView *list = nullptr;
    QLineEdit *other = nullptr;
};

} // namespace

TEST_F(ListViewTest, EachStyleLaysTheSameItemsOutItsOwnWay)
{
    fill(12);
    list->setViewStyle(0);
    QApplication::processEvents();
    EXPECT_EQ(list->activeView(), list->iconView());
    EXPECT_EQ(list->iconView()->iconSize(), QSize(32, 32));
    // Large icons: a grid flowing left to right, the caption under the picture.
    EXPECT_GT(rectOf(1).left(), rectOf(0).left());
    EXPECT_EQ(rectOf(1).top(), rectOf(0).top());
    EXPECT_GE(rectOf(0).height(), 32 + list->fontMetrics().height());

    list->setViewStyle(1);
    QApplication::processEvents();
    EXPECT_EQ(list->iconView()->iconSize(), QSize(16, 16));
    EXPECT_GT(rectOf(1).left(), rectOf(0).left());
    EXPECT_EQ(rectOf(1).top(), rectOf(0).top());
    EXPECT_LT(rectOf(0).height(), 32);

    list->setViewStyle(2);
    QApplication::processEvents();
    // List: columns flowing top to bottom.
    EXPECT_EQ(rectOf(1).left(), rectOf(0).left());
    EXPECT_GT(rectOf(1).top(), rectOf(0).top());

    list->setViewStyle(3);
    QApplication::processEvents();
    EXPECT_EQ(list->activeView(), list->reportView());
    EXPECT_FALSE(list->reportView()->isHeaderHidden());
    EXPECT_EQ(list->columnWidth(0), 130);
    EXPECT_EQ(list->columnWidth(1), 60);
    EXPECT_EQ(list->columnWidth(2), 130);
    EXPECT_GT(list->columnWidth(3), 0);
    EXPECT_GT(rectOf(1).top(), rectOf(0).top());
}

TEST_F(ListViewTest, AStyleChangeKeepsTheItemsTheirSelectionAndTheFocusedItem)
{
    fill(30);
    list->setViewStyle(1);
    list->setFocus();
    QApplication::processEvents();
    // A click, then a Ctrl+click in the small icons view.
    QTest::mouseClick(list->iconView()->viewport(), Qt::LeftButton, {}, rectOf(4).center());
    QTest::mouseClick(list->iconView()->viewport(), Qt::LeftButton, Qt::ControlModifier, rectOf(7).center());
    ASSERT_EQ(list->selectedCount(), 2);
    for (int style : {3, 0, 2, 1, 3}) {
        list->setViewStyle(style);
        QApplication::processEvents();
        EXPECT_EQ(list->count(), 30) << style;
        EXPECT_TRUE(list->isSelected(4)) << style;
        EXPECT_TRUE(list->isSelected(7)) << style;
        EXPECT_FALSE(list->isSelected(5)) << style;
        EXPECT_EQ(list->selectedCount(), 2) << style;
        EXPECT_EQ(list->currentItem(), 7) << style;
        EXPECT_EQ(list->firstSelected(), 4) << style;
        EXPECT_TRUE(list->activeView()->hasFocus()) << style;
    }
    // A Shift+click in the report view extends from the focused item by whole rows, counted once each.
    QTest::mouseClick(list->reportView()->viewport(), Qt::LeftButton, Qt::ShiftModifier, rectOf(10).center());
    EXPECT_EQ(list->selectedCount(), 5); // 4, 7..10
    list->setViewStyle(0);
    EXPECT_TRUE(list->isSelected(9));
    EXPECT_FALSE(list->isSelected(11));
    list->deselectAll();
    EXPECT_EQ(list->selectedCount(), 0);
    EXPECT_EQ(list->firstSelected(), -1);
}

TEST_F(ListViewTest, SelectingRowsByARuleLeavesTheOthersAsTheyWere)
{
    fill(10); // folders at 0, 3, 6, 9
    list->setSelected(3, true);
    list->selectRowsWhere([this](int r) { return list->item(r).image == 9; });
    EXPECT_EQ(list->selectedCount(), 7);
    EXPECT_TRUE(list->isSelected(3));
    EXPECT_FALSE(list->isSelected(0));
    EXPECT_FALSE(list->isSelected(6));
    EXPECT_EQ(list->firstSelected(), 1);
}

TEST_F(ListViewTest, AStyleOutsideTheFourIsRememberedAndChangesNothing)
{
    fill(3);
    list->setViewStyle(3);
    list->setViewStyle(7);
    EXPECT_EQ(list->viewStyle(), 7);
    EXPECT_EQ(list->activeView(), list->reportView());
    EXPECT_EQ(list->count(), 3);
}

TEST_F(ListViewTest, FocusEntersAndLeavesTheListNotItsViews)
{
    other->setFocus();
    QApplication::processEvents();
    QSignalSpy entered(list, &TListView::entered);
    QSignalSpy exited(list, &TListView::exited);
    list->setViewStyle(1);
    list->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(list->iconView()->hasFocus());
    EXPECT_EQ(entered.count(), 1);
    list->setViewStyle(3);
    QApplication::processEvents();
    EXPECT_TRUE(list->reportView()->hasFocus());
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(exited.count(), 0);
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(exited.count(), 1);
}

TEST_F(ListViewTest, KeysAndButtonsOfTheShownViewBecomeTheListsSignals)
{
    fill(5);
    QSignalSpy down(list, &TListView::keyDown);
    QSignalSpy up(list, &TListView::keyUp);
    QSignalSpy press(list, &TListView::mouseDown);
    QSignalSpy release(list, &TListView::mouseUp);
    QSignalSpy dbl(list, &TListView::itemDoubleClicked);
    for (int style : {0, 3}) {
        list->setViewStyle(style);
        QApplication::processEvents();
        QTest::keyClick(list->activeView(), Qt::Key_Delete, Qt::ControlModifier);
        QTest::mouseClick(list->activeView()->viewport(), Qt::RightButton, {}, rectOf(2).center());
        QTest::mouseDClick(list->activeView()->viewport(), Qt::LeftButton, {}, rectOf(2).center());
    }
    // Each Ctrl+Delete is the Ctrl key, then Delete with Ctrl held.
    ASSERT_EQ(down.count(), 4);
    EXPECT_EQ(down[1][0].toInt(), int(Qt::Key_Delete));
    EXPECT_EQ(down[1][1].value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
    EXPECT_EQ(down[3][0].toInt(), int(Qt::Key_Delete));
    EXPECT_EQ(up.count(), 4);
    EXPECT_EQ(press[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_GE(release.count(), 2);
    ASSERT_EQ(dbl.count(), 2);
    EXPECT_EQ(dbl[1][0].toInt(), 2);
}

TEST_F(ListViewTest, AMenuThatTakesTheRightButtonsReleaseLeavesTheButtonUp)
{
    fill(5);
    QSignalSpy press(list, &TListView::mouseDown);
    QSignalSpy release(list, &TListView::mouseUp);
    for (int style : {1, 3}) {
        list->setViewStyle(style);
        QApplication::processEvents();
        QWidget *viewport = list->activeView()->viewport();
        const QPoint at = rectOf(2).center();
        release.clear();
        // X11's order: the menu's event follows the press, and the release goes to the menu.
        QTest::mousePress(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent onPress(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &onPress);
        ASSERT_EQ(release.count(), 1) << "style " << style;
        EXPECT_EQ(release[0][0].value<Qt::MouseButton>(), Qt::RightButton);
        // The order elsewhere, press, release, then the menu: one release, not two.
        QTest::mouseClick(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent onRelease(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &onRelease);
        EXPECT_EQ(release.count(), 2);
        // A menu asked for from the keyboard has no button to release.
        QContextMenuEvent fromKeys(QContextMenuEvent::Keyboard, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &fromKeys);
        EXPECT_EQ(release.count(), 2);
    }
    EXPECT_EQ(press.count(), 4);
}

TEST_F(ListViewTest, TheViewThatTakesTheFocusIsHeardByTheListsName)
{
    fill(3);
    other->setFocus();
    list->setAccessibleName("Liste BMP");
    list->setViewStyle(1);
    list->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(list->iconView()->hasFocus());
    QAccessibleInterface *icons = QAccessible::queryAccessibleInterface(list->iconView());
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->text(QAccessible::Name), "Liste BMP");
    // A new caption reaches the views the next time the focus comes in.
    other->setFocus();
    list->setAccessibleName("Liste TOUS");
    list->setViewStyle(3);
    list->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(list->reportView()->hasFocus());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(list->reportView())->text(QAccessible::Name),
              "Liste TOUS");
    EXPECT_EQ(icons->text(QAccessible::Name), "Liste TOUS");
}

TEST_F(ListViewTest, TextsAreFormattedFromTheRowsFacts)
{
    list->addItem(row("empty.wav", 12, 0));
    list->addItem(row("one.wav", 12, 1));
    list->addItem(row("k.wav", 12, 1024));
    list->addItem(row("k1.wav", 12, 1025));
    list->addItem(row("folder", 6));
    EXPECT_EQ(list->itemText(0, 1), "0 Ko");
    EXPECT_EQ(list->itemText(1, 1), "1 Ko");
    EXPECT_EQ(list->itemText(2, 1), "1 Ko");
    EXPECT_EQ(list->itemText(3, 1), "2 Ko");
    EXPECT_TRUE(list->itemText(4, 1).isEmpty());
    EXPECT_TRUE(list->itemText(4, 3).isEmpty());
    const uint64_t stamp = list->contentStamp();
    list->clear();
    EXPECT_NE(list->contentStamp(), stamp);
    EXPECT_EQ(list->count(), 0);
}

TEST_F(ListViewTest, ALongListShowsItsFirstRowsAtOnceAndCtrlEndStillReachesTheLastRow)
{
    list->setViewStyle(0);
    fill(20000);
    EXPECT_TRUE(rectOf(0).isValid());
    QAbstractItemView *view = list->activeView();
    view->setFocus();
    // The first key makes the first row current; the next one goes from there.
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(list->currentItem(), 0);
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(list->currentItem(), 19999);
    // Once the rest is laid out, the last row is in view where the key put it.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return rectOf(19999).isValid() && view->viewport()->rect().intersects(rectOf(19999)); }, 5000));
    EXPECT_EQ(list->currentItem(), 19999);
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(list->currentItem(), 0);
    EXPECT_TRUE(view->viewport()->rect().intersects(rectOf(0)));
}

TEST_F(ListViewTest, AReportCellOfALongTextEndsAsTheWholeTextWould)
{
    const QFontMetrics metrics = list->fontMetrics();
    const QString path = QStringLiteral("C:\\Dossier très long\\Sous-dossier\\");
    const QStringList texts = {path.repeated(40), QString(3000, u'i'),
                               QStringLiteral("e\u0301").repeated(900),
                               QStringLiteral("🎵 Ελλάδα ").repeated(200), QStringLiteral("court")};
    for (const QString &text : texts)
        for (int width : {1, 40, 130, 320, 900}) {
            const QString cut = CutTextBeyond(text, metrics, width);
            EXPECT_TRUE(text.startsWith(cut));
            EXPECT_EQ(metrics.elidedText(cut, Qt::ElideRight, width),
                      metrics.elidedText(text, Qt::ElideRight, width))
                << text.left(20).toStdString() << " " << width;
            if (text.size() > 2000) {
                EXPECT_LT(cut.size(), text.size() / 2) << width;
            }
        }
    EXPECT_EQ(CutTextBeyond(QString(), metrics, 100), QString());

    // Drawn in the report style: the same pixels as the whole texts give.
    list->setViewStyle(3);
    for (const QString &text : texts)
        list->addItem(row(text, 6, 1));
    QApplication::processEvents();
    QTreeView *report = list->reportView();
    const QImage ours = report->viewport()->grab().toImage();
    QStyledItemDelegate whole;
    QAbstractItemDelegate *kept = report->itemDelegate();
    report->setItemDelegate(&whole);
    const QImage plain = report->viewport()->grab().toImage();
    report->setItemDelegate(kept);
    EXPECT_EQ(ours, plain);
}
