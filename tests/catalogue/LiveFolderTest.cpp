// The live follow of the listed folder: what another program does there shows in the list within
// about a second, the file on view stays selected (unless it is the one deleted), and the trees, the
// tabs and the drive's counts follow.
#include "CatalogueFixture.h"

#include "catalogue/CatalogueSearch.h"
#include "catalogue/KeptCatalogueCommands.h"
#include "catalogue/LiveFolder.h"
#include "catalogue/ScanCommands.h"
#include "platform/watch/FolderWatch.h"

#include <QLineEdit>
#include <QTest>

namespace {

class LiveFolderTest : public CatalogueFixture
{
protected:
    void SetUp() override
    {
        writeFile("c/Photos/a.bmp", "12345");
        writeFile("c/Photos/b.jpg", "12");
        writeFile("c/Other/x.gif", "1");
        start();
        pane->liveFolder->watch().setSettleMilliseconds(20);
        runScanWindowForReal();
        RunScan(*pane);
        ASSERT_EQ(app.st.Disks[3].FileCount, 3);
    }
    QString native(const QString &rel) const { return tmp.filePath("c/" + rel); }
    // Waits for the list of a type to show a caption (or no longer to show it).
    bool listShows(MediaType t, const QString &caption, bool shown = true)
    {
        return QTest::qWaitFor([&] { return captions(t).contains(caption) == shown; }, 3000);
    }
    QString sizeText(MediaType t, const QString &caption) const
    {
        const int row = rowOf(t, caption);
        return row < 0 ? QString() : list(t)->itemText(row, 1);
    }
    QString selectedCaption(MediaType t) const
    {
        for (int row = 0; row < list(t)->count(); ++row)
            if (list(t)->isSelected(row))
                return list(t)->item(row).caption;
        return {};
    }
};

} // namespace

TEST_F(LiveFolderTest, FilesMadeChangedAndDeletedByAnotherProgramShowWithoutLosingTheFileOnView)
{
    open(mtALL, node(mtALL, "C:\\Photos\\"));
    EXPECT_EQ(pane->liveFolder->watchedFolder(), "C:\\Photos\\");
    QStringList listed = captions(mtALL);
    listed.sort();
    ASSERT_EQ(listed, (QStringList{"a.bmp", "b.jpg"}));
    pane->selectItem(rowOf(mtALL, "a.bmp"));
    ASSERT_EQ(app.st.Selection.FileName, "a.bmp");
    viewer.playing = true;
    const int emptyPagesBefore = viewer.emptyPages;

    writeFile("c/Photos/new.bmp", "123456789");
    ASSERT_TRUE(listShows(mtALL, "new.bmp"));
    EXPECT_EQ(selectedCaption(mtALL), "a.bmp");
    EXPECT_EQ(app.st.Selection.FileName, "a.bmp");
    EXPECT_EQ(app.st.Selection.Item, rowOf(mtALL, "a.bmp"));
    EXPECT_EQ(viewer.stops, 0);
    EXPECT_EQ(viewer.emptyPages, emptyPagesBefore);
    EXPECT_EQ(panel(1), "3 fichiers");
    EXPECT_EQ(app.st.Disks[3].FileCount, 4);
    EXPECT_EQ(app.st.Disks[3].FileBytes, 5 + 2 + 1 + 9);

    // Rewritten with another size: the row says so.
    EXPECT_EQ(sizeText(mtALL, "b.jpg"), "1 Ko");
    {
        QFile f(native("Photos/b.jpg"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(3000, 'x'));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return sizeText(mtALL, "b.jpg") == "3 Ko"; }, 3000));
    EXPECT_EQ(app.st.Disks[3].FileBytes, 5 + 3000 + 1 + 9);

    // Renamed.
    ASSERT_TRUE(QFile::rename(native("Photos/new.bmp"), native("Photos/renamed.bmp")));
    ASSERT_TRUE(listShows(mtALL, "renamed.bmp"));
    EXPECT_FALSE(captions(mtALL).contains("new.bmp"));
    EXPECT_EQ(selectedCaption(mtALL), "a.bmp");

    // The file on view deleted: nothing is on view any more.
    ASSERT_TRUE(QFile::remove(native("Photos/a.bmp")));
    ASSERT_TRUE(listShows(mtALL, "a.bmp", false));
    EXPECT_EQ(viewer.stops, 1);
    EXPECT_GT(viewer.emptyPages, emptyPagesBefore);
    EXPECT_EQ(app.st.Selection.Item, -1);
    EXPECT_EQ(app.st.Disks[3].FileCount, 3);
    EXPECT_TRUE(cat.changedSinceKept);

    // Only the listed folder is watched: nothing for My computer.
    open(mtALL, root(mtALL));
    EXPECT_EQ(pane->liveFolder->watchedFolder(), QString());
}

