// The file properties window's "Général" tab: what the directory search and the file system say of
// the file, and the one box of a file that went away.
#include "PropertiesFixture.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "platform/drives/FileTimes.h"
#include "properties/Property_File.h"
#include "support/AsOrdinaryUser.h"

#include <QFile>

class FileWindow : public PropertiesFixture
{
protected:
    const ShownWindow &show(const QString &drivePath)
    {
        shown.clear();
        ShowFileProperties(app, drivePath, TypeOfFile(drivePath));
        return onlyWindow();
    }
};

TEST_F(FileWindow, GeneralFacts)
{
    const QString native = writeFile("c/Photos/a.bmp", QByteArray(1024, 'x'));
    const QDateTime written(QDate(2001, 2, 3), QTime(4, 5, 6));
    {
        QFile f(native);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    }
    const QDate before = QDate::currentDate();
    const ShownWindow &w = show("C:\\Photos\\a.bmp");
    EXPECT_EQ(w.title, "Propriétés de a.bmp");
    EXPECT_EQ(w.text("lblFileName"), "a.bmp");
    EXPECT_EQ(w.text("lblType"), DescriptionOfType(mtBMP));
    EXPECT_EQ(w.text("lblLocation"), "Photos");
    // No short names on this system: the long one stands in.
    EXPECT_EQ(w.text("lblMsDosName"), "a.bmp");
    if (platform::fileBirthTime(native).isValid()) {
        // The birth time is now, not the last write.
        const QLocale fr = DateLocale();
        const QString created = w.text("lblCreated");
        EXPECT_TRUE(created.startsWith(fr.toString(before, QLocale::LongFormat)) ||
                    created.startsWith(fr.toString(QDate::currentDate(), QLocale::LongFormat)))
            << created.toStdString();
    } else {
        EXPECT_EQ(w.text("lblCreated"), "samedi 3 février 2001 04:05:06");
    }
    EXPECT_EQ(w.currentTab, 0);
    EXPECT_EQ(w.tabs, (std::vector<QString>{"Général", "Fichiers", "Image"}));
}

TEST_F(FileWindow, SizesInBytesAndShort)
{
    struct Case
    {
        qint64 size;
        const char *bytes;
        const char *shortSize;
    };
    const Case cases[] = {
        {0, "0 octets", ""},
        {1023, "1 023 octets", ""},
        {1024, "1 024 octets", ""},
        {1025, "1 025 octets", "( 2 Ko )"},
        {1048575, "1 048 575 octets", "( 1 024 Ko )"},
        {1048576, "1 048 576 octets", "( 1 Mo )"},
        // Beyond 32 bits: a sparse file takes no room.
        {5LL * 1024 * 1024 * 1024, "5 368 709 120 octets", "( 5,00 Go )"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        const QString native = writeFile("c/Sizes/s.pcx", {});
        {
            QFile f(native);
            ASSERT_TRUE(f.resize(c.size));
        }
        const ShownWindow &w = show("C:\\Sizes\\s.pcx");
        EXPECT_EQ(w.text("lblFileSize"), c.bytes);
        EXPECT_EQ(w.text("lblFileSizeMb"), c.shortSize);
    }
}

TEST_F(FileWindow, AFileInADriveRootLiesInTheRoot)
{
    writeFile("c/top.gif", "GIF89a");
    EXPECT_EQ(show("C:\\top.gif").text("lblLocation"), "C:\\");
}

TEST_F(FileWindow, Attributes)
{
    struct Case
    {
        const char *name;
        bool readOnly, hidden;
    };
    const Case cases[] = {
        {"plain.bmp", false, false},
        {"locked.bmp", true, false},
        {".hidden.bmp", false, true},
        {".both.bmp", true, true},
    };
    // The searches run as an ordinary user: root may write everything.
    QFile::setPermissions(tmp.path(), QFile::Permissions(0x7755));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString native = writeFile(QStringLiteral("c/Marks/") + c.name, "x");
        // Writable by everyone unless read-only, whoever runs the search.
        ASSERT_TRUE(QFile::setPermissions(native, QFile::Permissions(c.readOnly ? 0x4444 : 0x6666)));
        AsOrdinaryUser user;
        if (c.readOnly && !user.ordinary())
            GTEST_SKIP() << "runs as root and cannot leave it";
        const ShownWindow &w = show(QStringLiteral("C:\\Marks\\") + c.name);
        EXPECT_EQ(w.isChecked("picReadOnly"), c.readOnly);
        EXPECT_EQ(w.isChecked("picHidden"), c.hidden);
        EXPECT_TRUE(w.isChecked("picArchive"));
        EXPECT_FALSE(w.isChecked("CheckBox1"));
        EXPECT_FALSE(w.isEnabled("CheckBox1"));
    }
}

