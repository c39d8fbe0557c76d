// The tree builder, node paths and pictures, the order of siblings, expand and collapse.
#include "ScanTestSupport.h"

#include "catalogue/MediaTypes.h"

#include <QRandomGenerator>
#include <algorithm>

namespace {

class TreeBuilderTest : public ScanFixture
{
protected:
    void SetUp() override { start(); }
    QTreeWidgetItem *root(int code = 0) const { return tree(code)->topLevelItem(0); }
    QStringList childTexts(const QTreeWidgetItem *node) const
    {
        QStringList texts;
        for (int i = 0; i < node->childCount(); ++i)
            texts << node->child(i)->text(0);
        return texts;
    }
};

TEST_F(TreeBuilderTest, OneRootPerEnabledTree)
{
    for (int code = 0; code <= 12; ++code) {
        ASSERT_EQ(tree(code)->topLevelItemCount(), 1) << code;
        EXPECT_EQ(root(code)->text(0), "Poste de travail");
        EXPECT_EQ(NodeImage(root(code)), 16);
        EXPECT_EQ(NodeSelectedImage(root(code)), 17);
    }
}

TEST_F(TreeBuilderTest, FolderOnTheWayBecomesMediaFolderWhateverTheOrder)
{
    AddFolderToTree(app, 0, "C:\\Photos\\2000\\");
    EXPECT_EQ(shape(tree(0)), QStringList({"C:\\ 3", "C:\\Photos\\ 14", "C:\\Photos\\2000\\ 18"}));
    AddFolderToTree(app, 0, "C:\\Photos\\");
    const QStringList expected{"C:\\ 3", "C:\\Photos\\ 18", "C:\\Photos\\2000\\ 18"};
    EXPECT_EQ(shape(tree(0)), expected);

    AddFolderToTree(app, 3, "C:\\Photos\\");
    AddFolderToTree(app, 3, "C:\\Photos\\2000\\");
    EXPECT_EQ(shape(tree(3)), expected);
    // A media folder never goes back to the plain folder picture.
    AddFolderToTree(app, 3, "C:\\Photos\\2000\\Old\\");
    EXPECT_EQ(NodeImage(FindChildNode(root(3)->child(0), "Photos")), 18);
    EXPECT_EQ(NodeSelectedImage(FindChildNode(root(3)->child(0), "Photos")), 19);
}

TEST_F(TreeBuilderTest, NamesCompareExactly)
{
    AddFolderToTree(app, 0, "C:\\Photos\\2000\\");
    AddFolderToTree(app, 0, "C:\\PHOTOS\\");
    AddFolderToTree(app, 0, "C:\\Photos\\2000\\");
    // Two folders of a case-sensitive disk stay two nodes; each keeps its own files.
    EXPECT_EQ(shape(tree(0)),
              QStringList({"C:\\ 3", "C:\\PHOTOS\\ 18", "C:\\Photos\\ 14", "C:\\Photos\\2000\\ 18"}));
    // The drive letter too: (c:) is another node than (C:).
    AddFolderToTree(app, 0, "c:\\Photos\\");
    EXPECT_EQ(childTexts(root()), QStringList({"(C:)", "(c:)"}));
}

TEST_F(TreeBuilderTest, DriveRootIsTheDriveNodeWithDrivePictures)
{
    app.st.Disks[4].DriveType = 5;
    AddFolderToTree(app, 7, "D:\\");
    ASSERT_EQ(root(7)->childCount(), 1);
    const QTreeWidgetItem *drive = root(7)->child(0);
    EXPECT_EQ(drive->text(0), "(D:)");
    EXPECT_EQ(NodeImage(drive), 5);
    EXPECT_EQ(NodeSelectedImage(drive), 12);
    EXPECT_EQ(drive->childCount(), 0);
    // Files found deeper later leave the drive's pictures alone.
    AddFolderToTree(app, 7, "D:\\Gifs\\");
    EXPECT_EQ(NodeImage(drive), 5);
    EXPECT_EQ(PathOfNode(drive), "D:\\");
}

TEST_F(TreeBuilderTest, SiblingsSortedCaseInsensitively)
{
    for (const char *name : {"beta", "Delta", "10", "gamma", "Alpha", "_x", "9", "alpha"})
        AddFolderToTree(app, 0, QStringLiteral("C:\\%1\\").arg(QLatin1String(name)));
    EXPECT_EQ(childTexts(root()->child(0)),
              QStringList({"10", "9", "_x", "Alpha", "alpha", "beta", "Delta", "gamma"}));
}

TEST_F(TreeBuilderTest, ManySiblingsInAnyOrder)
{
    QStringList names;
    for (int i = 0; i < 3000; ++i)
        names << QStringLiteral("F%1").arg(i, 4, 10, QLatin1Char('0'));
    QStringList shuffled = names;
    std::shuffle(shuffled.begin(), shuffled.end(), *QRandomGenerator::global());
    for (const QString &n : shuffled)
        AddFolderToTree(app, 0, "C:\\" + n + "\\");
    for (const QString &n : shuffled)
        AddFolderToTree(app, 0, "C:\\" + n + "\\"); // found again, not added again
    const QTreeWidgetItem *drive = root()->child(0);
    EXPECT_EQ(childTexts(drive), names);
    for (const QString &n : names)
        ASSERT_NE(FindChildNode(drive, n), nullptr) << n.toStdString();
    EXPECT_EQ(FindChildNode(drive, "f0001"), nullptr);
}

TEST_F(TreeBuilderTest, PathOfNode)
{
    AddFolderToTree(app, 0, "C:\\Photos\\2000\\");
    const QTreeWidgetItem *drive = root()->child(0);
    EXPECT_EQ(PathOfNode(root()), "");
    EXPECT_EQ(PathOfNode(drive), "C:\\");
    EXPECT_EQ(PathOfNode(drive->child(0)->child(0)), "C:\\Photos\\2000\\");
    EXPECT_EQ(PathOfNode(nullptr), "");
}

TEST_F(TreeBuilderTest, CollapseShowsDrivesExpandShowsEverything)
{
    AddFolderToTree(app, 0, "C:\\a\\b\\c\\");
    AddFolderToTree(app, 0, "C:\\d\\");
    AddFolderToTree(app, 0, "D:\\e\\f\\");
    QTreeWidget *t = tree(0);
    ExpandTree(t);
    for (QTreeWidgetItemIterator it(t); *it; ++it) {
        if ((*it)->childCount() > 0) {
            EXPECT_TRUE((*it)->isExpanded()) << PathOfNode(*it).toStdString();
        }
    }
    CollapseTree(t);
    EXPECT_TRUE(root()->isExpanded());
    for (QTreeWidgetItemIterator it(t); *it; ++it) {
        if ((*it)->parent()) {
            EXPECT_FALSE((*it)->isExpanded()) << PathOfNode(*it).toStdString();
        }
    }
}

TEST_F(TreeBuilderTest, AllTreesExpandOnlyWhenEnabled)
{
    AddFolderToTree(app, 3, "C:\\a\\b\\");
    AddFolderToTree(app, 4, "C:\\a\\b\\");
    app.st.TabSheets[4].Enabled = false;
    ExpandAllTrees(app);
    EXPECT_TRUE(root(3)->child(0)->child(0)->isExpanded());
    EXPECT_FALSE(root(4)->child(0)->isExpanded());
    app.st.TabSheets[4].Enabled = true;
    CollapseAllTrees(app);
    EXPECT_TRUE(root(3)->isExpanded());
    EXPECT_FALSE(root(3)->child(0)->isExpanded());
}

TEST_F(TreeBuilderTest, MediaFolderAndContentFacts)
{
    EXPECT_FALSE(TreeHasContent(app)); // nothing current
    AddFolderToTree(app, 0, "C:\\Photos\\2000\\");
    app.st.CurrentView.CurrentTree = tree(0);
    app.st.CurrentView.CurrentNode = root();
    EXPECT_TRUE(TreeHasContent(app));
    EXPECT_FALSE(IsMediaFolderNode(app));
    app.st.CurrentView.CurrentNode = root()->child(0)->child(0);
    EXPECT_FALSE(IsMediaFolderNode(app)); // Photos: on the way only
    app.st.CurrentView.CurrentNode = root()->child(0)->child(0)->child(0);
    EXPECT_TRUE(IsMediaFolderNode(app));
    app.st.CurrentView.CurrentTree = tree(5);
    app.st.CurrentView.CurrentNode = root(5);
    EXPECT_FALSE(TreeHasContent(app));
}

} // namespace
