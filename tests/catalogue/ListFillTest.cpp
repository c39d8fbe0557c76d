// Filling the lists: the drive list, a folder's sub-folders and files on the type tabs and the ALL
// tab, failures of the folder, and fills overtaken by other input during their pauses.
#include "CatalogueFixture.h"

#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "catalogue/FileLists.h"
#include "platform/drives/DirSearch.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>

class ListFillTest : public CatalogueFixture
{
protected:
    // The names of a folder's files in the order the directory search gives them.
    QStringList searchOrder(const QString &drivePath, const QStringList &keep)
    {
        QStringList out;
        platform::DirSearch s(app.drives());
        for (int code = s.findFirst(drivePath + "*.*"); code == 0; code = s.findNext())
            if (keep.contains(s.entry().name))
                out << s.entry().name;
        return out;
    }
};

TEST_F(ListFillTest, TheRootListsTheDrivesWithThePicturesOfTheirKinds)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d") + ",cdrom;E=" + folder("e") + ",network");
    start();
    addDrive(mtALL, 'C', 3);
    addDrive(mtALL, 'D', 5);
    addDrive(mtALL, 'E', 4);
    addDrive(mtALL, 'F', 1); // a kind without a picture of its own
    app.st.Selection.FileCount = 7;
    open(mtALL, root(mtALL));
    const TListView *all = list(mtALL);
    ASSERT_EQ(captions(mtALL), QStringList({"(C:)", "(D:)", "(E:)", "(F:)"}));
    EXPECT_EQ(all->item(0).image, 1);
    EXPECT_EQ(all->item(1).image, 3);
    EXPECT_EQ(all->item(2).image, 2);
    EXPECT_EQ(all->item(3).image, 5);
    for (int column = 1; column <= 3; ++column)
        EXPECT_TRUE(all->itemText(0, column).isEmpty());
    EXPECT_EQ(ItemKindOf(all, 0), ListItemKind::Drive);
    EXPECT_EQ(app.st.Selection.FileCount, 0);
    EXPECT_EQ(panel(1), "0 fichier");
    EXPECT_TRUE(panel(0).isEmpty());
}

TEST_F(ListFillTest, TheBmpTabAndTheAllTabListTheSameFolderByTheirTypes)
{
    writeFile("c/Photos/a.bmp", QByteArray(1025, 'x'));
    writeFile("c/Photos/b.jpg", "");
    writeFile("c/Photos/readme.txt");
    writeFile("c/Photos/song.midi");
    writeFile("c/Photos/Old/x.bmp");
    folder("c/Photos/z.bmp"); // a folder, whatever its name
    folder("c/Photos/Empty");
    start();
    NodeId photosBmp = addFolder(mtBMP, "C:\\Photos\\");
    addFolder(mtBMP, "C:\\Photos\\Old\\");
    NodeId photosAll = addFolder(mtALL, "C:\\Photos\\");
    addFolder(mtALL, "C:\\Photos\\Old\\");

    open(mtBMP, photosBmp);
    EXPECT_EQ(captions(mtBMP), QStringList({"Old", "a.bmp"}));
    EXPECT_EQ(app.st.Selection.FileCount, 1);
    EXPECT_EQ(panel(0), "Fichiers: *.BMP");
    EXPECT_EQ(panel(1), "1 fichier");
    const TListView *bmp = list(mtBMP);
    EXPECT_EQ(bmp->item(0).image, 6);
    EXPECT_TRUE(bmp->itemText(0, 1).isEmpty());
    EXPECT_EQ(bmp->itemText(0, 2), "Dossier");
    EXPECT_EQ(bmp->itemText(0, 3), FormatFolderDate(app, "C:\\Photos\\Old", true));
    EXPECT_FALSE(bmp->itemText(0, 3).isEmpty());
    EXPECT_EQ(bmp->item(1).image, 9);
    EXPECT_EQ(bmp->itemText(1, 1), "2 Ko");
    EXPECT_EQ(bmp->itemText(1, 2), "Image bitmap");
    EXPECT_EQ(bmp->itemText(1, 3), FormatFileDateTime(app, "C:\\Photos\\a.bmp"));
    EXPECT_FALSE(bmp->itemText(1, 3).isEmpty());

    open(mtALL, photosAll);
    const QStringList files = searchOrder("C:\\Photos\\", {"a.bmp", "b.jpg"});
    EXPECT_EQ(captions(mtALL), QStringList({"Old"}) + files);
    EXPECT_EQ(app.st.Selection.FileCount, 2);
    EXPECT_EQ(panel(0), "Fichiers: *.*");
    EXPECT_EQ(panel(1), "2 fichiers");
    EXPECT_EQ(panel(2), "Dossier sélectionné: C:\\Photos\\");
    const int jpg = rowOf(mtALL, "b.jpg");
    EXPECT_EQ(list(mtALL)->itemText(jpg, 1), "0 Ko");
    EXPECT_EQ(list(mtALL)->itemText(jpg, 2), "Image JPEG");
    EXPECT_EQ(list(mtALL)->item(jpg).image, ListImageOfFile("b.jpg"));
    EXPECT_EQ(ItemKindOf(list(mtALL), jpg), ListItemKind::File);
    EXPECT_TRUE(IsMediaItem(list(mtALL), jpg));
    EXPECT_FALSE(IsMediaItem(list(mtALL), 0));
    // The other tab's list keeps its own folder.
    EXPECT_EQ(captions(mtBMP), QStringList({"Old", "a.bmp"}));
}

