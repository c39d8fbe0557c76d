// Execute in a desktop made for the test (its own XDG folders; one application, a script that
// records what it was given, for BMP pictures only): which file is opened, and the shell's result
// codes when a file cannot be opened.
#include "FileOpsFixture.h"

#include "fileops/ShellTexts.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <sys/stat.h>
#include <thread>

class ExecuteTest : public FileOpsFixture
{
protected:
    // GIO reads the XDG folders once per process (each test runs in one of its own): set before
    // the first open.
    void makeDesktop()
    {
        for (const char *name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
            qputenv(name, QFile::encodeName(folder(QString("xdg/") + name)));
        ASSERT_TRUE(QFile::link("/usr/share/mime", native("xdg/XDG_DATA_DIRS/mime")));
        writeFile("viewer.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + QFile::encodeName(native("opened")) +
                                   ".part\" && mv \"" + QFile::encodeName(native("opened")) + ".part\" \"" +
                                   QFile::encodeName(native("opened")) + "\"\n");
        ::chmod(QFile::encodeName(native("viewer.sh")), 0755);
        writeFile("xdg/XDG_DATA_HOME/applications/test-viewer.desktop",
                  "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" +
                      QFile::encodeName(native("viewer.sh")) + " %f\nMimeType=image/bmp;\n");
        writeFile("xdg/XDG_CONFIG_HOME/mimeapps.list",
                  "[Default Applications]\nimage/bmp=test-viewer.desktop\n");
    }
    // What the viewer was given, waiting up to ten seconds for it to run.
    QByteArray opened() const
    {
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(native("opened")) && timer.elapsed() < 10000)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return bytes("opened");
    }
};

TEST_F(ExecuteTest, OpensTheSelectedFileWithItsApplicationAfterStoppingPlayback)
{
    makeDesktop();
    openPictures();
    view("a.bmp");
    ctrlToggle("b.bmp");
    ctrlToggle("a.bmp"); // b.bmp alone is selected; a.bmp stays on view
    viewer.playing = true;
    EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::Done);
    EXPECT_EQ(viewer.stops, 1);
    EXPECT_EQ(opened(), QFile::encodeName(native("c/P/b.bmp")) + '\n');
    EXPECT_TRUE(ui.messages.empty());
    // The viewer's own Execute opens what it shows.
    QFile::remove(native("opened"));
    EXPECT_EQ(ExecuteFileOnView(app), FileOpOutcome::Done);
    EXPECT_EQ(opened(), QFile::encodeName(native("c/P/a.bmp")) + '\n');
}

TEST_F(ExecuteTest, ARefusedOpenIsToldWithTheShellsCode)
{
    makeDesktop();
    openPictures();
    ui.acceptOkBoxes = true;
    view("c.jpg"); // no application for JPEG pictures here
    EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::Failed);
    EXPECT_EQ(lastMessage(), "Error #31 - Pas d'application associée à l'extension du nom de fichier.");
    EXPECT_EQ(ui.messages.back().kind, platform::MsgKind::Error);
    QFile::remove(native("c/P/b.bmp")); // gone since it was listed
    view("b.bmp");
    EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::Failed);
    EXPECT_EQ(lastMessage(), "Error #2 - Fichier non trouvé.");
    view("a.bmp");
    QDir(native("c/P")).removeRecursively(); // the whole folder went
    EXPECT_EQ(ExecuteFileOnView(app), FileOpOutcome::Failed);
    EXPECT_EQ(lastMessage(), "Error #3 - Chemin non trouvé.");
    EXPECT_FALSE(QFileInfo::exists(native("opened")));
    EXPECT_EQ(ShellErrorText(4), "Error #4"); // a code without a text
    EXPECT_EQ(ShellErrorText(0), "Error #0 - Pas assez de mémoire ou de ressources.");
}

TEST_F(ExecuteTest, AnUnreadableFileIsCode5)
{
    makeDesktop();
    openPictures();
    openToEveryone();
    ::chmod(QFile::encodeName(native("c/P/a.bmp")), 0);
    view("a.bmp");
    ui.acceptOkBoxes = true;
    {
        AsOrdinaryUser user;
        if (!user.ordinary())
            GTEST_SKIP() << "still root: permissions are not checked";
        EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::Failed);
    }
    EXPECT_EQ(lastMessage(), "Error #5 - Accès au fichier refusé.");
}

TEST_F(ExecuteTest, WithoutAFileItemNothingIsOpened)
{
    makeDesktop();
    openPictures();
    view("Sub");
    EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::NothingToDo);
    EXPECT_EQ(ExecuteFileOnView(app), FileOpOutcome::NothingToDo);
    EXPECT_EQ(ui.beeps.size(), 2u);
    EXPECT_TRUE(ui.messages.empty());
}