TEST_F(LiveFolderTest, TreesAndTabsFollowAFolderGainingAndLosingTypes)
{
    open(mtALL, node(mtALL, "C:\\Photos\\"));
    EXPECT_FALSE(tabShown(mtWAV));
    writeFile("c/Photos/song.wav", "12");
    ASSERT_TRUE(listShows(mtALL, "song.wav"));
    EXPECT_EQ(mediaFolders(mtWAV), QStringList{"C:\\Photos\\"});
    EXPECT_TRUE(tabShown(mtWAV));

    // The only JPEG goes: the JPG tree is left with its root, and its tab goes.
    ASSERT_TRUE(QFile::remove(native("Photos/b.jpg")));
    ASSERT_TRUE(listShows(mtALL, "b.jpg", false));
    EXPECT_EQ(nodeCount(mtJPG), 1);
    EXPECT_FALSE(tabShown(mtJPG));
    EXPECT_EQ(mediaFolders(mtALL), (QStringList{"C:\\Other\\", "C:\\Photos\\"}));
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Photos\\");

    // Kept on exit with the scan's date, and back at the next start with the live changes.
    const QStringList shapes = shape(mtWAV);
    ASSERT_TRUE(KeepChangedCatalogue(cat));
    EXPECT_FALSE(KeepChangedCatalogue(cat)); // nothing new since
    ResetCatalogue(*pane);
    forgetIndex();
    ASSERT_TRUE(RestoreKeptCatalogue(*pane));
    EXPECT_EQ(shape(mtWAV), shapes);
    EXPECT_EQ(nodeCount(mtJPG), 1);
}

TEST_F(LiveFolderTest, TheListedFolderLeavingItsTreeShowsTheNearestFolderThatStays)
{
    writeFile("c/Photos/Deep/c.bmp", "1");
    RunScan(*pane);
    pane->pcMain->setCurrentWidget(pane->sheet(mtBMP));
    open(mtBMP, node(mtBMP, "C:\\Photos\\Deep\\"));
    ASSERT_EQ(captions(mtBMP), QStringList{"c.bmp"});
    ASSERT_TRUE(QFile::remove(native("Photos/Deep/c.bmp")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.st.CurrentView.CurrentFolder == "C:\\Photos\\"; }, 3000));
    EXPECT_EQ(mediaFolders(mtBMP), QStringList{"C:\\Photos\\"});
    EXPECT_EQ(captions(mtBMP), QStringList{"a.bmp"});
    EXPECT_EQ(tree(mtBMP)->currentNode(), node(mtBMP, "C:\\Photos\\"));
    EXPECT_EQ(pane->liveFolder->watchedFolder(), "C:\\Photos\\");

    // Photos loses its last bitmap too: the drive goes with it, the tree keeps its root.
    ASSERT_TRUE(QFile::remove(native("Photos/a.bmp")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return nodeCount(mtBMP) == 1; }, 3000));
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, QString());
}

TEST_F(LiveFolderTest, ALiveChangeKeepsTheBranchesTheUserOpenedAndClosed)
{
    writeFile("c/Other/Sub/y.gif", "1");
    writeFile("c/Music/Old/s.wav", "1");
    writeFile("c/Music/New/t.wav", "1");
    RunScan(*pane);
    TFolderTreeView *view = tree(mtALL);
    CollapseTree(view);
    view->setFocus();
    // Opened by hand with the keyboard: Music; Other (which has a subfolder) stays closed.
    const NodeId drive = cat.store.parent(node(mtALL, "C:\\Music\\"));
    view->setCurrentNodeQuietly(drive);
    QTest::keyClick(view, Qt::Key_Right);
    view->setCurrentNodeQuietly(node(mtALL, "C:\\Music\\"));
    QTest::keyClick(view, Qt::Key_Right);
    ASSERT_TRUE(view->isNodeExpanded(node(mtALL, "C:\\Music\\")));
    ASSERT_FALSE(view->isNodeExpanded(node(mtALL, "C:\\Other\\")));

    open(mtALL, node(mtALL, "C:\\Music\\New\\"));
    ASSERT_TRUE(QFile::remove(native("Music/New/t.wav")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.st.CurrentView.CurrentFolder == "C:\\Music\\"; }, 3000));
    EXPECT_EQ(node(mtALL, "C:\\Music\\New\\"), kNoNode);
    EXPECT_TRUE(view->isNodeExpanded(node(mtALL, "C:\\Music\\")));
    EXPECT_FALSE(view->isNodeExpanded(node(mtALL, "C:\\Other\\")));
    EXPECT_EQ(view->currentNode(), node(mtALL, "C:\\Music\\"));
}