TEST_F(ListFillTest, OneByteShowsOneKilobyteAndADisabledTypeIsNotListed)
{
    writeSettings({"Scan_File_GIF=0"});
    writeFile("c/M/one.wav", "x");
    writeFile("c/M/big.mid", QByteArray(3 * 1024 * 1024 + 1, 'x'));
    writeFile("c/M/anim.gif");
    start();
    open(mtALL, addFolder(mtALL, "C:\\M\\"));
    ASSERT_EQ(captions(mtALL).size(), 2);
    EXPECT_FALSE(captions(mtALL).contains("anim.gif"));
    EXPECT_EQ(list(mtALL)->itemText(rowOf(mtALL, "one.wav"), 1), "1 Ko");
    EXPECT_EQ(list(mtALL)->itemText(rowOf(mtALL, "big.mid"), 1), "3 073 Ko");
}

TEST_F(ListFillTest, AFolderDeletedAfterTheScanShowsTheAccessErrorAndKeepsItsSubFolders)
{
    writeFile("c/Photos/a.bmp");
    writeFile("c/Photos/Old/b.bmp");
    writeFile("c/Gone/c.bmp");
    start();
    NodeId photos = addFolder(mtALL, "C:\\Photos\\");
    addFolder(mtALL, "C:\\Photos\\Old\\");
    NodeId gone = addFolder(mtALL, "C:\\Gone\\");
    QDir(tmp.filePath("c/Photos")).removeRecursively();
    QDir(tmp.filePath("c/Gone")).removeRecursively();
    ui.acceptOkBoxes = true;

    open(mtALL, gone);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Erreur accès dossier:\nC:\\Gone");
    EXPECT_EQ(list(mtALL)->count(), 0);
    EXPECT_EQ(panel(1), "0 fichier");

    ui.messages.clear();
    open(mtALL, photos);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, "Erreur accès dossier:\nC:\\Photos");
    EXPECT_EQ(captions(mtALL), QStringList({"Old"}));
    EXPECT_EQ(app.st.Selection.FileCount, 0);
}

TEST_F(ListFillTest, AnEmptyDriveRootIsAnEmptyListNotAnError)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d"));
    start();
    open(mtALL, addDrive(mtALL, 'D', 3));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(list(mtALL)->count(), 0);
}

