// Find as you type in the main window, reached as a person does (Ctrl+F, View > Find..., keys typed
// in the field, clicks on the results), and every command on a result acting on the file in its own
// folder: the viewer and its moves, properties (the real window, closed by Escape), copy, save as,
// delete to the Trash, execute and the list's popup menu.
#include "ShellFixture.h"

#include "catalogue/CatalogueSearch.h"
#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "components/TPicture.h"
#include "support/UserInput.h"
#include "viewers/View_BMP.h"

#include <QAction>
#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <sys/stat.h>
#include <thread>

namespace {

QByteArray bmp(QRgb colour)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

class SearchCommandsTest : public ShellFixture
{
protected:
    SearchCommandsTest() : m_dataHome(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.filePath("data")));
    }
    ~SearchCommandsTest() override { qputenv("XDG_DATA_HOME", m_dataHome); }

    // Three "carte" pictures in three folders, and the folder Images\ listed with rouge.bmp selected.
    void startScanned()
    {
        writeSettings({"First_Time=0", "Scan_Type=1", "Starting_Folder=C:\\", "Wiew_When_Click_ListView=1"});
        writeFile("c/Images/rouge.bmp", bmp(qRgb(255, 0, 0)));
        writeFile("c/Images/carte 1.bmp", bmp(qRgb(1, 1, 1)));
        writeFile("c/Sons/carte 2.bmp", bmp(qRgb(2, 2, 2)));
        writeFile("c/Images/Autres/carte 10.bmp", bmp(qRgb(3, 3, 3)));
        ui.onModal("frmScanDisks", [](QDialog *d) { return d->exec(); });
        createMain();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        QTest::mouseClick(main->btnScanDrives, Qt::LeftButton);
        ASSERT_TRUE(user::windowManagerActivates(main.get()));
        ASSERT_TRUE(user::clickRow(pane().tree(mtALL), "Images"));
        ASSERT_TRUE(user::clickRow(listView(), "rouge.bmp"));
    }
    QAbstractItemView *listView() const { return pane().list(mtALL)->activeView(); }
    QLineEdit *field() const { return pane().search->field(); }
    // Ctrl+F, then the text typed; waits for the results.
    void find(const QString &text)
    {
        user::pressKey(main.get(), Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(field()->hasFocus()) << user::focusDescription().toStdString();
        QTest::keyClicks(field(), text);
        QTRY_VERIFY_WITH_TIMEOUT(pane().list(mtALL)->model()->showsSource() && !pane().search->pending(),
                                 5000);
    }
    QString viewed() const { return app.st.Viewed[mtBMP].Path; }
    void click(const QString &text) { ASSERT_TRUE(user::clickRow(listView(), text)) << qPrintable(text); }
    void menu(QMenu *m, QAction *a) { user::chooseFromMenuBar(main->menuBar(), m, a); }
    QAction *action(const char *name) const { return main->findChild<QAction *>(QString::fromLatin1(name)); }
    QStringList captions() const
    {
        QStringList out;
        for (int row = 0; row < pane().list(mtALL)->count(); ++row)
            out << pane().list(mtALL)->item(row).caption;
        return out;
    }

private:
    QByteArray m_dataHome;
};

} // namespace

