// Find as you type in the catalogue pane, typed and clicked as a person does: the results of each
// tab, their folder column and count, and the folder's list brought back, selection included, by
// Escape, by emptying the field, or left for good by a click in the tree.
#include "CatalogueFixture.h"

#include "catalogue/CatalogueSearch.h"
#include "catalogue/ScanCommands.h"
#include "support/UserInput.h"

#include <QLineEdit>
#include <QTest>
#include <QTreeView>

namespace {

class SearchPaneTest : public CatalogueFixture
{
protected:
    // C:\Photos\2003\ and C:\Sons\ and D:\Été\, scanned with the real scan window; the pane shown.
    void startScanned()
    {
        setDrives("C=" + folder("c") + ";D=" + folder("d"));
        writeFile("c/Photos/2003/photo 10.jpg", "1234567890");
        writeFile("c/Photos/2003/photo 2.jpg", "12");
        writeFile("c/Photos/2003/Été 2003.bmp", "123");
        writeFile("c/Photos/2003/notes.txt", "not a media file");
        writeFile("c/Sons/photo.wav", "1");
        writeFile("d/Été/Photo 1.bmp", "1");
        start({"Wiew_When_Click_ListView=1", "Show_Non_Empty_Tabs=0"});
        runScanWindowForReal();
        RunScan(*pane);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        QCoreApplication::processEvents();
    }
    QLineEdit *field() const { return pane->search->field(); }
    QAbstractItemView *view(MediaType t) const { return list(t)->activeView(); }
    // A click on the node of a folder in the tree of the tab on show, then on a row of its list.
    void click(QAbstractItemView *v, const QString &text)
    {
        ASSERT_TRUE(user::clickRow(v, text)) << qPrintable(text);
    }
    void clickTab(MediaType t)
    {
        QTest::mouseClick(pane->pcMain->tab(pane->pcMain->indexOf(pane->sheet(t))), Qt::LeftButton);
    }
    // Types into the field and waits for the list to show the results of what was typed.
    void type(const QString &text)
    {
        QTest::mouseClick(field(), Qt::LeftButton);
        QTest::keyClicks(field(), text);
        waitForResults();
    }
    void waitForResults()
    {
        const MediaType t = app.st.CurrentView.CurrentType;
        // The last keystroke's results: nothing is waited for any more.
        QTRY_VERIFY_WITH_TIMEOUT(list(t)->model()->showsSource() && !pane->search->pending(), 5000);
    }
    // Each row as "name | size | type | folder".
    QStringList rows(MediaType t) const
    {
        QStringList out;
        const TListView *l = list(t);
        for (int row = 0; row < l->count(); ++row)
            out << QStringList{l->itemText(row, 0), l->itemText(row, 1), l->itemText(row, 4)}.join(" | ");
        return out;
    }
};

} // namespace

