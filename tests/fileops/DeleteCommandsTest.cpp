// Delete one file and delete the selected files, to the Trash of a temporary XDG_DATA_HOME: the
// question, what goes, what is kept and told, the viewer and the list afterwards.
#include "FileOpsFixture.h"

#include <QTest>
#include <sys/mount.h>
#include <unistd.h>

class DeleteOneFileTest : public FileOpsFixture
{
};

TEST_F(DeleteOneFileTest, TheDeleteKeyTrashesTheFileOnViewAndEmptiesTheViewer)
{
    openPictures();
    view("b.bmp");
    viewer.playing = true;
    const int emptied = viewer.emptyPages;
    ui.answerMessage(platform::mbYes);
    QTest::keyClick(list(mtALL)->activeView(), Qt::Key_Delete);
    EXPECT_EQ(lastMessage(), "Voulez-vous vraiment mettre « b.bmp » à la corbeille ?");
    EXPECT_EQ(ui.messages[0].buttons, platform::mbYes | platform::mbNo);
    EXPECT_EQ(bytes("data/Trash/files/b.bmp"), "BBBBBB");
    EXPECT_EQ(namesIn("c/P"), "Sub a.bmp c.jpg");
    EXPECT_EQ(listed(), "Sub a.bmp c.jpg");
    EXPECT_EQ(panel(1), "2 fichiers");
    EXPECT_EQ(viewer.stops, 1);
    EXPECT_EQ(viewer.emptyPages, emptied + 1);
    EXPECT_EQ(app.st.Selection.ItemKind, ListItemKind::None);
    EXPECT_TRUE(app.st.Selection.FileName.isEmpty());
}

TEST_F(DeleteOneFileTest, TheSelectedItemGoesWhileTheFileOnViewPlaysOn)
{
    openPictures();
    view("a.bmp");
    viewer.playing = true;
    ctrlToggle("b.bmp");
    ctrlToggle("a.bmp");
    ui.answerMessage(platform::mbNo);
    ui.answerMessage(platform::mbYes);
    EXPECT_EQ(DeleteOneFile(app), FileOpOutcome::Cancelled);
    EXPECT_EQ(listed(), "Sub a.bmp b.bmp c.jpg");
    EXPECT_EQ(DeleteOneFile(app), FileOpOutcome::Done);
    EXPECT_EQ(lastMessage(), "Voulez-vous vraiment mettre « b.bmp » à la corbeille ?");
    EXPECT_EQ(namesIn("c/P"), "Sub a.bmp c.jpg");
    EXPECT_EQ(listed(), "Sub a.bmp c.jpg");
    EXPECT_TRUE(viewer.playing);
    EXPECT_EQ(app.st.Selection.FileName, "a.bmp");
    EXPECT_EQ(app.st.Selection.Item, rowOf(mtALL, "a.bmp"));
    EXPECT_TRUE(list(mtALL)->isSelected(rowOf(mtALL, "a.bmp")));
}

TEST_F(DeleteOneFileTest, AReadOnlyFileOrAFileInAReadOnlyFolderIsToldAndKept)
{
    {
        AsOrdinaryUser probe;
        if (!probe.ordinary())
            GTEST_SKIP() << "still root: permissions are not checked";
    }
    openPictures();
    openToEveryone();
    const QByteArray p = QFile::encodeName(native("c/P"));
    ::chmod(p, 0777);
    ::chmod(QFile::encodeName(native("c/P/a.bmp")), 0444);
    ::chmod(QFile::encodeName(native("c/P/b.bmp")), 0666);
    // As a user the permissions apply to (root passes them all).
    const auto deleteAsUser = [&](const QString &name) {
        view(name);
        ui.answerMessage(platform::mbYes);
        ui.answerMessage(platform::mbOK);
        AsOrdinaryUser user;
        return DeleteOneFile(app);
    };
    EXPECT_EQ(deleteAsUser("a.bmp"), FileOpOutcome::Failed);
    EXPECT_EQ(lastMessage(), "Le fichier « a.bmp » n'a pas été supprimé : il est en lecture seule.");
    ::chmod(p, 0555);
    EXPECT_EQ(deleteAsUser("b.bmp"), FileOpOutcome::Failed);
    ::chmod(p, 0755);
    EXPECT_EQ(lastMessage(),
              "Le fichier « b.bmp » n'a pas été supprimé : son dossier est protégé en écriture.");
    EXPECT_EQ(ui.messages.back().kind, platform::MsgKind::Error);
    EXPECT_EQ(bytes("c/P/a.bmp") + bytes("c/P/b.bmp"), "AAAABBBBBB");
    EXPECT_EQ(listed(), "Sub a.bmp b.bmp c.jpg");
    EXPECT_EQ(app.st.Selection.FileName, "b.bmp");
}