TEST_F(SearchCommandsTest, ResultsAreShownAndWalkedAcrossTheirFolders)
{
    startScanned();
    EXPECT_EQ(viewed(), "C:\\Images\\rouge.bmp");
    // View > Find... puts the focus in the field as Ctrl+F does.
    // View > Find... is the item whose shortcut Ctrl+F is.
    QAction *findItem = main->menus.mnuMain_View_Find;
    EXPECT_EQ(findItem->text(), "Rec&hercher...");
    EXPECT_EQ(findItem->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    EXPECT_TRUE(main->mnuMain_View->actions().contains(findItem));
    find("carte");
    EXPECT_EQ(captions(), QStringList({"carte 1.bmp", "carte 2.bmp", "carte 10.bmp"}));
    EXPECT_EQ(app.status->statusText(1), "3 fichiers");
    click("carte 2.bmp");
    QTRY_COMPARE(viewed(), QString("C:\\Sons\\carte 2.bmp"));
    menu(main->mnuMain_Play, main->menus.NextFile);
    QTRY_COMPARE(viewed(), QString("C:\\Images\\Autres\\carte 10.bmp"));
    menu(main->mnuMain_Play, main->menus.mnuMain_Play_FirstFile);
    QTRY_COMPARE(viewed(), QString("C:\\Images\\carte 1.bmp"));
    menu(main->mnuMain_Play, main->menus.LastFile);
    QTRY_COMPARE(viewed(), QString("C:\\Images\\Autres\\carte 10.bmp"));
    menu(main->mnuMain_Play, main->menus.mnuMain_Play_PreviousFile);
    QTRY_COMPARE(viewed(), QString("C:\\Sons\\carte 2.bmp"));
    // Escape in the field: the folder's list again, rouge.bmp selected and shown again.
    QTest::mouseClick(field(), Qt::LeftButton);
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_TRUE(captions().contains("rouge.bmp"));
    EXPECT_EQ(app.st.Selection.FileName, "rouge.bmp");
    EXPECT_TRUE(pane().list(mtALL)->isSelected(captions().indexOf("rouge.bmp")));
    QTRY_COMPARE(viewed(), QString("C:\\Images\\rouge.bmp"));
}

TEST_F(SearchCommandsTest, PropertiesCopyAndSaveAsActOnTheResultInItsFolder)
{
    startScanned();
    find("carte 2");
    click("carte 2.bmp");
    QString title;
    ui.onModal("frmProperty_File", [&title](QDialog *d) {
        user::whenModalShows([](QWidget *w) { user::pressKey(w, Qt::Key_Escape); });
        const int result = d->exec();
        title = d->windowTitle();
        return result;
    });
    menu(main->mnuMain_File, main->menus.mnuMain_File_Properties);
    ASSERT_TRUE(user::windowManagerActivates(main.get()));
    EXPECT_EQ(title.toStdString(), "Propriétés de carte 2.bmp");

    // The user's next click is on the result again (the closed window left the focus elsewhere).
    click("carte 2.bmp");
    ui.answerSaveFile(tmp.filePath("copie.bmp"));
    menu(main->mnuMain_File, main->menus.mnuMain_File_Copy1FileSelected);
    ASSERT_EQ(ui.saveRequests.size(), 1u);
    EXPECT_EQ(ui.saveRequests[0].startPath, tmp.filePath("c/Sons/carte 2.bmp"));
    EXPECT_EQ(QFileInfo(tmp.filePath("copie.bmp")).size(),
              QFileInfo(tmp.filePath("c/Sons/carte 2.bmp")).size());

    // The viewer's Save as (its popup, opened on the picture) saves what it shows.
    ui.answerSaveFile(tmp.filePath("vue.bmp"));
    TViewPageBMP *page = viewer().page<TViewPageBMP>(mtBMP);
    user::rightClick(page->picBMP, QPoint(2, 2));
    ASSERT_TRUE(main->popmnuViewFile->isVisible());
    QAction *saveAs = action("popmnuVF_SaveFile");
    ASSERT_TRUE(saveAs && saveAs->isEnabled());
    QTest::mouseClick(main->popmnuViewFile, Qt::LeftButton, {},
                      main->popmnuViewFile->actionGeometry(saveAs).center());
    ASSERT_EQ(ui.saveRequests.size(), 2u);
    EXPECT_EQ(ui.saveRequests[1].startPath, tmp.filePath("c/Sons/carte 2.bmp"));
    EXPECT_TRUE(QFile::exists(tmp.filePath("vue.bmp")));
    // Still the results: copying elsewhere changed nothing in them.
    EXPECT_EQ(captions(), QStringList({"carte 2.bmp"}));
}

TEST_F(SearchCommandsTest, TheDeleteKeyMovesTheResultToTheTrashAndTheResultDisappears)
{
    startScanned();
    find("carte");
    click("carte 10.bmp");
    QTRY_COMPARE(viewed(), QString("C:\\Images\\Autres\\carte 10.bmp"));
    ui.answerMessage(platform::mbYes);
    user::pressKey(main.get(), Qt::Key_Delete);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("carte 10.bmp"));
    EXPECT_FALSE(QFile::exists(tmp.filePath("c/Images/Autres/carte 10.bmp")));
    EXPECT_TRUE(QFile::exists(tmp.filePath("c/Images/carte 1.bmp")));
    EXPECT_EQ(captions(), QStringList({"carte 1.bmp", "carte 2.bmp"}));
    EXPECT_EQ(app.status->statusText(1), "2 fichiers");
    EXPECT_EQ(app.st.Selection.Item, -1);
    // The catalogue forgot it: a new search does not find it either.
    QTest::keyClick(field(), Qt::Key_Escape);
    find("10");
    EXPECT_TRUE(captions().isEmpty());
    EXPECT_EQ(app.status->statusText(1), "0 fichier");
}