// Typed into the search field as a person does: what another program did in the listed folder is
// found at once (and kept), the results on show follow it, and the other folders' files keep their
// names, sizes and folders.
TEST_F(LiveFolderTest, TheSearchFindsWhatAnotherProgramDidInTheListedFolder)
{
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    QLineEdit *field = pane->search->field();
    // The whole text replaced by what is typed; the rows as "name | size | folder".
    const auto find = [&](const QString &text) {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return list(mtALL)->model()->showsSource() && !pane->search->pending(); }, 5000));
        QStringList out;
        for (int row = 0; row < list(mtALL)->count(); ++row)
            out << QStringList{list(mtALL)->itemText(row, 0), list(mtALL)->itemText(row, 1),
                               list(mtALL)->itemText(row, 4)}
                       .join(" | ");
        return out;
    };
    const auto escape = [&] {
        QTest::keyClick(field, Qt::Key_Escape);
        ASSERT_FALSE(pane->search->active());
    };
    open(mtALL, node(mtALL, "C:\\Photos\\"));
    EXPECT_EQ(find("new"), QStringList());
    escape();

    // Made by another program while the folder's list is on show.
    writeFile("c/Photos/new.bmp", "123456789");
    ASSERT_TRUE(listShows(mtALL, "new.bmp"));
    EXPECT_EQ(find("new"), QStringList{"new.bmp | 1 Ko | C:\\Photos\\"});
    // A file of another folder, after the changed one in the index, is still itself.
    EXPECT_EQ(find("x.gif"), QStringList{"x.gif | 1 Ko | C:\\Other\\"});
    escape();
    EXPECT_EQ(captions(mtALL).size(), 3);

    // Renamed: found under its new name only.
    ASSERT_TRUE(QFile::rename(native("Photos/new.bmp"), native("Photos/renamed.bmp")));
    ASSERT_TRUE(listShows(mtALL, "renamed.bmp"));
    EXPECT_EQ(find("new"), QStringList());
    EXPECT_EQ(find("renamed"), QStringList{"renamed.bmp | 1 Ko | C:\\Photos\\"});

    // While the results are on show, they follow: a new match joins them, in natural order, and a
    // file rewritten shows its new size.
    writeFile("c/Photos/renamed 10.bmp", "1");
    writeFile("c/Photos/renamed 2.bmp", QByteArray(3000, 'x'));
    EXPECT_TRUE(QTest::qWaitFor([&] { return captions(mtALL).size() == 3; }, 3000));
    EXPECT_EQ(captions(mtALL), (QStringList{"renamed 2.bmp", "renamed 10.bmp", "renamed.bmp"}));
    EXPECT_EQ(list(mtALL)->itemText(0, 1), "3 Ko");
    EXPECT_TRUE(pane->search->active());
    ASSERT_TRUE(QFile::remove(native("Photos/renamed 10.bmp")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return captions(mtALL).size() == 2; }, 3000));
    EXPECT_EQ(captions(mtALL), (QStringList{"renamed 2.bmp", "renamed.bmp"}));
    escape();

    // Deleted by another program: no longer found. A file that is no media file stays out.
    ASSERT_TRUE(QFile::remove(native("Photos/b.jpg")));
    writeFile("c/Photos/notes.txt", "not a media file");
    ASSERT_TRUE(listShows(mtALL, "b.jpg", false));
    EXPECT_EQ(find("b.jpg"), QStringList());
    EXPECT_EQ(find("notes"), QStringList());
    EXPECT_EQ(find("bmp").size(), 3);
    escape();
    // The next rescan still reads the folder: its time is unknown.
    const int64_t photos = cat.index.findFolder("C:\\Photos\\");
    ASSERT_GE(photos, 0);
    EXPECT_EQ(cat.index.folder(uint32_t(photos)).timeNs, 0);

    // Kept on exit with the new file list, and found again after the next start.
    ASSERT_TRUE(KeepChangedCatalogue(cat));
    cat.writer.wait();
    forgetIndex();
    ResetCatalogue(*pane);
    ASSERT_TRUE(RestoreKeptCatalogue(*pane));
    EXPECT_EQ(find("renamed"),
              (QStringList{"renamed 2.bmp | 3 Ko | C:\\Photos\\", "renamed.bmp | 1 Ko | C:\\Photos\\"}));
    EXPECT_EQ(find("b.jpg"), QStringList());
    EXPECT_EQ(find("x.gif"), QStringList{"x.gif | 1 Ko | C:\\Other\\"});
    // And a rescan agrees with what the live follow made.
    escape();
    RunScan(*pane);
    EXPECT_EQ(find("renamed").size(), 2);
    EXPECT_EQ(app.st.Disks[3].FileCount, 4);
}
