// The disk properties window: volume facts, space now, and the last scan's finds.
#include "PropertiesFixture.h"
#include "properties/Property_Disk.h"

namespace {

// The number in "1 234 octets".
uint64_t bytesIn(const QString &text)
{
    QString digits = text;
    digits.remove(QStringLiteral(" octets")).remove(' ');
    bool ok = false;
    const uint64_t n = digits.toULongLong(&ok);
    EXPECT_TRUE(ok) << text.toStdString();
    return n;
}

int percentIn(const QString &text)
{
    EXPECT_TRUE(text.endsWith(QStringLiteral(" %"))) << text.toStdString();
    return text.chopped(2).toInt();
}

} // namespace

TEST(UsedShare, PercentOfTheTotal)
{
    struct Case
    {
        uint64_t total, free;
        int used;
    };
    const Case cases[] = {
        {1000000000, 250000000, 74}, // kilobyte steps round the used share down
        {1000000000, 0, 100},
        {1000000000, 1000000000, 0},
        {1023, 0, 0}, // under a kilobyte: nothing to share
        {0, 0, 0},
        {1024, 0, 100},
        {2048, 1024, 50},
        {1000000, 5000000, 0}, // free beyond the total counts as all free
        {UINT64_MAX, 0, 100},  // no overflow on the largest sizes
        {UINT64_MAX, UINT64_MAX / 2, 50},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << ' ' << c.free);
        const int used = UsedPercent(c.total, c.free);
        EXPECT_EQ(used, c.used);
        EXPECT_GE(used, 0);
        EXPECT_LE(used, 100);
    }
}

class DiskWindow : public PropertiesFixture
{
protected:
    const ShownWindow &show(const QString &nodeText)
    {
        shown.clear();
        ShowDiskProperties(app, nodeText);
        return onlyWindow();
    }
};

TEST_F(DiskWindow, VolumeFactsAndSpace)
{
    DiskRecord &c = app.st.Disks[3];
    c.VolumeLabel = "PHOTOS";
    c.SerialNumber = "1A2B3C4D";
    c.FileSystemName = "EXT4";
    const ShownWindow &w = show("(C:)");
    EXPECT_TRUE(w.title.endsWith(" (C:)")) << w.title.toStdString();
    EXPECT_EQ(w.text("txtVolumeID"), "PHOTOS");
    EXPECT_EQ(w.text("txtDiskSerial"), "1A2B3C4D");
    EXPECT_EQ(w.text("lblFileSystem"), "EXT4");

    const uint64_t total = bytesIn(w.text("lblTotalByte"));
    const uint64_t used = bytesIn(w.text("lblUsedByte"));
    const uint64_t free = bytesIn(w.text("lblFreeByte"));
    EXPECT_GT(total, 0u);
    EXPECT_EQ(used + free, total);
    const int usedShare = percentIn(w.text("lblPercentUsed"));
    EXPECT_EQ(usedShare, UsedPercent(total, free));
    EXPECT_EQ(percentIn(w.text("lblPercentFree")), 100 - usedShare);
    EXPECT_FALSE(w.text("lblTotalMeg").isEmpty());
    EXPECT_EQ(w.tabs, (std::vector<QString>{"Général", "Fichiers"}));
}

TEST_F(DiskWindow, FoundFiles)
{
    struct Case
    {
        int64_t count, bytes;
        const char *number, *size, *shortSize;
    };
    const Case cases[] = {
        {0, 0, "0", "0 octets", "(  )"},
        {1234, 5368709120LL, "1 234", "5 368 709 120 octets", "( 5,00 Go )"},
        {1, 1025, "1", "1 025 octets", "( 2 Ko )"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        app.st.Disks[3].FileCount = c.count;
        app.st.Disks[3].FileBytes = c.bytes;
        const ShownWindow &w = show("(C:)");
        EXPECT_EQ(w.text("lblNumberOfFiles"), c.number);
        EXPECT_EQ(w.text("lblFileSize"), c.size);
        EXPECT_EQ(w.text("lblFileSizeMb"), c.shortSize);
    }
}

TEST_F(DiskWindow, ALowerCaseLetterIsTheSameDrive)
{
    EXPECT_EQ(show("(c:)").name, "frmProperty_Disk");
}

TEST_F(DiskWindow, ADriveWhoseRootVanishedGetsOneBoxAndTheProgramGoesOn)
{
    setDrives("C=" + folder("c") + ";D=" + tmp.filePath("gone"));
    present('D', 3);
    ui.answerMessage(platform::mbOK);
    ShowDiskProperties(app, "(D:)");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.endsWith("\n(D:)")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    EXPECT_TRUE(ui.modalWindows.empty());

    // The next Properties works as before.
    EXPECT_EQ(show("(C:)").name, "frmProperty_Disk");
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(DiskWindow, TextsThatNameNoDriveOpenNothing)
{
    for (const char *text : {"", "(", "(1:)", "(é:)"}) {
        SCOPED_TRACE(text);
        ShowDiskProperties(app, QString::fromUtf8(text));
    }
    expectNothingShown();
}
