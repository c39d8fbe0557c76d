// The tree change handler, its status texts, the collapse / expand / up-one-level commands with the
// toolbar's beep rules, and the focus flags.
#include "ScanTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QToolButton>

namespace {

class TreeCommandsTest : public ScanFixture
{
protected:
    void SetUp() override
    {
        start();
        ui.acceptOkBoxes = true;
    }
    QTreeWidgetItem *root() const { return tree(0)->topLevelItem(0); }
    QTreeWidgetItem *node(const QString &path) const
    {
        for (QTreeWidgetItemIterator it(tree(0)); *it; ++it)
            if (PathOfNode(*it) == path)
                return *it;
        return nullptr;
    }
    // The user selects a node of the ALL tree.
    void select(const QString &path) { tree(0)->setCurrentItem(node(path)); }
    QString panel(int n) const { return main->StatusPanels[n]->text(); }
    void buildTree()
    {
        for (const char *f : {"c/Photos/2000/a.bmp", "c/Photos/b.bmp", "c/Music/x.mid"})
            writeFile(QString::fromLatin1(f));
        for (const char *f : {"C:\\Photos\\2000\\", "C:\\Photos\\", "C:\\Music\\"})
            AddFolderToTree(app, 0, QString::fromLatin1(f));
    }
};

TEST_F(TreeCommandsTest, RootSelectedEmptiesTheFolderPanels)
{
    buildTree();
    select("C:\\Photos\\");
    select("");
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "");
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root());
    EXPECT_EQ(app.st.CurrentView.CurrentTree, tree(0));
    EXPECT_EQ(panel(0), "");
    EXPECT_EQ(panel(1), "0 fichier");
    EXPECT_EQ(panel(2), "");
    EXPECT_FALSE(main->btnUpOneLevel->isEnabled());
}

TEST_F(TreeCommandsTest, FolderSelectedFillsTheFolderPanels)
{
    buildTree();
    select("C:\\Photos\\2000\\");
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Photos\\2000\\");
    EXPECT_EQ(panel(0), "Fichiers: *.*");
    EXPECT_EQ(panel(2), "Dossier sélectionné: C:\\Photos\\2000\\");
    EXPECT_TRUE(main->btnUpOneLevel->isEnabled());
}

TEST_F(TreeCommandsTest, ToolbarBeepsOnATreeWithOnlyItsRoot)
{
    tvALLChange(app, tree(0), root());
    main->btnCollapseTreeView->click();
    main->btnExpandTreeView->click();
    btnUpOneLevelClick(app);
    ASSERT_EQ(ui.beeps.size(), 3u);
    for (platform::BeepKind b : ui.beeps)
        EXPECT_EQ(b, platform::BeepKind::Plain);
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root());
}

TEST_F(TreeCommandsTest, CollapseSelectsTheRoot)
{
    buildTree();
    ExpandTree(tree(0));
    select("C:\\Photos\\2000\\");
    main->btnCollapseTreeView->click();
    EXPECT_TRUE(ui.beeps.empty());
    EXPECT_EQ(tree(0)->currentItem(), root());
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root());
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "");
    EXPECT_TRUE(root()->isExpanded());
    EXPECT_FALSE(node("C:\\")->isExpanded());
    EXPECT_FALSE(node("C:\\Photos\\")->isExpanded());
}

TEST_F(TreeCommandsTest, ExpandKeepsTheSelection)
{
    buildTree();
    CollapseTree(tree(0));
    select("C:\\Music\\");
    main->action("mnuMain_View_ExpandTreeView")->trigger();
    EXPECT_TRUE(node("C:\\Photos\\")->isExpanded());
    EXPECT_EQ(tree(0)->currentItem(), node("C:\\Music\\"));
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Music\\");
    // The popup's items act like the menu's.
    main->action("popmnuTV_CollapseTreeView")->trigger();
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root());
    EXPECT_TRUE(ui.beeps.empty());
}

TEST_F(TreeCommandsTest, UpOneLevelClimbsToTheRoot)
{
    buildTree();
    select("C:\\Photos\\2000\\");
    main->btnUpOneLevel->click();
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Photos\\");
    EXPECT_EQ(tree(0)->currentItem(), node("C:\\Photos\\"));
    main->action("mnuMain_View_TreeviewUpOneLevel")->trigger();
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\");
    main->btnUpOneLevel->click();
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root());
    EXPECT_FALSE(main->btnUpOneLevel->isEnabled());
    // The menu item on the root has nowhere to go.
    main->action("mnuMain_View_TreeviewUpOneLevel")->trigger();
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root());
    EXPECT_TRUE(ui.beeps.empty());
}

TEST_F(TreeCommandsTest, FocusFlagsFollowTheTree)
{
    buildTree();
    select("C:\\Music\\");
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(tree(0), &in);
    EXPECT_TRUE(app.st.CurrentView.TreeHasFocus);
    EXPECT_TRUE(main->btnUpOneLevel->isEnabled());
    // A popup menu opening over the tree is not leaving it.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(tree(0), &popup);
    EXPECT_TRUE(app.st.CurrentView.TreeHasFocus);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(tree(0), &out);
    EXPECT_FALSE(app.st.CurrentView.TreeHasFocus);
    EXPECT_FALSE(main->btnUpOneLevel->isEnabled());
    select("");
    QApplication::sendEvent(tree(0), &in);
    EXPECT_TRUE(app.st.CurrentView.TreeHasFocus);
    EXPECT_FALSE(main->btnUpOneLevel->isEnabled());
}

} // namespace