// A disk of its own (a tmpfs in this process's own mount namespace) whose top folder cannot take a
// trash folder.
TEST_F(DeleteOneFileTest, WithoutATrashAFileGoesForGoodOnlyWhenTheUserAgrees)
{
    start();
    const QByteArray disk = QFile::encodeName(folder("c/T"));
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", disk, "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no mount namespace of our own";
    writeFile("c/T/.Trash-" + QString::number(::getuid()), "not a folder");
    writeFile("c/T/x.bmp", "XX");
    open(mtALL, addFolder(mtALL, "C:\\T\\"));
    view("x.bmp");
    for (int answer : {platform::mbYes, platform::mbNo, platform::mbYes, platform::mbYes})
        ui.answerMessage(answer);
    EXPECT_EQ(DeleteOneFile(app), FileOpOutcome::Aborted);
    EXPECT_EQ(
        lastMessage(),
        "Le fichier « x.bmp » ne peut pas aller à la corbeille. Voulez-vous le supprimer définitivement ?");
    EXPECT_EQ(bytes("c/T/x.bmp"), "XX");
    EXPECT_EQ(DeleteOneFile(app), FileOpOutcome::Done);
    EXPECT_EQ(namesIn("c/T"), ".Trash-" + QString::number(::getuid()));
    EXPECT_EQ(listed(), "");
    ::umount2(disk, MNT_DETACH);
}

class DeleteSelectedFilesTest : public FileOpsFixture
{
};

TEST_F(DeleteSelectedFilesTest, FilesGoTogetherFoldersStayAndFailuresAreToldInOneBox)
{
    openPictures();
    view("a.bmp");
    ctrlToggle("Sub");
    ctrlToggle("b.bmp");
    ctrlToggle("c.jpg");
    // Gone behind the program's back, and a folder where a file was.
    QFile::remove(native("c/P/b.bmp"));
    QFile::remove(native("c/P/c.jpg"));
    folder("c/P/c.jpg");
    ui.answerMessage(platform::mbYes);
    ui.answerMessage(platform::mbOK);
    QTest::keyClick(list(mtALL)->activeView(), Qt::Key_Delete);
    EXPECT_EQ(ui.messages[0].text, "Voulez-vous vraiment mettre ces 3 fichiers à la corbeille ?");
    QStringList told = lastMessage().split('\n');
    told.sort();
    EXPECT_EQ(told.join('|'), "Le fichier « b.bmp » n'a pas été supprimé : il n'existe plus.|"
                              "Le fichier « c.jpg » n'a pas été supprimé : c'est un dossier.");
    EXPECT_EQ(bytes("data/Trash/files/a.bmp") + bytes("c/P/Sub/d.bmp"), "AAAADD");
    EXPECT_EQ(listed(), "Sub");
    EXPECT_TRUE(app.st.Selection.FileName.isEmpty()); // a.bmp was on view
}

TEST_F(DeleteSelectedFilesTest, TheDeleteKeyWithAModifierOrWithoutAFileDoesNothing)
{
    openPictures();
    view("a.bmp");
    ctrlToggle("b.bmp");
    QWidget *keys = list(mtALL)->activeView();
    for (Qt::KeyboardModifier held : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
        QTest::keyClick(keys, Qt::Key_Delete, held);
    // Only a folder selected, the file on view left out by Ctrl-clicks.
    ctrlToggle("a.bmp");
    ctrlToggle("b.bmp");
    ctrlToggle("Sub");
    QTest::keyClick(keys, Qt::Key_Delete);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.beeps.empty());
    EXPECT_EQ(namesIn("c/P"), "Sub a.bmp b.bmp c.jpg");
}

TEST_F(DeleteSelectedFilesTest, ADeclinedQuestionKeepsEverythingAndOneFileAmongFoldersIsAskedAlone)
{
    openPictures();
    view("a.bmp");
    ctrlToggle("b.bmp");
    ui.answerMessage(platform::mbNo);
    EXPECT_EQ(DeleteSelectedFiles(app), FileOpOutcome::Cancelled);
    EXPECT_EQ(ui.messages.back().text, "Voulez-vous vraiment mettre ces 2 fichiers à la corbeille ?");
    EXPECT_EQ(namesIn("c/P"), "Sub a.bmp b.bmp c.jpg");
    EXPECT_EQ(app.st.Selection.FileName, "a.bmp");
    // A folder and one file: the question names the file; the folder is never touched.
    ctrlToggle("a.bmp");
    ctrlToggle("Sub");
    ui.answerMessage(platform::mbYes);
    EXPECT_EQ(DeleteSelectedFiles(app), FileOpOutcome::Done);
    EXPECT_EQ(ui.messages.back().text, "Voulez-vous vraiment mettre « b.bmp » à la corbeille ?");
    EXPECT_EQ(namesIn("c/P"), "Sub a.bmp c.jpg");
    EXPECT_EQ(namesIn("c/P/Sub"), "d.bmp");
    EXPECT_EQ(listed(), "Sub a.bmp c.jpg");
    // a.bmp, on view though unselected, stays on view.
    EXPECT_EQ(app.st.Selection.FileName, "a.bmp");
}
