// The lists' change handler as clicks and keys in a list reach it: the item on view, what the
// viewer is asked to show or stop, and the cases that keep the file on view (Shift or Ctrl held,
// the right button).
#include "CatalogueFixture.h"

#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "catalogue/FileLists.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

namespace {

class ListChangeTest : public CatalogueFixture
{
protected:
    // C:\P\ with a sub-folder and three files, shown in the ALL list, in a shown window.
    void openFolder(const QStringList &settings = {})
    {
        start(settings);
        writeFile("c/P/a.bmp");
        writeFile("c/P/b.wav");
        writeFile("c/P/c.gif");
        writeFile("c/P/Sub/d.bmp");
        const NodeId p = addFolder(mtALL, "C:\\P\\");
        addFolder(mtALL, "C:\\P\\Sub\\");
        open(mtALL, p);
        ASSERT_EQ(list(mtALL)->count(), 4);
        sub = rowOf(mtALL, "Sub");
        a = rowOf(mtALL, "a.bmp");
        b = rowOf(mtALL, "b.wav");
        c = rowOf(mtALL, "c.gif");
        ASSERT_EQ(sub, 0) << "folders first";
        host->show();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        viewer = FakeViewer();
    }

    TListView *all() const { return list(mtALL); }
    QAbstractItemView *view() const { return all()->activeView(); }
    QPoint at(int row) const { return view()->visualRect(all()->model()->index(row, 0)).center(); }
    void click(int row, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, mods, at(row));
    }
    // A click with Shift or Ctrl held, the key pressed before and released after, as a hand does.
    void clickHolding(Qt::Key key, int row)
    {
        const Qt::KeyboardModifier mod = key == Qt::Key_Shift ? Qt::ShiftModifier : Qt::ControlModifier;
        QTest::keyPress(view(), key, mod);
        click(row, mod);
        QTest::keyRelease(view(), key, {});
    }
    const SelectionRecord &sel() const { return app.st.Selection; }

    int sub = -1, a = -1, b = -1, c = -1; // rows, the files in the order the disk gives them
};

} // namespace

TEST_F(ListChangeTest, AClickOnAFileMakesItTheItemOnViewAndShowsIt)
{
    openFolder();
    viewer.playing = true;
    app.st.RelayoutOnly = true;
    click(a);
    EXPECT_EQ(sel().Item, a);
    EXPECT_EQ(sel().ItemKind, ListItemKind::File);
    EXPECT_EQ(sel().List, mtALL);
    EXPECT_EQ(sel().FileName, "a.bmp");
    EXPECT_EQ(sel().FileType, mtBMP);
    EXPECT_EQ(viewer.plays, 1);
    EXPECT_EQ(viewer.emptyPages, 0);
    EXPECT_FALSE(app.st.RelayoutOnly);
    EXPECT_EQ(viewer.stops, 1) << "what played is stopped first";
    EXPECT_FALSE(sel().ChangeGuard);
}

// The list reports a keyboard move's selection and then its focus: the row is shown once.
TEST_F(ListChangeTest, AMoveByTheKeyboardShowsTheNextRowOnce)
{
    openFolder();
    click(1);
    const int plays = viewer.plays;
    QTest::keyClick(view(), Qt::Key_Right);
    if (all()->currentItem() == 1) // a style that flows top to bottom
        QTest::keyClick(view(), Qt::Key_Down);
    EXPECT_EQ(sel().Item, 2);
    EXPECT_EQ(sel().FileName, all()->item(2).caption);
    EXPECT_EQ(sel().FileType, TypeOfFile(all()->item(2).caption));
    EXPECT_EQ(viewer.plays, plays + 1);
}

TEST_F(ListChangeTest, AClickOnAFolderShowsTheEmptyPage)
{
    openFolder();
    click(a);
    viewer.playing = true;
    click(sub);
    EXPECT_EQ(sel().Item, sub);
    EXPECT_EQ(sel().ItemKind, ListItemKind::Folder);
    EXPECT_EQ(sel().FileName, "Sub");
    EXPECT_EQ(sel().FileType, mtNone);
    EXPECT_EQ(viewer.emptyPages, 1);
    EXPECT_EQ(viewer.stops, 1);
}

