// The tree change handler, its status texts, the collapse / expand / up-one-level commands with the
// toolbar's beep rules, and the focus flags.
#include "CatalogueFixture.h"

#include <QApplication>
#include <QFocusEvent>
#include <QSignalSpy>

namespace {

class TreeCommandsTest : public CatalogueFixture
{
protected:
    void SetUp() override
    {
        start();
        ui.acceptOkBoxes = true;
    }
    // The user selects a node of the ALL tree.
    void select(const QString &path)
    {
        TFolderTreeView *t = tree(mtALL);
        t->setCurrentIndex(t->folderModel()->indexOf(node(mtALL, path)));
    }
    NodeId current() const { return app.st.CurrentView.CurrentNode; }
    void buildTree()
    {
        for (const char *f : {"c/Photos/2000/a.bmp", "c/Photos/b.bmp", "c/Music/x.mid"})
            writeFile(QString::fromLatin1(f));
        for (const char *f : {"C:\\Photos\\2000\\", "C:\\Photos\\", "C:\\Music\\"})
            AddFolderToTree(cat, mtALL, QString::fromLatin1(f));
    }
    bool expanded(const QString &path) const { return tree(mtALL)->isNodeExpanded(node(mtALL, path)); }
};

TEST_F(TreeCommandsTest, RootSelectedEmptiesTheFolderPanels)
{
    buildTree();
    QSignalSpy upOneLevel(pane, &CataloguePane::upOneLevelAvailable);
    select("C:\\Photos\\");
    select("");
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "");
    EXPECT_EQ(current(), root(mtALL));
    EXPECT_EQ(app.st.CurrentView.CurrentTree, mtALL);
    EXPECT_EQ(panel(0), "");
    EXPECT_EQ(panel(1), "0 fichier");
    EXPECT_EQ(panel(2), "");
    ASSERT_FALSE(upOneLevel.isEmpty());
    EXPECT_FALSE(upOneLevel.last().at(0).toBool());
    // Each change of folder leaves the viewer on its empty page.
    EXPECT_EQ(viewer.emptyPages, 3); // the start-up's reset and the two selections
}

TEST_F(TreeCommandsTest, FolderSelectedFillsTheFolderPanels)
{
    buildTree();
    QSignalSpy upOneLevel(pane, &CataloguePane::upOneLevelAvailable);
    select("C:\\Photos\\2000\\");
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Photos\\2000\\");
    EXPECT_EQ(panel(0), "Fichiers: *.*");
    EXPECT_EQ(panel(2), "Dossier sélectionné: C:\\Photos\\2000\\");
    ASSERT_FALSE(upOneLevel.isEmpty());
    EXPECT_TRUE(upOneLevel.last().at(0).toBool());
}

TEST_F(TreeCommandsTest, ASelectionStopsWhatPlays)
{
    buildTree();
    viewer.playing = true;
    select("C:\\Music\\");
    EXPECT_EQ(viewer.stops, 1);
    select("C:\\Photos\\");
    EXPECT_EQ(viewer.stops, 1); // nothing plays any more
}

TEST_F(TreeCommandsTest, ToolbarBeepsOnATreeWithOnlyItsRoot)
{
    tvALLChange(*pane, mtALL, root(mtALL));
    btnCollapseTreeViewClick(*pane);
    btnExpandTreeViewClick(*pane);
    btnUpOneLevelClick(*pane);
    ASSERT_EQ(ui.beeps.size(), 3u);
    for (platform::BeepKind b : ui.beeps)
        EXPECT_EQ(b, platform::BeepKind::Plain);
    EXPECT_EQ(current(), root(mtALL));
}

TEST_F(TreeCommandsTest, CollapseSelectsTheRoot)
{
    buildTree();
    ExpandTree(tree(mtALL));
    select("C:\\Photos\\2000\\");
    btnCollapseTreeViewClick(*pane);
    EXPECT_TRUE(ui.beeps.empty());
    EXPECT_EQ(tree(mtALL)->currentNode(), root(mtALL));
    EXPECT_EQ(current(), root(mtALL));
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "");
    EXPECT_TRUE(expanded(""));
    EXPECT_FALSE(expanded("C:\\"));
    EXPECT_FALSE(expanded("C:\\Photos\\"));
}

TEST_F(TreeCommandsTest, ExpandKeepsTheSelection)
{
    buildTree();
    CollapseTree(tree(mtALL));
    select("C:\\Music\\");
    mnuMain_View_ExpandTreeViewClick(*pane);
    EXPECT_TRUE(expanded("C:\\Photos\\"));
    EXPECT_EQ(tree(mtALL)->currentNode(), node(mtALL, "C:\\Music\\"));
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Music\\");
    mnuMain_View_CollapseTreeViewClick(*pane);
    EXPECT_EQ(current(), root(mtALL));
    EXPECT_TRUE(ui.beeps.empty());
}

TEST_F(TreeCommandsTest, UpOneLevelClimbsToTheRoot)
{
    buildTree();
    select("C:\\Photos\\2000\\");
    btnUpOneLevelClick(*pane);
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Photos\\");
    EXPECT_EQ(tree(mtALL)->currentNode(), node(mtALL, "C:\\Photos\\"));
    mnuMain_View_TreeviewUpOneLevelClick(*pane);
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\");
    btnUpOneLevelClick(*pane);
    EXPECT_EQ(current(), root(mtALL));
    // The menu item on the root has nowhere to go.
    mnuMain_View_TreeviewUpOneLevelClick(*pane);
    EXPECT_EQ(current(), root(mtALL));
    EXPECT_TRUE(ui.beeps.empty());
}

TEST_F(TreeCommandsTest, FocusFlagsFollowTheTree)
{
    buildTree();
    select("C:\\Music\\");
    QSignalSpy upOneLevel(pane, &CataloguePane::upOneLevelAvailable);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(tree(mtALL), &in);
    EXPECT_TRUE(app.st.CurrentView.TreeHasFocus);
    EXPECT_TRUE(upOneLevel.last().at(0).toBool());
    // A popup menu opening over the tree is not leaving it.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(tree(mtALL), &popup);
    EXPECT_TRUE(app.st.CurrentView.TreeHasFocus);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(tree(mtALL), &out);
    EXPECT_FALSE(app.st.CurrentView.TreeHasFocus);
    EXPECT_FALSE(upOneLevel.last().at(0).toBool());
    select("");
    QApplication::sendEvent(tree(mtALL), &in);
    EXPECT_TRUE(app.st.CurrentView.TreeHasFocus);
    EXPECT_FALSE(upOneLevel.last().at(0).toBool());
}

} // namespace
