// The file commands and the options window as the main window runs them: the File menu's, the list
// popup's and the viewer popup's items, the lists' Delete key, Tools > Options, and what the options
// change in the running program (the toolbar hints, the next JPEG shown).
#include "ShellFixture.h"

#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "components/TJPEGImage.h"
#include "components/TPicture.h"
#include "options/Options.h"
#include "options/RadioGroup.h"
#include "viewers/View_JPG.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QHelpEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {

class FileCommandsWiringTest : public ShellFixture
{
protected:
    FileCommandsWiringTest() : m_dataHome(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.filePath("data")));
    }
    ~FileCommandsWiringTest() override { qputenv("XDG_DATA_HOME", m_dataHome); }

    // C:\P\ holding a.bmp, b.bmp and the folder Sub, shown in the ALL list. A click selects a file
    // without showing it (the files are not pictures).
    void openPictures()
    {
        writeSettings({"First_Time=0", "Wiew_When_Click_ListView=0"});
        createMain();
        writeFile("c/P/a.bmp", "AAAA");
        writeFile("c/P/b.bmp", "BBBB");
        writeFile("c/P/Sub/d.bmp", "DD");
        main->catalogue.store.addFolder(mtALL, u"C:\\P\\Sub\\", 3);
        const NodeId n = main->catalogue.store.addFolder(mtALL, u"C:\\P\\", 3);
        app.st.CurrentView.CurrentType = mtALL;
        app.st.Selection.List = mtALL;
        pane().tree(mtALL)->setCurrentNodeQuietly(n);
        tvALLChange(pane(), mtALL, n);
    }
    TListView *list() const { return pane().list(mtALL); }
    int rowOf(const QString &caption) const
    {
        for (int row = 0; row < list()->count(); ++row)
            if (list()->item(row).caption == caption)
                return row;
        return -1;
    }
    QString names(const QString &relative) const
    {
        return QDir(tmp.filePath(relative)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ');
    }
    QAction *item(const char *name) const { return main->findChild<QAction *>(QString::fromLatin1(name)); }

private:
    QByteArray m_dataHome;
};

} // namespace

TEST_F(FileCommandsWiringTest, TheMenusItemsRunTheirCommandsOnTheSelectedFile)
{
    openPictures();
    pane().selectItem(rowOf("a.bmp"));
    app.st.Selection.ListHasFocus = true;
    emit main->mnuMain_File->aboutToShow();
    ASSERT_TRUE(item("mnuMain_File_Copy1FileSelected")->isEnabled());

    ui.answerSaveFile(QString()); // each copy item opens the save dialog; cancelled, nothing happens
    item("mnuMain_File_Copy1FileSelected")->trigger();
    ui.answerSaveFile(QString());
    item("popmnuLV_Copy1File")->trigger();
    ui.answerSaveFile(QString());
    item("popmnuVF_SaveFile")->trigger();
    ASSERT_EQ(ui.saveRequests.size(), 3u);
    EXPECT_EQ(ui.saveRequests[1].title, "Copier fichier vers...");
    EXPECT_EQ(ui.saveRequests[2].title, "Enregistrer le fichier sous...");
    ui.answerFolder(QString());
    item("popmnuLV_CopySelectedFiles")->trigger();
    EXPECT_EQ(ui.folderTitles.size(), 1u);

    // Delete from the File menu, then from the popup, then with the Delete key.
    for (const auto &[name, how] : {std::pair{"a.bmp", "mnuMain_File_Delete1FileSelected"},
                                    std::pair{"b.bmp", "popmnuLV_Delete1File"}}) {
        SCOPED_TRACE(how);
        pane().selectItem(rowOf(name));
        ui.answerMessage(platform::mbYes);
        item(how)->trigger();
        EXPECT_EQ(ui.messages.back().text,
                  QString("Voulez-vous vraiment mettre « %1 » à la corbeille ?").arg(name));
        EXPECT_TRUE(QFile::exists(tmp.filePath(QString("data/Trash/files/") + name)));
        EXPECT_EQ(rowOf(name), -1);
        EXPECT_TRUE(app.st.Selection.FileName.isEmpty());
    }
    EXPECT_EQ(names("c/P"), "Sub");
}

TEST_F(FileCommandsWiringTest, TheDeleteKeyAndThePluralItemsTakeTheSelectedFilesOnly)
{
    openPictures();
    pane().selectItem(rowOf("a.bmp"));
    item("popmnuLV_SelectAll")->trigger(); // the files, not the folder
    EXPECT_TRUE(list()->isSelected(rowOf("b.bmp")));
    EXPECT_FALSE(list()->isSelected(rowOf("Sub")));
    list()->setSelected(rowOf("Sub"), true);
    app.st.Selection.ListHasFocus = true;
    emit main->mnuMain_File->aboutToShow();
    EXPECT_TRUE(item("mnuMain_File_DeleteSelectedFiles")->isVisible());
    EXPECT_TRUE(item("mnuMain_File_DeleteSelectedFiles")->isEnabled());
    ui.answerFolder(QString());
    item("mnuMain_File_CopySelectedFiles")->trigger();
    EXPECT_EQ(ui.folderTitles.size(), 1u);
    ui.answerMessage(platform::mbNo);
    item("popmnuLV_DeleteSelectedFiles")->trigger();
    EXPECT_EQ(ui.messages.back().text, "Voulez-vous vraiment mettre ces 2 fichiers à la corbeille ?");
    ui.answerMessage(platform::mbYes);
    QTest::keyClick(list()->activeView(), Qt::Key_Delete);
    EXPECT_EQ(names("c/P"), "Sub");
    EXPECT_EQ(names("c/P/Sub"), "d.bmp");
    EXPECT_EQ(list()->count(), 1);
}

TEST_F(FileCommandsWiringTest, OptionsFromTheToolsMenuReachTheToolbarHintsAndTheNextJpegShown)
{
    QFile rose(QString::fromLocal8Bit(qgetenv("LUMA_TEST_DATA")) + "/pictures/rose.jpg");
    ASSERT_TRUE(rose.open(QIODevice::ReadOnly));
    writeFile("c/P/rose.jpg", rose.readAll());
    openPictures();

    QHelpEvent tip(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    EXPECT_FALSE(main->eventFilter(main->btnLargeIcon, &tip)); // hints on: the tip shows
    ui.onModal("frmOptions", [](QDialog *d) {
        auto *w = static_cast<TfrmOptions *>(d);
        EXPECT_EQ(w->windowTitle(), "Options");
        w->rgJPEGScaling->item(2)->click();
        w->rgJPEGColor->item(1)->click();
        w->chkGeneralShowHint->click();
        w->btnOK->click();
        return d->result();
    });
    item("mnuMain_Tools_Options")->trigger();
    EXPECT_EQ(ui.modalWindows.back(), "frmOptions");
    EXPECT_TRUE(settingsText().contains("JPEG_Scale=2\n")) << settingsText().toStdString();
    EXPECT_TRUE(main->eventFilter(main->btnLargeIcon, &tip)); // hints off at once

    main->FormActivate(); // the viewer shows files once the window is up
    pane().selectItem(rowOf("rose.jpg"));
    viewer().play();
    const TJPEGImage *jpeg = viewer().page<TViewPageJPG>(mtJPG)->picJPG->jpeg();
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->scale(), 2);
    EXPECT_TRUE(jpeg->grayscale());
}
