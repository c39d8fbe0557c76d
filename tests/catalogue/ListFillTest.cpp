// Filling the lists: the drive list, a folder's sub-folders and files on the type tabs and the ALL
// tab, failures of the folder, and fills overtaken by other input during their pauses.
#include "ListTestFixture.h"

#include "catalogue/MediaTypes.h"
#include "platform/drives/DirSearch.h"
#include "shell/Libry.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>

class ListFillTest : public ListTestFixture
{
protected:
    // The names of a folder's files in the order the directory search gives them.
    QStringList searchOrder(const QString &drivePath, const QStringList &keep)
    {
        QStringList out;
        platform::DirSearch s;
        for (int code = s.findFirst(drivePath + "*.*"); code == 0; code = s.findNext())
            if (keep.contains(s.entry().name))
                out << s.entry().name;
        return out;
    }
};

TEST_F(ListFillTest, TheRootListsTheDrivesWithThePicturesOfTheirKinds)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d") + ",cdrom;E=" + folder("e") + ",network");
    createMain();
    addDrive(0, 'C', 3);
    addDrive(0, 'D', 5);
    addDrive(0, 'E', 4);
    addDrive(0, 'F', 1); // a kind without a picture of its own
    app.st.Selection.FileCount = 7;
    open(0, root(0));
    const TListView *list = main->lvALL();
    ASSERT_EQ(captions(0), QStringList({"(C:)", "(D:)", "(E:)", "(F:)"}));
    EXPECT_EQ(list->item(0).image, 1);
    EXPECT_EQ(list->item(1).image, 3);
    EXPECT_EQ(list->item(2).image, 2);
    EXPECT_EQ(list->item(3).image, 5);
    for (int column = 1; column <= 3; ++column)
        EXPECT_TRUE(list->itemText(0, column).isEmpty());
    EXPECT_EQ(ItemKindOf(list, 0), 0);
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
    createMain();
    QTreeWidgetItem *photosBmp = addFolder(mtBMP, "C:\\Photos\\");
    addFolder(mtBMP, "C:\\Photos\\Old\\");
    QTreeWidgetItem *photosAll = addFolder(mtALL, "C:\\Photos\\");
    addFolder(mtALL, "C:\\Photos\\Old\\");

    open(mtBMP, photosBmp);
    EXPECT_EQ(captions(mtBMP), QStringList({"Old", "a.bmp"}));
    EXPECT_EQ(app.st.Selection.FileCount, 1);
    EXPECT_EQ(panel(0), "Fichiers: *.BMP");
    EXPECT_EQ(panel(1), "1 fichier");
    const TListView *bmp = main->lv[mtBMP];
    EXPECT_EQ(bmp->item(0).image, 6);
    EXPECT_TRUE(bmp->itemText(0, 1).isEmpty());
    EXPECT_EQ(bmp->itemText(0, 2), "Dossier");
    EXPECT_EQ(bmp->itemText(0, 3), FormatFolderDate(app, "C:\\Photos\\Old", true));
    EXPECT_FALSE(bmp->itemText(0, 3).isEmpty());
    EXPECT_EQ(bmp->item(1).image, 9);
    EXPECT_EQ(bmp->itemText(1, 1), "2 Ko");
    EXPECT_EQ(bmp->itemText(1, 2), "Image bitmap");
    EXPECT_EQ(bmp->itemText(1, 3), FormatFileDateTime("C:\\Photos\\a.bmp"));
    EXPECT_FALSE(bmp->itemText(1, 3).isEmpty());

    open(mtALL, photosAll);
    const QStringList files = searchOrder("C:\\Photos\\", {"a.bmp", "b.jpg"});
    EXPECT_EQ(captions(mtALL), QStringList({"Old"}) + files);
    EXPECT_EQ(app.st.Selection.FileCount, 2);
    EXPECT_EQ(panel(0), "Fichiers: *.*");
    EXPECT_EQ(panel(1), "2 fichiers");
    EXPECT_EQ(panel(2), "Dossier sélectionné: C:\\Photos\\");
    const int jpg = rowOf(mtALL, "b.jpg");
    EXPECT_EQ(main->lvALL()->itemText(jpg, 1), "0 Ko");
    EXPECT_EQ(main->lvALL()->itemText(jpg, 2), "Image JPEG");
    EXPECT_EQ(main->lvALL()->item(jpg).image, ListImageOfFile("b.jpg"));
    EXPECT_EQ(ItemKindOf(main->lvALL(), jpg), 2);
    EXPECT_TRUE(IsMediaItem(main->lvALL(), jpg));
    EXPECT_FALSE(IsMediaItem(main->lvALL(), 0));
    // The other tab's list keeps its own folder.
    EXPECT_EQ(captions(mtBMP), QStringList({"Old", "a.bmp"}));
}