TEST_F(FileWindow, AVanishedFileGetsOneBoxAndNoWindow)
{
    folder("c/Photos");
    const QString paths[] = {"C:\\Photos\\gone.bmp", "C:\\Nowhere\\gone.bmp", "Q:\\gone.bmp"};
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        ui.messages.clear();
        ui.answerMessage(platform::mbOK);
        ShowFileProperties(app, path, mtBMP);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Erreur accès fichier.\n" + path);
        EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    }
    // A folder named like a file is not a file either.
    folder("c/Photos/dir.bmp");
    ui.messages.clear();
    ui.answerMessage(platform::mbOK);
    ShowFileProperties(app, "C:\\Photos\\dir.bmp", mtBMP);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.modalWindows.empty());
}

TEST_F(FileWindow, AFileWhoseFolderCannotBeReadGetsTheBox)
{
    QFile::setPermissions(tmp.path(), QFile::Permissions(0x7755));
    writeFile("c/Locked/a.bmp", "x");
    ASSERT_TRUE(QFile::setPermissions(folder("c/Locked"), QFile::ReadOwner | QFile::WriteOwner));
    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "runs as root and cannot leave it";
    ui.answerMessage(platform::mbOK);
    ShowFileProperties(app, "C:\\Locked\\a.bmp", mtBMP);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.modalWindows.empty());
}

// Every type opens its own detail page under its own caption, even with a file whose header is
// damaged: the values are then zero.
TEST_F(FileWindow, DetailPagePerTypeWithDamagedFiles)
{
    struct Case
    {
        MediaType type;
        const char *caption;
        const char *zeroField; // a field that shows 0 for a damaged file
        const char *zero;
    };
    const Case cases[] = {
        {mtANI, "Animation", "Type1_ImageWidth", "0"},    {mtAVI, "Clip", "Type2_lblLength", "0 sec"},
        {mtBMP, "Image", "Type3_ImageWidth", "0"},        {mtJPG, "Image", "Type4_ImageHeight", "0"},
        {mtMID, "Son", "Type5_lblTuneLength", "0 sec"},   {mtWAV, "Son", "Type6_lblTuneLength", "0 sec"},
        {mtGIF, "Image", "Type7_lblNumberOfFrames", "0"}, {mtPCX, "Image", "Type8_ImageWidth", "0"},
        {mtTIF, "Image", "Type9_ImageHeight", "0"},       {mtWMF, "Image", "Type10_ImageWidth", "0"},
        {mtEMF, "Image", "Type11_ImageWidth", "0"},       {mtICO, "Image", "Type12_ImageHeight", "0"},
    };
    for (const Case &c : cases) {
        const QString ext = QString::fromLatin1(mediaTypeInfo(c.type).extension).toLower();
        SCOPED_TRACE(ext.toStdString());
        // The start of a valid header of another type, then garbage.
        writeFile("c/Damaged/f" + ext,
                  QByteArray("RIFF\x10\0\0\0GIF89a\xff\xd8\xff", 17) + QByteArray(64, '\x7f'));
        const ShownWindow &w = show("C:\\Damaged\\f" + ext);
        EXPECT_EQ(w.detailPage, code(c.type));
        EXPECT_EQ(w.tabs.back(), c.caption);
        EXPECT_EQ(w.text(c.zeroField), c.zero);
        EXPECT_EQ(w.text("lblType"), DescriptionOfType(c.type));
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileWindow, DamagedFixturesStillOpenTheWindow)
{
    const char *files[] = {"damaged-header.jpg",    "damaged-truncated.jpg", "damaged-truncated.bmp",
                           "damaged-truncated.gif", "damaged-truncated.pcx", "damaged-ifd.tif",
                           "damaged-garbage.ico"};
    for (const char *file : files) {
        SCOPED_TRACE(file);
        copyData(QStringLiteral("pictures/") + file, QStringLiteral("c/D/") + file);
        const ShownWindow &w = show(QStringLiteral("C:\\D\\") + file);
        EXPECT_EQ(w.name, "frmProperty_File");
    }
    EXPECT_TRUE(ui.messages.empty());
}
