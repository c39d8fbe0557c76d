// The tree builder and the store under it: node paths, kinds and pictures, the order of siblings,
// folders that share a path with the one added before, the model views see, expand and collapse.
#include "CatalogueFixture.h"

#include "app/Artwork.h"
#include "catalogue/store/FolderTreeModel.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <algorithm>

namespace {

class TreeBuilderTest : public CatalogueFixture
{
protected:
    void SetUp() override { startStore(); }
    QStringList childNames(NodeId n) const
    {
        QStringList names;
        for (int i = 0; i < store().childCount(n); ++i)
            names << store().name(store().child(n, i));
        return names;
    }
    NodeId drive(MediaType t = mtALL) const { return store().child(root(t), 0); }
};

TEST_F(TreeBuilderTest, OneRootPerEnabledTree)
{
    for (MediaType t : kAllTypes) {
        ASSERT_NE(root(t), kNoNode) << code(t);
        EXPECT_EQ(store().name(root(t)), "Poste de travail");
        EXPECT_EQ(store().kind(root(t)), NodeKind::MyComputer);
        EXPECT_EQ(store().picture(root(t)), 16);
        EXPECT_EQ(store().selectedPicture(root(t)), 17);
        EXPECT_EQ(store().parent(root(t)), kNoNode);
    }
}

TEST_F(TreeBuilderTest, FolderOnTheWayBecomesMediaFolderWhateverTheOrder)
{
    AddFolderToTree(cat, mtALL, "C:\\Photos\\2000\\");
    EXPECT_EQ(shape(mtALL), QStringList({"C:\\ 3", "C:\\Photos\\ 14", "C:\\Photos\\2000\\ 18"}));
    EXPECT_EQ(store().kind(node(mtALL, "C:\\Photos\\")), NodeKind::Folder);
    AddFolderToTree(cat, mtALL, "C:\\Photos\\");
    const QStringList expected{"C:\\ 3", "C:\\Photos\\ 18", "C:\\Photos\\2000\\ 18"};
    EXPECT_EQ(shape(mtALL), expected);
    EXPECT_EQ(store().kind(node(mtALL, "C:\\Photos\\")), NodeKind::MediaFolder);

    AddFolderToTree(cat, mtBMP, "C:\\Photos\\");
    AddFolderToTree(cat, mtBMP, "C:\\Photos\\2000\\");
    EXPECT_EQ(shape(mtBMP), expected);
    // A media folder never goes back to a folder on the way.
    AddFolderToTree(cat, mtBMP, "C:\\Photos\\2000\\Old\\");
    const NodeId photos = FindChildNode(store(), drive(mtBMP), "Photos");
    EXPECT_EQ(store().kind(photos), NodeKind::MediaFolder);
    EXPECT_EQ(store().picture(photos), 18);
    EXPECT_EQ(store().selectedPicture(photos), 19);
}

TEST_F(TreeBuilderTest, NamesCompareExactly)
{
    AddFolderToTree(cat, mtALL, "C:\\Photos\\2000\\");
    AddFolderToTree(cat, mtALL, "C:\\PHOTOS\\");
    AddFolderToTree(cat, mtALL, "C:\\Photos\\2000\\");
    // Two folders of a case-sensitive disk stay two nodes; each keeps its own files.
    EXPECT_EQ(shape(mtALL),
              QStringList({"C:\\ 3", "C:\\PHOTOS\\ 18", "C:\\Photos\\ 14", "C:\\Photos\\2000\\ 18"}));
    // The drive letter too: (c:) is another node than (C:).
    AddFolderToTree(cat, mtALL, "c:\\Photos\\");
    EXPECT_EQ(childNames(root(mtALL)), QStringList({"(C:)", "(c:)"}));
}

TEST_F(TreeBuilderTest, DriveRootIsTheDriveNodeWithDrivePictures)
{
    app.st.Disks[4].DriveType = 5;
    AddFolderToTree(cat, mtGIF, "D:\\");
    ASSERT_EQ(store().childCount(root(mtGIF)), 1);
    const NodeId d = drive(mtGIF);
    EXPECT_EQ(store().name(d), "(D:)");
    EXPECT_EQ(store().kind(d), NodeKind::Drive);
    EXPECT_EQ(store().picture(d), 5);
    EXPECT_EQ(store().selectedPicture(d), 12);
    EXPECT_EQ(store().childCount(d), 0);
    // Files found deeper later leave the drive's pictures alone.
    AddFolderToTree(cat, mtGIF, "D:\\Gifs\\");
    EXPECT_EQ(store().kind(d), NodeKind::Drive);
    EXPECT_EQ(store().picture(d), 5);
    EXPECT_EQ(PathOfNode(store(), d), "D:\\");
}

TEST_F(TreeBuilderTest, SiblingsSortedCaseInsensitively)
{
    for (const char *name : {"beta", "Delta", "10", "gamma", "Alpha", "_x", "9", "alpha"})
        AddFolderToTree(cat, mtALL, QStringLiteral("C:\\%1\\").arg(QLatin1String(name)));
    EXPECT_EQ(childNames(drive()),
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
        AddFolderToTree(cat, mtALL, "C:\\" + n + "\\");
    for (const QString &n : shuffled)
        AddFolderToTree(cat, mtALL, "C:\\" + n + "\\"); // found again, not added again
    EXPECT_EQ(childNames(drive()), names);
    for (int row = 0; row < names.size(); ++row) {
        const NodeId n = FindChildNode(store(), drive(), names[row]);
        ASSERT_NE(n, kNoNode) << names[row].toStdString();
        ASSERT_EQ(store().row(n), row);
    }
    EXPECT_EQ(FindChildNode(store(), drive(), "f0001"), kNoNode);
}

// Each folder is walked from the last one's nodes as far as both agree: every kind of neighbour
// must still land where a walk from the root would have put it.
TEST_F(TreeBuilderTest, NeighbourFoldersShareOnlyWhatTheyReallyShare)
{
    const char *const folders[] = {
        "C:\\ab\\c\\",    "C:\\ab\\",      "C:\\abc\\",   "C:\\ab\\c\\d\\", "C:\\ab\\cd\\",
        "C:\\a\\",        "D:\\ab\\c\\",   "C:\\ab\\c\\", "C:\\ab\\\\c\\",  "C:\\Ab\\c\\",
        "C:\\ab\\c\\d\\", "C:\\é\\ü\\Ω\\", "C:\\é\\ü\\",  "C:\\",           "C:\\ab\\c",
    };
    for (const char *f : folders)
        AddFolderToTree(cat, mtALL, QString::fromUtf8(f));
    // Each folder added alone to an empty tree is walked from the root: together they must give
    // the same nodes.
    QStringList alone;
    Catalogue one(app);
    for (const char *f : folders) {
        one.store.clear();
        one.store.addRoot(mtALL, u"Poste de travail");
        one.store.addFolder(mtALL, QString::fromUtf8(f), 3);
        one.store.forEachNode(mtALL, [&](NodeId n) { alone << one.store.pathOf(n); });
    }
    alone.removeDuplicates();
    QStringList together;
    store().forEachNode(mtALL, [&](NodeId n) { together << store().pathOf(n); });
    std::sort(alone.begin(), alone.end());
    std::sort(together.begin(), together.end());
    EXPECT_EQ(together, alone);
    // The media folders: the last folder of each path (a drive root names none; a doubled or
    // missing backslash changes nothing).
    QStringList media = mediaFolders(mtALL);
    std::sort(media.begin(), media.end());
    QStringList expected;
    for (const char *f : {"C:\\ab\\c\\", "C:\\ab\\", "C:\\abc\\", "C:\\ab\\c\\d\\", "C:\\ab\\cd\\", "C:\\a\\",
                          "D:\\ab\\c\\", "C:\\Ab\\c\\", "C:\\é\\ü\\Ω\\", "C:\\é\\ü\\"})
        expected << QString::fromUtf8(f);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(media, expected);
    EXPECT_NE(node(mtALL, "C:\\Ab\\c\\"), node(mtALL, "C:\\ab\\c\\"));
    EXPECT_EQ(store().name(node(mtALL, QString::fromUtf8("C:\\é\\ü\\Ω\\"))), QString::fromUtf8("Ω"));
}

TEST_F(TreeBuilderTest, PathOfNode)
{
    AddFolderToTree(cat, mtALL, "C:\\Photos\\2000\\");
    EXPECT_EQ(PathOfNode(store(), root(mtALL)), "");
    EXPECT_EQ(PathOfNode(store(), drive()), "C:\\");
    EXPECT_EQ(PathOfNode(store(), store().child(store().child(drive(), 0), 0)), "C:\\Photos\\2000\\");
    EXPECT_EQ(PathOfNode(store(), kNoNode), "");
}

TEST_F(TreeBuilderTest, ResetEmptiesEveryTreeAndGivesTheMemoryBack)
{
    for (int i = 0; i < 2000; ++i)
        AddFolderToTree(cat, mtALL, QStringLiteral("C:\\a%1\\b\\c\\").arg(i));
    const size_t full = store().memoryBytes();
    EXPECT_GT(store().nodeCount(), 6000u);
    ResetCatalogueStore(cat);
    EXPECT_LT(store().memoryBytes(), full / 20);
    EXPECT_EQ(nodeCount(mtALL), 1);
    EXPECT_EQ(app.st.CurrentView.CurrentNode, kNoNode);
}

// A view sees each tree as it was when a batch began, then the whole tree at once.
TEST_F(TreeBuilderTest, TheModelShowsABatchOnlyWhenItEnds)
{
    FolderTreeModel model(cat.store, mtALL, &app.images().treeView);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    AddFolderToTree(cat, mtALL, "C:\\before\\");
    EXPECT_EQ(resets.count(), 1);
    const QModelIndex top = model.index(0, 0);
    ASSERT_TRUE(top.isValid());
    EXPECT_EQ(model.data(top, Qt::DisplayRole).toString(), "Poste de travail");
    EXPECT_EQ(model.rowCount(top), 1);

    cat.store.beginBatch();
    for (int i = 0; i < 50; ++i)
        AddFolderToTree(cat, mtALL, QStringLiteral("D:\\x%1\\").arg(i));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0); // frozen: the root alone
    EXPECT_FALSE(model.index(0, 0, model.index(0, 0)).isValid());
    cat.store.endBatch();
    EXPECT_EQ(resets.count(), 3); // the batch's start and end, not one per folder

    const QModelIndex home = model.index(0, 0);
    ASSERT_EQ(model.rowCount(home), 2);
    const QModelIndex d = model.index(1, 0, home);
    EXPECT_EQ(model.data(d, Qt::DisplayRole).toString(), "(D:)");
    EXPECT_EQ(model.rowCount(d), 50);
    const QModelIndex x7 = model.index(7 + 0, 0, d);
    EXPECT_EQ(model.parent(x7), d);
    EXPECT_EQ(model.indexOf(model.nodeOf(x7)), x7);
    EXPECT_FALSE(model.data(x7, Qt::DecorationRole).value<QIcon>().isNull());
    // A node of another tree has no index here.
    EXPECT_FALSE(model.indexOf(root(mtBMP)).isValid());
}

TEST_F(TreeBuilderTest, MediaFolderAndContentFacts)
{
    EXPECT_FALSE(TreeHasContent(cat)); // nothing current
    AddFolderToTree(cat, mtALL, "C:\\Photos\\2000\\");
    app.st.CurrentView.CurrentTree = mtALL;
    app.st.CurrentView.CurrentNode = root(mtALL);
    EXPECT_TRUE(TreeHasContent(cat));
    EXPECT_FALSE(IsMediaFolderNode(cat));
    app.st.CurrentView.CurrentNode = node(mtALL, "C:\\Photos\\");
    EXPECT_FALSE(IsMediaFolderNode(cat)); // Photos: on the way only
    app.st.CurrentView.CurrentNode = node(mtALL, "C:\\Photos\\2000\\");
    EXPECT_TRUE(IsMediaFolderNode(cat));
    app.st.CurrentView.CurrentTree = mtMID;
    app.st.CurrentView.CurrentNode = root(mtMID);
    EXPECT_FALSE(TreeHasContent(cat));
}

class TreeViewTest : public CatalogueFixture
{
};

TEST_F(TreeViewTest, CollapseShowsDrivesExpandShowsEverything)
{
    start();
    for (const char *f : {"C:\\a\\b\\c\\", "C:\\d\\", "D:\\e\\f\\"})
        AddFolderToTree(cat, mtALL, QString::fromLatin1(f));
    TFolderTreeView *t = tree(mtALL);
    ExpandTree(t);
    store().forEachNode(mtALL, [&](NodeId n) {
        if (store().childCount(n) > 0) {
            EXPECT_TRUE(t->isNodeExpanded(n)) << store().pathOf(n).toStdString();
        }
    });
    CollapseTree(t);
    EXPECT_TRUE(t->isNodeExpanded(root(mtALL)));
    store().forEachNode(mtALL, [&](NodeId n) {
        if (n != root(mtALL)) {
            EXPECT_FALSE(t->isNodeExpanded(n)) << store().pathOf(n).toStdString();
        }
    });
}

TEST_F(TreeViewTest, AllTreesExpandOnlyWhenEnabled)
{
    start();
    AddFolderToTree(cat, mtBMP, "C:\\a\\b\\");
    AddFolderToTree(cat, mtJPG, "C:\\a\\b\\");
    app.st.TabSheets[mtJPG].Enabled = false;
    ExpandAllTrees(*pane);
    EXPECT_TRUE(tree(mtBMP)->isNodeExpanded(node(mtBMP, "C:\\a\\")));
    EXPECT_FALSE(tree(mtJPG)->isNodeExpanded(node(mtJPG, "C:\\")));
    app.st.TabSheets[mtJPG].Enabled = true;
    CollapseAllTrees(*pane);
    EXPECT_TRUE(tree(mtBMP)->isNodeExpanded(root(mtBMP)));
    EXPECT_FALSE(tree(mtBMP)->isNodeExpanded(node(mtBMP, "C:\\")));
}

// A tree not on screen is expanded when it is shown, not before: twelve hidden trees would each
// keep a record of every expanded node.
TEST_F(TreeViewTest, HiddenTreesExpandWhenShown)
{
    start();
    for (int i = 0; i < 20; ++i)
        AddFolderToTree(cat, mtWAV, QStringLiteral("C:\\m%1\\n\\").arg(i));
    host->show();
    TFolderTreeView *t = tree(mtWAV);
    ASSERT_FALSE(t->isVisible());
    ExpandTree(t);
    EXPECT_FALSE(t->isExpanded(t->folderModel()->indexOf(root(mtWAV))));
    pane->pcMain->setTabVisible(pane->pcMain->indexOf(pane->sheet(mtWAV)), true);
    pane->pcMain->setCurrentWidget(pane->sheet(mtWAV));
    ASSERT_TRUE(t->isVisible());
    EXPECT_TRUE(t->isExpanded(t->folderModel()->indexOf(node(mtWAV, "C:\\m7\\"))));
}

} // namespace