TEST_F(SearchPaneTest, TypingListsTheCatalogueFilesWhoseNamesMatchWithTheirFolders)
{
    startScanned();
    EXPECT_EQ(field()->objectName(), "edtSearch");
    EXPECT_EQ(field()->accessibleName(), "Rechercher");
    EXPECT_EQ(field()->placeholderText(), "Rechercher");
    EXPECT_EQ(field()->parentWidget(), pane->pnlList[0]);
    type("photo");
    EXPECT_EQ(rows(mtALL).join('\n').toStdString(), "Photo 1.bmp | 1 Ko | D:\\Été\\\n"
                                                    "photo 2.jpg | 1 Ko | C:\\Photos\\2003\\\n"
                                                    "photo 10.jpg | 1 Ko | C:\\Photos\\2003\\\n"
                                                    "photo.wav | 1 Ko | C:\\Sons\\");
    EXPECT_EQ(list(mtALL)->model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "Dossier");
    EXPECT_EQ(panel(1), "4 fichiers");
    EXPECT_FALSE(list(mtALL)->itemText(1, 3).isEmpty()); // the time, read for the rows shown
    // Another word narrows the results.
    QTest::keyClicks(field(), " 1");
    waitForResults();
    EXPECT_EQ(captions(mtALL), QStringList({"Photo 1.bmp", "photo 10.jpg"}));
    // Accents and case do not matter.
    QTest::keyClick(field(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field(), "ETE");
    waitForResults();
    EXPECT_EQ(rows(mtALL).join('\n').toStdString(), "Été 2003.bmp | 1 Ko | C:\\Photos\\2003\\");
    EXPECT_EQ(panel(1), "1 fichier");
}

TEST_F(SearchPaneTest, ATypeTabListsThatTypeOnlyAndTheFieldFollowsTheTab)
{
    startScanned();
    clickTab(mtJPG);
    ASSERT_EQ(app.st.CurrentView.CurrentType, mtJPG);
    EXPECT_EQ(field()->parentWidget(), pane->pnlList[size_t(code(mtJPG))]);
    type("photo");
    EXPECT_EQ(rows(mtJPG).join('\n').toStdString(),
              "photo 2.jpg | 1 Ko | C:\\Photos\\2003\\\nphoto 10.jpg | 1 Ko | C:\\Photos\\2003\\");
    EXPECT_EQ(panel(1), "2 fichiers");
    // Another tab searches its own type with the same text; the JPG list is its folder's again.
    clickTab(mtBMP);
    waitForResults();
    EXPECT_EQ(field()->text(), "photo");
    EXPECT_EQ(rows(mtBMP).join('\n').toStdString(), "Photo 1.bmp | 1 Ko | D:\\Été\\");
    EXPECT_FALSE(list(mtJPG)->model()->showsSource());
    EXPECT_EQ(panel(1), "1 fichier");
    clickTab(mtALL);
    waitForResults();
    EXPECT_EQ(rows(mtALL).size(), 4);
}

TEST_F(SearchPaneTest, EscapeBringsBackTheFolderListWithItsSelection)
{
    startScanned();
    click(pane->tree(mtALL), "2003");
    click(view(mtALL), "photo 2.jpg");
    const QStringList folderList = captions(mtALL);
    const int row = rowOf(mtALL, "photo 2.jpg");
    ASSERT_EQ(app.st.Selection.Item, row);
    const QString count = panel(1);
    type("1");
    ASSERT_EQ(captions(mtALL), QStringList({"Photo 1.bmp", "photo 10.jpg"}));
    // A result clicked is the file on view, in its own folder.
    const int plays = viewer.plays;
    click(view(mtALL), "Photo 1.bmp");
    EXPECT_EQ(viewer.plays, plays + 1);
    EXPECT_EQ(app.st.Selection.FileName, "Photo 1.bmp");
    EXPECT_EQ(app.st.Selection.FileFolder, "D:\\Été\\");
    EXPECT_EQ(SelectionFolder(app.st), "D:\\Été\\");

    QTest::mouseClick(field(), Qt::LeftButton);
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_TRUE(field()->text().isEmpty());
    EXPECT_EQ(captions(mtALL), folderList);
    EXPECT_TRUE(list(mtALL)->isSelected(row));
    EXPECT_EQ(list(mtALL)->selectedCount(), 1);
    EXPECT_EQ(list(mtALL)->currentItem(), row);
    EXPECT_EQ(app.st.Selection.Item, row);
    EXPECT_EQ(app.st.Selection.FileName, "photo 2.jpg");
    EXPECT_EQ(app.st.Selection.FileFolder, "C:\\Photos\\2003\\");
    EXPECT_EQ(list(mtALL)->columnCount(), 4);
    EXPECT_EQ(panel(1), count);
    // The file selected again is shown again, as a click would show it.
    EXPECT_EQ(viewer.plays, plays + 2);
    EXPECT_FALSE(app.st.CurrentView.SearchShown);
    EXPECT_TRUE(list(mtALL)->activeView()->hasFocus());
}

TEST_F(SearchPaneTest, EmptyingTheFieldRestoresAndAClickInTheTreeEndsTheSearch)
{
    startScanned();
    click(pane->tree(mtALL), "Sons");
    const QStringList sons = captions(mtALL);
    type("2");
    EXPECT_EQ(captions(mtALL), QStringList({"Été 2003.bmp", "photo 2.jpg"}));
    QTest::keyClick(field(), Qt::Key_Backspace);
    QTRY_VERIFY_WITH_TIMEOUT(!list(mtALL)->model()->showsSource(), 2000);
    EXPECT_EQ(captions(mtALL), sons);
    // Blanks alone are no search.
    QTest::keyClicks(field(), "   ");
    QTest::qWait(50);
    EXPECT_FALSE(list(mtALL)->model()->showsSource());
    type("photo");
    ASSERT_EQ(captions(mtALL).size(), 4);
    click(pane->tree(mtALL), "2003");
    EXPECT_TRUE(field()->text().isEmpty());
    EXPECT_FALSE(app.st.CurrentView.SearchShown);
    EXPECT_EQ(captions(mtALL).size(), 3);
    EXPECT_TRUE(captions(mtALL).contains("Été 2003.bmp"));
    EXPECT_EQ(list(mtALL)->columnCount(), 4);
}

TEST_F(SearchPaneTest, ARescanLeavesTheSearchAndTheNextOneSeesTheNewCatalogue)
{
    startScanned();
    // Prepared once the scan is done, before any key.
    QTRY_VERIFY_WITH_TIMEOUT(pane->search->engine().prepared(), 5000);
    type("photo");
    ASSERT_EQ(captions(mtALL).size(), 4);
    writeFile("c/Sons/photo nouvelle.wav", "1");
    RunScan(*pane);
    QTRY_VERIFY_WITH_TIMEOUT(pane->search->engine().prepared(), 5000);
    EXPECT_FALSE(list(mtALL)->model()->showsSource());
    EXPECT_TRUE(field()->text().isEmpty());
    type("nouvelle");
    EXPECT_EQ(rows(mtALL).join('\n').toStdString(), "photo nouvelle.wav | 1 Ko | C:\\Sons\\");
}