TEST_F(ListChangeTest, WithViewOnClickOffTheViewerOnlyHearsOfTheSelection)
{
    openFolder({"Wiew_When_Click_ListView=0"});
    click(c);
    EXPECT_EQ(sel().Item, c);
    EXPECT_EQ(sel().FileName, "c.gif");
    EXPECT_EQ(sel().FileType, mtGIF);
    EXPECT_EQ(viewer.plays, 0);
    EXPECT_EQ(viewer.selectionChanges, 1);
    EXPECT_EQ(viewer.emptyPages, 0);
}

TEST_F(ListChangeTest, ExtendingTheSelectionKeepsTheFileOnViewAndTheFocusOnIt)
{
    openFolder();
    for (Qt::Key key : {Qt::Key_Control, Qt::Key_Shift}) {
        SCOPED_TRACE(key == Qt::Key_Control ? "Ctrl" : "Shift");
        click(a);
        const int plays = viewer.plays;
        viewer.playing = true;
        viewer.stops = 0;
        clickHolding(key, c);
        EXPECT_TRUE(all()->isSelected(c));
        EXPECT_TRUE(all()->isSelected(a));
        EXPECT_EQ(sel().Item, a);
        EXPECT_EQ(sel().FileName, "a.bmp");
        EXPECT_EQ(all()->currentItem(), a) << "the focus goes back to the file on view";
        EXPECT_EQ(viewer.plays, plays);
        EXPECT_EQ(viewer.stops, 0) << "it goes on playing";
        EXPECT_FALSE(sel().ModifierKeyDown) << "noted only while the key is down";
    }
    // Without the key, the next click stops and shows.
    const int plays = viewer.plays;
    click(b);
    EXPECT_EQ(viewer.stops, 1);
    EXPECT_EQ(viewer.plays, plays + 1);
    EXPECT_EQ(sel().Item, b);
}

TEST_F(ListChangeTest, ARightButtonPressStopsWhatPlaysAndShowsNothingNew)
{
    openFolder();
    click(a);
    viewer.playing = true;
    QTest::mousePress(view()->viewport(), Qt::RightButton, {}, at(c));
    EXPECT_EQ(viewer.stops, 1);
    EXPECT_EQ(viewer.plays, 1);
    EXPECT_EQ(viewer.emptyPages, 0);
    EXPECT_EQ(sel().Item, a);
    EXPECT_EQ(sel().FileName, "a.bmp");
    EXPECT_EQ(all()->currentItem(), c) << "the pressed item is the focused one, for its popup";
    QTest::mouseRelease(view()->viewport(), Qt::RightButton, {}, at(c));
    EXPECT_FALSE(sel().RightButtonDown);
}

TEST_F(ListChangeTest, NothingIsStoppedWhileItIsOnlyBeingRelaidOut)
{
    openFolder();
    viewer.playing = true;
    // A resize of the window marks a relayout; the change handler clears the mark first thing.
    app.st.RelayoutOnly = true;
    StopPlaybackIfActive(app);
    EXPECT_EQ(viewer.stops, 0);
    click(b);
    EXPECT_FALSE(app.st.RelayoutOnly);
    EXPECT_EQ(viewer.stops, 1);
}

TEST_F(ListChangeTest, ShowingTheFileCannotRunTheHandlerAgain)
{
    openFolder();
    // A viewer whose showing moves the list's selection, as a refocusing would.
    struct MovingViewer : FakeViewer
    {
        TListView *list = nullptr;
        int to = -1;
        void play() override
        {
            FakeViewer::play();
            list->deselectAll();
            list->setSelected(to, true);
            list->setCurrentItem(to);
        }
    } moving;
    moving.list = all();
    moving.to = c;
    app.viewer = &moving;
    click(a);
    EXPECT_EQ(moving.plays, 1);
    EXPECT_EQ(sel().Item, a);
    EXPECT_EQ(sel().FileName, "a.bmp");
    EXPECT_FALSE(sel().ChangeGuard);
    app.viewer = &viewer;
}
