// The lists' handlers and commands: columns and styles at start, the Delete key, the mouse and focus
// flags, select all, media-folder children and the double click of the ALL list.
#include "CatalogueFixture.h"

#include "catalogue/FileLists.h"

#include <QApplication>
#include <QListView>
#include <QTest>
#include <QTreeView>

class ListCommandsTest : public CatalogueFixture
{
protected:
    // A folder C:\P\ with a sub-folder and three pictures, shown in the ALL list.
    void openPictures()
    {
        writeFile("c/P/a.bmp");
        writeFile("c/P/b.bmp");
        writeFile("c/P/c.jpg");
        writeFile("c/P/Sub/d.bmp");
        p = addFolder(mtALL, "C:\\P\\");
        sub = addFolder(mtALL, "C:\\P\\Sub\\");
        open(mtALL, p);
        ASSERT_EQ(list(mtALL)->count(), 4);
    }

    NodeId p = kNoNode, sub = kNoNode;
};

// Records the delete commands the Delete key runs.
class FakeFileCommands : public FileCommandPort
{
public:
    int one = 0;
    int several = 0;
    void deleteOneFile() override { ++one; }
    void deleteSelectedFiles() override { ++several; }
};

TEST_F(ListCommandsTest, StartUpGivesEveryListItsColumnsAndTheStyleOfTheSetting)
{
    start({"Icon_Style=2"});
    for (TListView *l : pane->lv) {
        EXPECT_EQ(l->viewStyle(), 2);
        EXPECT_EQ(l->columnCount(), 4);
    }
    EXPECT_EQ(list(mtALL)->model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Modifié");
    EXPECT_TRUE(settingsText().contains("Scan_Type=0"));
}

TEST_F(ListCommandsTest, AListTakesTheStyleWhenItIsFilled)
{
    start({"Icon_Style=0"});
    writeFile("c/P/a.bmp");
    open(mtALL, addFolder(mtALL, "C:\\P\\"));
    EXPECT_EQ(ViewStyleOf(app, list(mtALL)), 0);
    app.st.settings.Icon_Style = 3;
    EXPECT_EQ(ViewStyleOf(app, list(mtALL)), 0);
    open(mtALL, tree(mtALL)->currentNode());
    EXPECT_EQ(ViewStyleOf(app, list(mtALL)), 3);
    EXPECT_EQ(ViewStyleOf(app, nullptr), 3);
    // A style outside the four gives large icons to the list.
    app.st.settings.Icon_Style = 8;
    ApplyViewStyle(app, list(mtALL));
    EXPECT_EQ(list(mtALL)->viewStyle(), 0);
}

TEST_F(ListCommandsTest, AStyleOutsideTheFourOnAListEndsTheProgramWithError19)
{
    start();
    list(mtALL)->setViewStyle(9);
    const QString e19 = internalError([&] { ViewStyleOf(app, list(mtALL)); });
    EXPECT_TRUE(e19.contains("#19"));
    EXPECT_TRUE(e19.endsWith("Valeur ViewStyle invalide"));
}

TEST_F(ListCommandsTest, DeleteRunsTheOneFileOrTheSelectedFilesCommand)
{
    start();
    openPictures();
    FakeFileCommands commands;
    app.fileCommands = &commands;
    TListView *l = list(mtALL);
    QWidget *view = l->activeView();
    const int a = rowOf(mtALL, "a.bmp"), b = rowOf(mtALL, "b.bmp");

    app.st.Selection.ItemKind = ListItemKind::File;
    l->setSelected(a, true);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(commands.one, 1);
    l->setSelected(b, true);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(commands.several, 1);

    // With Ctrl held: nothing, and the modifier is noted until the key comes up.
    QTest::keyPress(view, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(app.st.Selection.ModifierKeyDown);
    QTest::keyRelease(view, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
    // The modifier key itself counts as held when it goes down, whatever the platform reports.
    lvALLKeyDown(*pane, l, Qt::Key_Shift, Qt::NoModifier);
    EXPECT_TRUE(app.st.Selection.ModifierKeyDown);
    lvALLKeyDown(*pane, l, Qt::Key_Control, Qt::ShiftModifier);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
    QTest::keyPress(view, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
    // On a folder or a drive: nothing.
    app.st.Selection.ItemKind = ListItemKind::Folder;
    QTest::keyClick(view, Qt::Key_Delete);
    app.st.Selection.ItemKind = ListItemKind::Drive;
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(commands.one, 1);
    EXPECT_EQ(commands.several, 1);
    // Nothing selected: nothing either.
    l->deselectAll();
    app.st.Selection.ItemKind = ListItemKind::File;
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(commands.one + commands.several, 2);
    // No file commands connected: the key does nothing.
    app.fileCommands = nullptr;
    l->setSelected(a, true);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(commands.one, 1);
}

TEST_F(ListCommandsTest, MouseAndFocusKeepTheirFlags)
{
    start();
    openPictures();
    host->show();
    host->activateWindow();
    QApplication::processEvents();
    TListView *l = list(mtALL);
    QAbstractItemView *view = l->activeView();
    const QPoint at = view->visualRect(l->model()->index(0, 0)).center();
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, at);
    EXPECT_TRUE(app.st.Selection.RightButtonDown);
    QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, at);
    EXPECT_FALSE(app.st.Selection.RightButtonDown);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(app.st.Selection.RightButtonDown);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);

    l->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(app.st.Selection.ListHasFocus);
    app.st.Selection.RightButtonDown = true;
    app.st.Selection.ModifierKeyDown = true;
    tree(mtALL)->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(app.st.Selection.ListHasFocus);
    EXPECT_FALSE(app.st.Selection.RightButtonDown);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
}

TEST_F(ListCommandsTest, SelectAllFilesLeavesFoldersAsTheyAre)
{
    start();
    openPictures();
    TListView *l = list(mtALL);
    SelectAllFiles(*pane);
    EXPECT_EQ(l->selectedCount(), 3);
    EXPECT_FALSE(l->isSelected(0));
    EXPECT_EQ(FirstSelectedItem(l), 1);
    DeselectAll(l);
    EXPECT_EQ(FirstSelectedItem(l), -1);
    l->setSelected(0, true);
    SelectAllFiles(*pane);
    EXPECT_EQ(l->selectedCount(), 4);
    EXPECT_EQ(FirstSelectedItem(nullptr), -1);
}

TEST_F(ListCommandsTest, IsMediaFolderChildComparesNamesIgnoringCase)
{
    start();
    openPictures();
    addFolder(mtALL, "C:\\P\\Way\\Deeper\\"); // Way: a folder on the way, not a media folder
    app.st.Selection.FileName = "SUB";
    EXPECT_TRUE(IsMediaFolderChild(cat));
    app.st.Selection.FileName = "way";
    EXPECT_FALSE(IsMediaFolderChild(cat));
    app.st.Selection.FileName = "a.bmp";
    EXPECT_FALSE(IsMediaFolderChild(cat));
}

TEST_F(ListCommandsTest, DoubleClickOpensFoldersAndDrivesOnTheAllListOnly)
{
    start();
    openPictures();
    host->show();
    QApplication::processEvents();
    auto doubleClick = [&](MediaType t, int row) {
        TListView *l = list(t);
        app.st.Selection.List = t;
        app.st.Selection.Item = row;
        QAbstractItemView *view = l->activeView();
        QApplication::processEvents(); // the view lays its items out
        // A double click is a press, a release, then the double click itself.
        const QPoint at = view->visualRect(l->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    };

    // A file: nothing.
    doubleClick(mtALL, rowOf(mtALL, "a.bmp"));
    EXPECT_EQ(app.st.CurrentView.CurrentNode, p);
    // A folder: its node becomes the current one, and the list shows it.
    doubleClick(mtALL, rowOf(mtALL, "Sub"));
    EXPECT_EQ(tree(mtALL)->currentNode(), sub);
    EXPECT_EQ(app.st.CurrentView.CurrentNode, sub);
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\P\\Sub\\");
    EXPECT_EQ(captions(mtALL), QStringList({"d.bmp"}));

    // A drive of the root list opens its node.
    open(mtALL, root(mtALL));
    ASSERT_EQ(captions(mtALL), QStringList({"(C:)"}));
    doubleClick(mtALL, 0);
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\");
    EXPECT_EQ(captions(mtALL), QStringList({"P"}));

    // The type lists have no double click.
    const NodeId bmp = addFolder(mtBMP, "C:\\P\\");
    addFolder(mtBMP, "C:\\P\\Sub\\");
    open(mtBMP, bmp);
    doubleClick(mtBMP, rowOf(mtBMP, "Sub"));
    EXPECT_EQ(app.st.CurrentView.CurrentNode, bmp);
}
