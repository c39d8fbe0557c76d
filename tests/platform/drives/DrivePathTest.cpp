// Drive paths to native paths and back, and the stand-in for a backslash inside a name.
#include "platform/drives/DriveMap.h"
#include "platform/drives/DriveNames.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

const QString kSlash = QString(QChar(kBackslashStandIn));

DriveMap nestedMap()
{
    // D: lies inside C:'s folder; F: has the same root as C:.
    return DriveMap::fromSpec(QStringLiteral("C=/srv/pc/c;D=/srv/pc/c/sub;F=/srv/pc/c;R=/"));
}

} // namespace

TEST(DrivePath, DriveToNative)
{
    const DriveMap map = nestedMap();
    EXPECT_EQ(map.toNative(QStringLiteral("C:\\Photos\\2000\\")), u"/srv/pc/c/Photos/2000/");
    EXPECT_EQ(map.toNative(QStringLiteral("c:\\Photos\\x.bmp")), u"/srv/pc/c/Photos/x.bmp");
    EXPECT_EQ(map.toNative(QStringLiteral("C:\\")), u"/srv/pc/c/");
    EXPECT_EQ(map.toNative(QStringLiteral("C:")), u"/srv/pc/c");
    EXPECT_EQ(map.toNative(QStringLiteral("R:\\")), u"/");
    EXPECT_EQ(map.toNative(QStringLiteral("R:\\etc\\")), u"/etc/");
    EXPECT_EQ(map.toNative(QStringLiteral("C:\\a\\\\b\\.\\c")), u"/srv/pc/c/a/b/c");
    // ".." never leaves the drive.
    EXPECT_EQ(map.toNative(QStringLiteral("C:\\..\\..\\etc\\passwd")), u"/srv/pc/c/etc/passwd");
    EXPECT_EQ(map.toNative(QStringLiteral("C:\\a\\..\\b")), u"/srv/pc/c/b");
}

TEST(DrivePath, NotADrivePathHasNoNativePath)
{
    const DriveMap map = nestedMap();
    EXPECT_TRUE(map.toNative(QStringLiteral("Q:\\x")).isEmpty());     // unmapped letter
    EXPECT_TRUE(map.toNative(QStringLiteral("Photos\\x")).isEmpty()); // relative
    EXPECT_TRUE(map.toNative(QStringLiteral("C:foo")).isEmpty());     // relative to a current folder
    EXPECT_TRUE(map.toNative(QStringLiteral("\\\\server\\share")).isEmpty());
    EXPECT_TRUE(map.toNative(QString()).isEmpty());
    EXPECT_TRUE(map.toNative(QStringLiteral("C")).isEmpty());
}

TEST(DrivePath, NativeToDriveTakesTheLongestRoot)
{
    const DriveMap map = nestedMap();
    EXPECT_EQ(map.toDrivePath(QStringLiteral("/srv/pc/c/Photos/x.bmp")), u"C:\\Photos\\x.bmp");
    EXPECT_EQ(map.toDrivePath(QStringLiteral("/srv/pc/c/Photos/")), u"C:\\Photos\\");
    EXPECT_EQ(map.toDrivePath(QStringLiteral("/srv/pc/c")), u"C:\\");
    EXPECT_EQ(map.toDrivePath(QStringLiteral("/srv/pc/c/")), u"C:\\");
    EXPECT_EQ(map.toDrivePath(QStringLiteral("/srv/pc/c/sub/y.gif")), u"D:\\y.gif");
    EXPECT_EQ(map.toDrivePath(QStringLiteral("/srv/pc/c/subway")), u"C:\\subway");
    EXPECT_EQ(map.toDrivePath(QStringLiteral("/srv/pc/cd/z")), u"R:\\srv\\pc\\cd\\z");
    EXPECT_EQ(map.toDrivePath(QStringLiteral("//srv/./pc/c/x/../y")), u"C:\\y");
}

TEST(DrivePath, PathOnNoDriveIsToldSo)
{
    const DriveMap map = DriveMap::fromSpec(QStringLiteral("C=/srv/pc/c"));
    EXPECT_FALSE(map.toDrivePath(QStringLiteral("/etc/passwd")).has_value());
    EXPECT_FALSE(map.toDrivePath(QStringLiteral("/srv/pc")).has_value());
    EXPECT_FALSE(map.toDrivePath(QStringLiteral("relative/x")).has_value());
    EXPECT_FALSE(map.toDrivePath(QString()).has_value());
}

TEST(DrivePath, BackslashInANameTravelsAsStandIn)
{
    const DriveMap map = DriveMap::fromSpec(QStringLiteral("C=/data"));
    const QString native = QStringLiteral("/data/a\\b/c\\d.bmp");
    const std::optional<QString> shown = map.toDrivePath(native);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(*shown,
              QStringLiteral("C:\\a") + kSlash + QStringLiteral("b\\c") + kSlash + QStringLiteral("d.bmp"));
    EXPECT_EQ(map.toNative(*shown), native);

    EXPECT_EQ(nameFromNative(QStringLiteral("x\\y")), QStringLiteral("x") + kSlash + QStringLiteral("y"));
    EXPECT_EQ(nameToNative(QStringLiteral("x") + kSlash + QStringLiteral("y")), u"x\\y");
    const QByteArray raw("caf\xc3\xa9\\1.jpg");
    EXPECT_EQ(nameFromNative(raw.constData(), raw.size()),
              QStringLiteral("café") + kSlash + QStringLiteral("1.jpg"));
}

TEST(DrivePath, RoundTripKeepsNonAsciiNames)
{
    const DriveMap map = DriveMap::fromSpec(QStringLiteral("C=/home/anne/Médias"));
    const QString drivePath = QStringLiteral("C:\\Été 2000\\Plage.JPG");
    const QString native = map.toNative(drivePath);
    EXPECT_EQ(native, u"/home/anne/Médias/Été 2000/Plage.JPG");
    EXPECT_EQ(map.toDrivePath(native), drivePath);
}
