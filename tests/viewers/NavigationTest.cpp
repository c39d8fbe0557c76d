// The moves to the first, previous, next and last file of the list on view, through the toolbar.
#include "ViewerFixture.h"

namespace {

class NavigationTest : public ViewerFixture
{
protected:
    // A media folder's list: its sub-folders first, then its files.
    void folderWith(std::vector<FakeFileList::Row> rows)
    {
        list.rows = std::move(rows);
        list.mediaFolder = true;
    }
    void standardFolder()
    {
        folderWith({{"Sub1", false}, {"Sub2", false}, {"a.bmp", true}, {"b.jpg", true}, {"c.ani", true}});
    }
    // The item on view, as a click on it would leave the Selection.
    void onView(int row)
    {
        app.st.Selection.Item = row;
        app.st.Selection.ItemKind = list.rows[size_t(row)].file ? ListItemKind::File : ListItemKind::Folder;
        app.st.Selection.FileName = list.rows[size_t(row)].name;
    }
    int beeps() const { return plainBeeps(); }
};

} // namespace

TEST_F(NavigationTest, FirstSelectsTheFirstFileOfAMediaFolderAndItemZeroElsewhere)
{
    standardFolder();
    pane->button(ViewerCommand::First)->click();
    EXPECT_EQ(list.selections, std::vector<int>{2});
    EXPECT_EQ(app.st.Selection.Item, 2);
    // On a node that is not a media folder (a drive, My computer) the first item whatever it is.
    list.mediaFolder = false;
    pane->button(ViewerCommand::First)->click();
    EXPECT_EQ(list.selections, (std::vector<int>{2, 0}));
    EXPECT_EQ(beeps(), 0);
}

TEST_F(NavigationTest, FirstInAFolderOfFoldersOnlyIsTakenAwayWithoutABeep)
{
    folderWith({{"Sub1", false}, {"Sub2", false}});
    pane->button(ViewerCommand::First)->click();
    EXPECT_TRUE(list.selections.empty());
    EXPECT_FALSE(pane->button(ViewerCommand::First)->isEnabled());
    EXPECT_EQ(beeps(), 0);
    EXPECT_TRUE(pane->button(ViewerCommand::Next)->isEnabled());
}

TEST_F(NavigationTest, LastSelectsTheLastItemWhenItIsAFile)
{
    standardFolder();
    pane->button(ViewerCommand::Last)->click();
    EXPECT_EQ(list.selections, std::vector<int>{4}) << "an animated cursor is a file like any other";
    EXPECT_EQ(beeps(), 0);
    // A list ending with a folder, an empty list, or a node that is not a media folder: a beep.
    folderWith({{"Sub1", false}});
    pane->button(ViewerCommand::Last)->click();
    folderWith({});
    pane->button(ViewerCommand::Last)->click();
    standardFolder();
    list.mediaFolder = false;
    pane->button(ViewerCommand::Last)->click();
    EXPECT_EQ(list.selections.size(), 1u);
    EXPECT_EQ(beeps(), 3);
}

TEST_F(NavigationTest, NextWalksToTheEndOfTheFilesAndBeepsThere)
{
    standardFolder();
    onView(2);
    pane->button(ViewerCommand::Next)->click();
    pane->button(ViewerCommand::Next)->click();
    EXPECT_EQ(list.selections, (std::vector<int>{3, 4}));
    EXPECT_EQ(beeps(), 0);
    pane->button(ViewerCommand::Next)->click();
    EXPECT_EQ(list.selections.size(), 2u);
    EXPECT_EQ(beeps(), 1);
    EXPECT_EQ(app.st.Selection.Item, 4);
}

TEST_F(NavigationTest, NextOrPreviousWithNothingOnViewRunsFirstThenBeeps)
{
    standardFolder();
    pane->button(ViewerCommand::Next)->click();
    EXPECT_EQ(list.selections, std::vector<int>{2});
    EXPECT_EQ(beeps(), 1);
    app.st.Selection.Item = -1;
    pane->button(ViewerCommand::Previous)->click();
    EXPECT_EQ(list.selections, (std::vector<int>{2, 2}));
    EXPECT_EQ(beeps(), 2);
}

TEST_F(NavigationTest, PreviousStepsBackAndBeepsAtItemZero)
{
    standardFolder();
    onView(4);
    pane->button(ViewerCommand::Previous)->click();
    EXPECT_EQ(list.selections, std::vector<int>{3});
    EXPECT_EQ(list.deselections, 1) << "the selection is cleared before";
    EXPECT_EQ(beeps(), 0);
    // A drive list (not a media folder): at item 0 nothing moves.
    list.mediaFolder = false;
    onView(0);
    pane->button(ViewerCommand::Previous)->click();
    EXPECT_EQ(beeps(), 1);
    list.mediaFolder = true;
    pane->button(ViewerCommand::Previous)->click();
    EXPECT_EQ(beeps(), 2);
    EXPECT_EQ(list.selections.size(), 1u);
}

TEST_F(NavigationTest, PreviousFromTheFirstFileOntoAFolderLeavesNothingSelected)
{
    standardFolder();
    onView(2);
    pane->button(ViewerCommand::Previous)->click();
    EXPECT_TRUE(list.selections.empty());
    EXPECT_EQ(list.deselections, 1);
    EXPECT_EQ(beeps(), 1);
}

TEST_F(NavigationTest, WithoutAFolderOnViewEveryMoveBeeps)
{
    standardFolder();
    onView(3);
    const auto allMoves = [this] {
        for (QToolButton *b : {pane->button(ViewerCommand::First), pane->button(ViewerCommand::Previous),
                               pane->button(ViewerCommand::Next), pane->button(ViewerCommand::Last)})
            b->click();
    };
    app.st.CurrentView.CurrentFolder.clear();
    allMoves();
    EXPECT_EQ(beeps(), 4);
    app.st.CurrentView.CurrentFolder = QStringLiteral("C:\\Images\\");
    app.st.CurrentView.CurrentNode = kNoNode;
    allMoves();
    EXPECT_EQ(beeps(), 8);
    // No list connected: nothing to move in either.
    app.st.CurrentView.CurrentNode = 1;
    app.selectionList = nullptr;
    allMoves();
    EXPECT_EQ(beeps(), 12);
    EXPECT_TRUE(list.selections.empty());
    EXPECT_EQ(list.deselections, 0);
    EXPECT_TRUE(pane->button(ViewerCommand::First)->isEnabled());
}