TEST_F(ListFillTest, NoListIsFilledWhileAScanBuildsTheTrees)
{
    writeFile("c/P/a.bmp");
    start();
    NodeId p = addFolder(mtALL, "C:\\P\\");
    open(mtALL, p);
    ASSERT_EQ(list(mtALL)->count(), 1);
    app.st.Selection.FileCount = 5;
    app.st.ScanRequest.Scanning = true;
    FillList(*pane, mtALL, p);
    EXPECT_EQ(app.st.Selection.FileCount, 0);
    EXPECT_EQ(list(mtALL)->count(), 1);
}

// Input that arrives while a fill lets pending messages run: here a click on another folder, queued
// once the first fill has put some of its files in the list.
class OvertakenFillTest : public ListFillTest
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 60; ++i)
            writeFile(QStringLiteral("c/Big/f%1.bmp").arg(i));
        writeFile("c/Small/s1.bmp");
        writeFile("c/Small/s2.jpg");
        start();
        big = addFolder(mtALL, "C:\\Big\\");
        small = addFolder(mtALL, "C:\\Small\\");
        bigBmp = addFolder(mtBMP, "C:\\Big\\");
        smallBmp = addFolder(mtBMP, "C:\\Small\\");
    }

    // Runs action once, at the first pause after the list of code holds at least `after` rows.
    void onceFilled(MediaType code, int after, std::function<void()> action)
    {
        auto fired = std::make_shared<bool>(false);
        TListView *filled = list(code);
        QObject::connect(filled->model(), &QAbstractItemModel::rowsInserted, filled, [=] {
            if (*fired || filled->count() < after)
                return;
            *fired = true;
            QMetaObject::invokeMethod(filled, action, Qt::QueuedConnection);
        });
    }

    NodeId big = kNoNode, small = kNoNode, bigBmp = kNoNode, smallBmp = kNoNode;
};

TEST_F(OvertakenFillTest, AClickOnAnotherFolderDuringAFillWinsCleanly)
{
    bool ran = false;
    onceFilled(mtALL, 11, [&] {
        ran = true;
        open(mtALL, small);
    });
    open(mtALL, big);
    ASSERT_TRUE(ran);
    EXPECT_EQ(captions(mtALL), searchOrder("C:\\Small\\", {"s1.bmp", "s2.jpg"}));
    EXPECT_EQ(app.st.Selection.FileCount, 2);
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Small\\");
    EXPECT_EQ(app.st.CurrentView.CurrentNode, small);
    EXPECT_EQ(panel(1), "2 fichiers");
    EXPECT_TRUE(list(mtALL)->updatesEnabled());
}

TEST_F(OvertakenFillTest, AFillOfAnotherTabLeavesTheInterruptedListEmpty)
{
    onceFilled(mtALL, 11, [&] { open(mtBMP, smallBmp); });
    open(mtALL, big);
    EXPECT_EQ(captions(mtBMP), QStringList({"s1.bmp"}));
    EXPECT_EQ(list(mtALL)->count(), 0);
    EXPECT_EQ(app.st.Selection.FileCount, 1);
    EXPECT_TRUE(list(mtALL)->updatesEnabled());
    // Coming back to the tab fills its list again.
    open(mtALL, big);
    EXPECT_EQ(list(mtALL)->count(), 60);
    EXPECT_EQ(app.st.Selection.FileCount, 60);
}

TEST_F(OvertakenFillTest, ACatalogueResetDuringAFillStopsIt)
{
    onceFilled(mtALL, 11, [&] { ResetCatalogue(*pane); });
    open(mtALL, big);
    EXPECT_EQ(list(mtALL)->count(), 0);
    EXPECT_EQ(tree(mtALL)->model()->rowCount(), 1);
    EXPECT_EQ(store().childCount(root(mtALL)), 0);
}

TEST_F(OvertakenFillTest, TheFirstPauseAlreadyGivesWay)
{
    // Queued before the fill starts: it runs in the fill's very first pause, before any row.
    QMetaObject::invokeMethod(
        host.get(), [&] { open(mtALL, small); }, Qt::QueuedConnection);
    open(mtALL, big);
    EXPECT_EQ(list(mtALL)->count(), 2);
    EXPECT_EQ(app.st.Selection.FileCount, 2);
}