TEST_F(SearchCommandsTest, ThePopupMenuAndExecuteActOnTheResult)
{
    // A desktop of the test's own: one application, a script recording what it was given.
    for (const char *name : {"XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        qputenv(name, QFile::encodeName(folder(QString("xdg/") + name)));
    ASSERT_TRUE(QFile::link("/usr/share/mime", tmp.filePath("xdg/XDG_DATA_DIRS/mime")));
    const QByteArray opened = QFile::encodeName(tmp.filePath("opened"));
    writeFile("viewer.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + opened + ".part\" && mv \"" + opened +
                               ".part\" \"" + opened + "\"\n");
    ::chmod(QFile::encodeName(tmp.filePath("viewer.sh")), 0755);
    writeFile("data/applications/test-viewer.desktop",
              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" +
                  QFile::encodeName(tmp.filePath("viewer.sh")) + " %f\nMimeType=image/bmp;\n");
    writeFile("xdg/XDG_CONFIG_HOME/mimeapps.list", "[Default Applications]\nimage/bmp=test-viewer.desktop\n");

    startScanned();
    find("carte");
    click("carte 2.bmp");
    menu(main->mnuMain_File, main->menus.mnuMain_File_Execute);
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(tmp.filePath("opened")) && timer.elapsed() < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QFile out(tmp.filePath("opened"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QFile::encodeName(tmp.filePath("c/Sons/carte 2.bmp")) + '\n');

    // A right click on a result: its popup, and Properties from it.
    QString title;
    ui.onModal("frmProperty_File", [&title](QDialog *d) {
        user::whenModalShows([](QWidget *w) { user::pressKey(w, Qt::Key_Escape); });
        const int result = d->exec();
        title = d->windowTitle();
        return result;
    });
    const QModelIndex second = pane().list(mtALL)->model()->index(1, 0);
    user::rightClick(listView()->viewport(), listView()->visualRect(second).center());
    ASSERT_TRUE(main->popmnuListView->isVisible());
    EXPECT_EQ(app.st.Selection.FileName, "carte 2.bmp"); // the right button keeps the file on view
    QAction *properties = main->menus.popmnuLV_Properties;
    ASSERT_TRUE(properties->isEnabled());
    QTest::mouseClick(main->popmnuListView, Qt::LeftButton, {},
                      main->popmnuListView->actionGeometry(properties).center());
    ASSERT_TRUE(user::windowManagerActivates(main.get()));
    EXPECT_EQ(title.toStdString(), "Propriétés de carte 2.bmp");
}

TEST_F(SearchCommandsTest, WhatAnotherProgramDoesInTheListedFolderIsFoundByCtrlF)
{
    startScanned();
    const auto leave = [this] {
        QTest::keyClick(field(), Qt::Key_Escape);
        ASSERT_FALSE(pane().search->active());
    };
    // Another program copies a file into Images\, deletes one and renames another.
    writeFile("c/Images/carte 3.bmp", bmp(qRgb(4, 4, 4)));
    QTRY_VERIFY_WITH_TIMEOUT(captions().contains("carte 3.bmp"), 3000);
    find("carte");
    EXPECT_EQ(captions(), QStringList({"carte 1.bmp", "carte 2.bmp", "carte 3.bmp", "carte 10.bmp"}));
    leave();
    ASSERT_TRUE(QFile::remove(tmp.filePath("c/Images/carte 1.bmp")));
    ASSERT_TRUE(QFile::rename(tmp.filePath("c/Images/rouge.bmp"), tmp.filePath("c/Images/carte rouge.bmp")));
    QTRY_VERIFY_WITH_TIMEOUT(captions().contains("carte rouge.bmp") && !captions().contains("carte 1.bmp"),
                             3000);
    find("carte");
    EXPECT_EQ(captions(), QStringList({"carte 2.bmp", "carte 3.bmp", "carte 10.bmp", "carte rouge.bmp"}));
    leave();
    find("rouge");
    EXPECT_EQ(captions(), QStringList{"carte rouge.bmp"});
    // The result is the file in its folder: the viewer shows it.
    click("carte rouge.bmp");
    QTRY_COMPARE(viewed(), QString("C:\\Images\\carte rouge.bmp"));
}
