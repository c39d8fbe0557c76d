// Execute in a desktop made for the test (its own XDG folders and no application at all): the
// shell's result codes when a file cannot be opened. Starting the application is the platform's.
#include "FileOpsFixture.h"

#include "fileops/ShellTexts.h"

class ExecuteTest : public FileOpsFixture
{
};

TEST_F(ExecuteTest, StopsPlaybackAndTellsTheShellsCodeOfARefusedOpen)
{
    // GIO reads the XDG folders once per process: set before the first open.
    for (const char *name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        qputenv(name, QFile::encodeName(folder(QString("xdg/") + name)));
    openPictures();
    ui.acceptOkBoxes = true;
    view("a.bmp");
    viewer.playing = true;
    EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::Failed);
    EXPECT_EQ(viewer.stops, 1);
    EXPECT_EQ(lastMessage(), "Error #31 - Pas d'application associée à l'extension du nom de fichier.");
    EXPECT_EQ(ui.messages.back().kind, platform::MsgKind::Error);
    QFile::remove(native("c/P/b.bmp")); // gone since it was listed
    view("b.bmp");
    EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::Failed);
    EXPECT_EQ(lastMessage(), "Error #2 - Fichier non trouvé.");
    EXPECT_EQ(ShellErrorText(4), "Error #4"); // a code without a text
    view("Sub");
    EXPECT_EQ(ExecuteSelectedFile(app), FileOpOutcome::NothingToDo);
}