TEST_F(ListFillTest, OneByteShowsOneKilobyteAndADisabledTypeIsNotListed)
{
    writeSettings({"Scan_File_GIF=0"});
    writeFile("c/M/one.wav", "x");
    writeFile("c/M/big.mid", QByteArray(3 * 1024 * 1024 + 1, 'x'));
    writeFile("c/M/anim.gif");
    createMain();
    open(mtALL, addFolder(mtALL, "C:\\M\\"));
    ASSERT_EQ(captions(mtALL).size(), 2);
    EXPECT_FALSE(captions(mtALL).contains("anim.gif"));
    EXPECT_EQ(main->lvALL()->itemText(rowOf(mtALL, "one.wav"), 1), "1 Ko");
    EXPECT_EQ(main->lvALL()->itemText(rowOf(mtALL, "big.mid"), 1), "3 073 Ko");
}

TEST_F(ListFillTest, AFolderDeletedAfterTheScanShowsTheAccessErrorAndKeepsItsSubFolders)
{
    writeFile("c/Photos/a.bmp");
    writeFile("c/Photos/Old/b.bmp");
    writeFile("c/Gone/c.bmp");
    createMain();
    QTreeWidgetItem *photos = addFolder(mtALL, "C:\\Photos\\");
    addFolder(mtALL, "C:\\Photos\\Old\\");
    QTreeWidgetItem *gone = addFolder(mtALL, "C:\\Gone\\");
    QDir(tmp.filePath("c/Photos")).removeRecursively();
    QDir(tmp.filePath("c/Gone")).removeRecursively();
    ui.acceptOkBoxes = true;

    open(mtALL, gone);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Erreur accès dossier:\nC:\\Gone");
    EXPECT_EQ(main->lvALL()->count(), 0);
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
    createMain();
    open(mtALL, addDrive(mtALL, 'D', 3));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(main->lvALL()->count(), 0);
}

TEST_F(ListFillTest, NoListIsFilledWhileAScanBuildsTheTrees)
{
    writeFile("c/P/a.bmp");
    createMain();
    QTreeWidgetItem *p = addFolder(mtALL, "C:\\P\\");
    open(mtALL, p);
    ASSERT_EQ(main->lvALL()->count(), 1);
    app.st.Selection.FileCount = 5;
    app.st.ScanRequest.Scanning = true;
    FillList(app, main->tvALL(), p);
    EXPECT_EQ(app.st.Selection.FileCount, 0);
    EXPECT_EQ(main->lvALL()->count(), 1);
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
        createMain();
        big = addFolder(mtALL, "C:\\Big\\");
        small = addFolder(mtALL, "C:\\Small\\");
        bigBmp = addFolder(mtBMP, "C:\\Big\\");
        smallBmp = addFolder(mtBMP, "C:\\Small\\");
    }

    // Runs action once, at the first pause after the list of code holds at least `after` rows.
    void onceFilled(int code, int after, std::function<void()> action)
    {
        auto fired = std::make_shared<bool>(false);
        TListView *list = main->lv[code];
        QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, [=] {
            if (*fired || list->count() < after)
                return;
            *fired = true;
            QMetaObject::invokeMethod(list, action, Qt::QueuedConnection);
        });
    }

    QTreeWidgetItem *big = nullptr, *small = nullptr, *bigBmp = nullptr, *smallBmp = nullptr;
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
    EXPECT_TRUE(main->lvALL()->updatesEnabled());
}

TEST_F(OvertakenFillTest, AFillOfAnotherTabLeavesTheInterruptedListEmpty)
{
    onceFilled(mtALL, 11, [&] { open(mtBMP, smallBmp); });
    open(mtALL, big);
    EXPECT_EQ(captions(mtBMP), QStringList({"s1.bmp"}));
    EXPECT_EQ(main->lvALL()->count(), 0);
    EXPECT_EQ(app.st.Selection.FileCount, 1);
    EXPECT_TRUE(main->lvALL()->updatesEnabled());
    // Coming back to the tab fills its list again.
    open(mtALL, big);
    EXPECT_EQ(main->lvALL()->count(), 60);
    EXPECT_EQ(app.st.Selection.FileCount, 60);
}

TEST_F(OvertakenFillTest, ACatalogueResetDuringAFillStopsIt)
{
    onceFilled(mtALL, 11, [&] { ResetCatalogue(app); });
    open(mtALL, big);
    EXPECT_EQ(main->lvALL()->count(), 0);
    EXPECT_EQ(main->tvALL()->topLevelItemCount(), 1);
    EXPECT_EQ(root(mtALL)->childCount(), 0);
}

TEST_F(OvertakenFillTest, TheFirstPauseAlreadyGivesWay)
{
    // Queued before the fill starts: it runs in the fill's very first pause, before any row.
    QMetaObject::invokeMethod(
        main.get(), [&] { open(mtALL, small); }, Qt::QueuedConnection);
    open(mtALL, big);
    EXPECT_EQ(main->lvALL()->count(), 2);
    EXPECT_EQ(app.st.Selection.FileCount, 2);
}
