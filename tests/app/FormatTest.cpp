// The formatting and path routines.
#include "app/Libry.h"
#include "support/AppFixture.h"

#include <QFile>

TEST(Format, GroupedNumbers)
{
    EXPECT_EQ(FormatGroupedNumber(0), "0");
    EXPECT_EQ(FormatGroupedNumber(999), "999");
    EXPECT_EQ(FormatGroupedNumber(1000), "1 000");
    EXPECT_EQ(FormatGroupedNumber(1234567), "1 234 567");
    EXPECT_EQ(FormatBytes(1234), "1 234 octets");
}

TEST(Format, ShortSizes)
{
    EXPECT_EQ(FormatShortSize(1023), "");
    EXPECT_EQ(FormatShortSize(1024), "1 Ko");
    EXPECT_EQ(FormatShortSize(1025), "2 Ko");
    EXPECT_EQ(FormatShortSize(1048575), "1 024 Ko");
    EXPECT_EQ(FormatShortSize(1048576), "1 Mo");
    EXPECT_EQ(FormatShortSize(1073741823), "1 024 Mo");
    EXPECT_EQ(FormatShortSize(1073741824), "1,00 Go");
    EXPECT_EQ(FormatShortSize(1610612736), "1,50 Go");
    EXPECT_EQ(FormatShortSize(2147483647), "1,99 Go");
    // Sizes beyond 32 bits keep the formula instead of overflowing.
    EXPECT_EQ(FormatShortSize(5LL * 1024 * 1024 * 1024), "5,00 Go");
    EXPECT_EQ(FormatKilobytes(0), "0 Ko");
    EXPECT_EQ(FormatKilobytes(1), "1 Ko");
}

TEST(Format, Durations)
{
    EXPECT_EQ(FormatDuration(999), "0 sec");
    EXPECT_EQ(FormatDuration(61000), "1 min 1 sec");
    EXPECT_EQ(FormatDuration(3600000), "1 h 0 sec");
    EXPECT_EQ(FormatDuration(3605000), "1 h 5 sec");
    EXPECT_EQ(FormatDuration(120000), "2 min 0 sec");
}

TEST(Paths, NormaliseAndStrip)
{
    EXPECT_EQ(NormaliseFolderPath("  d:  "), "d:\\");
    EXPECT_EQ(NormaliseFolderPath("C:\\Photos\\"), "C:\\Photos");
    EXPECT_EQ(NormaliseFolderPath("C:\\"), "C:");
    EXPECT_EQ(StripTrailingBackslash("C:\\a\\"), "C:\\a");
    EXPECT_EQ(StripTrailingBackslash("C:\\a"), "C:\\a");
}

class DiskRoutines : public AppFixture
{
};

TEST_F(DiskRoutines, SizesNamesAndDatesComeFromTheDirectorySearch)
{
    writeFile("c/Photos/a.bmp", QByteArray(3000, 'x'));
    EXPECT_EQ(FileSizeOf(app, "C:\\Photos\\a.bmp"), 3000);
    EXPECT_EQ(FileSizeOf(app, "C:\\Photos\\missing.bmp"), 0);
    EXPECT_EQ(FolderNameOnDisk(app, "C:\\Photos\\"), "Photos");
    EXPECT_EQ(FolderNameOnDisk(app, "C:\\Photos\\a.bmp\\"), ""); // a file, not a folder
    EXPECT_FALSE(FormatFileDateTime(app, "C:\\Photos\\a.bmp").isEmpty());
    EXPECT_EQ(FormatFileDateTime(app, "C:\\Photos\\none.bmp"), "");
    EXPECT_FALSE(FormatFolderDate(app, "C:\\Photos\\", true).isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DiskRoutines, AMissingFolderShowsTheFolderAccessError)
{
    ui.answerMessage(platform::mbOK);
    EXPECT_EQ(FormatFolderDate(app, "C:\\Gone\\", false), "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Erreur accès dossier:\nC:\\Gone");
    EXPECT_EQ(ui.messages[0].caption, "Erreur");
    ui.answerMessage(platform::mbOK);
    EXPECT_EQ(FolderNameOnDisk(app, "C:\\Gone\\Deeper\\"), "C:\\Gone\\Deeper\\");
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(DiskRoutines, MessagesBeepOnlyWhenTheSettingSaysSo)
{
    app.st.settings.Beep_On_Error_Message = true;
    ui.answerMessage(platform::mbOK);
    ShowMessageDlg(app, "x", platform::MsgKind::Error, platform::mbOK);
    ui.answerMessage(platform::mbOK);
    ShowMessageDlg(app, "x", platform::MsgKind::Warning, platform::mbOK);
    ASSERT_EQ(ui.beeps.size(), 2u);
    EXPECT_EQ(ui.beeps[0], platform::BeepKind::Hand);
    EXPECT_EQ(ui.beeps[1], platform::BeepKind::Exclamation);
    EXPECT_EQ(ui.messages[1].caption, "Avertissement");
    app.st.settings.Beep_On_Error_Message = false;
    ui.answerMessage(platform::mbOK);
    ShowMessageDlg(app, "x", platform::MsgKind::Information, platform::mbOK);
    EXPECT_EQ(ui.beeps.size(), 2u);
    EXPECT_EQ(ui.messages[2].caption, "Information");
}

TEST_F(DiskRoutines, InternalErrorShowsItsBoxThenEndsTheProcess)
{
    ui.answerMessage(platform::mbOK);
    try {
        InternalError(app, 24, "Erreur type de fichier");
        ADD_FAILURE() << "returned";
    } catch (const ProcessExit &exit) {
        EXPECT_NE(exit.status, 0);
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "ERREUR INTERNE IRRECUPERABLE #24\nVEUILLEZ CONTACTER LA MAINTENANCE:\n\n"
                                   "Erreur type de fichier");
}
