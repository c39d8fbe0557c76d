// Volume facts and free space of mapped drives, and how serial numbers are derived.
#include "DrivesTestSupport.h"
#include "platform/drives/DriveMap.h"
#include "platform/drives/VolumeQuery.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

bool isSerial(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[0-9A-F]{8}$"));
    return re.match(s).hasMatch();
}

} // namespace

TEST(Volume, GivenLabelAndSerialAndSystemFacts)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(QDir().mkpath(tmp.path() + QStringLiteral("/c")));
    ASSERT_TRUE(QDir().mkpath(tmp.path() + QStringLiteral("/d")));
    const DriveMap map = DriveMap::fromSpec(
        QStringLiteral("C=%1/c,fixed,PHOTOS,00ab12cd;D=%1/d;M=%1/missing,cdrom").arg(tmp.path()));

    const VolumeInfo c = map.volumeInfo(QLatin1Char('C'));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.label, u"PHOTOS");
    EXPECT_EQ(c.serialNumber, u"00AB12CD");
    EXPECT_FALSE(c.fileSystemName.isEmpty());
    EXPECT_LE(c.fileSystemName.size(), 11);
    EXPECT_EQ(c.fileSystemName, c.fileSystemName.toUpper());
    EXPECT_GT(c.maxComponentLength, 0u);

    // Without a serial of its own, a folder drive gets one that is stable and its own.
    const VolumeInfo d = map.volumeInfo(QLatin1Char('D'));
    ASSERT_TRUE(d.ok);
    EXPECT_TRUE(d.label.isEmpty());
    EXPECT_TRUE(isSerial(d.serialNumber)) << d.serialNumber.toStdString();
    EXPECT_EQ(d.serialNumber, map.volumeInfo(QLatin1Char('D')).serialNumber);
    EXPECT_EQ(d.serialNumber, serialFromText(QString(tmp.path() + QStringLiteral("/d"))));
    EXPECT_NE(d.serialNumber, serialFromText(QString(tmp.path() + QStringLiteral("/c"))));

    // A root that is not there: no medium, but still a CD-ROM drive.
    EXPECT_EQ(map.driveType(QLatin1Char('M')), DRIVE_CDROM);
    const VolumeInfo m = map.volumeInfo(QLatin1Char('M'));
    EXPECT_FALSE(m.ok);
    EXPECT_TRUE(m.label.isEmpty());
    EXPECT_TRUE(m.fileSystemName.isEmpty());
    EXPECT_TRUE(isSerial(m.serialNumber));
    EXPECT_FALSE(map.diskSpace(QLatin1Char('M')).ok);
    EXPECT_FALSE(map.volumeInfo(QLatin1Char('Q')).ok);
    EXPECT_FALSE(map.diskSpace(QLatin1Char('Q')).ok);
}

TEST(Volume, DiskSpaceIsSixtyFourBit)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const DriveMap map = DriveMap::fromSpec(QStringLiteral("C=") + tmp.path());
    const DiskSpace space = map.diskSpace(QLatin1Char('C'));
    ASSERT_TRUE(space.ok);
    EXPECT_GT(space.totalBytes, 0u);
    EXPECT_LE(space.freeBytes, space.totalBytes);
    // The system disk of any machine that builds this is larger than a 32-bit count can hold.
    const DiskSpace root = DriveMap::fromSpec(QStringLiteral("C=/")).diskSpace(QLatin1Char('C'));
    ASSERT_TRUE(root.ok);
    if (root.totalBytes <= 0xFFFFFFFFull)
        GTEST_SKIP() << "the root file system is smaller than 4 GiB";
    EXPECT_GT(root.totalBytes, 0xFFFFFFFFull);
}

TEST(Volume, SerialRules)
{
    EXPECT_EQ(serialFromUuid(u"1A2B-3C4D"), u"1A2B3C4D");                            // FAT
    EXPECT_EQ(serialFromUuid(u"0123456789abcdef"), u"89ABCDEF");                     // NTFS
    EXPECT_EQ(serialFromUuid(u"3e6be9de-8139-11d1-9106-a43f08d823a6"), u"08D823A6"); // ext4
    EXPECT_TRUE(serialFromUuid(u"12-34").isEmpty());
    EXPECT_EQ(serialFromFsid(0x00000001'00000003ull), u"00000002");
    EXPECT_TRUE(serialFromFsid(0x12345678'12345678ull).isEmpty());
    EXPECT_TRUE(isSerial(serialFromText(u"/srv/pc/c")));
    EXPECT_NE(serialFromText(u"/srv/pc/c"), serialFromText(u"/srv/pc/d"));
    EXPECT_EQ(unescapeUdevName(u"MY\\x20DISK"), u"MY DISK");
    EXPECT_EQ(unescapeUdevName(u"PLAIN\\xZZ"), u"PLAIN\\xZZ");
}
