// The LUMAVISTA_DRIVES text: good entries, malformed ones and how they are reported.
#include "DrivesTestSupport.h"
#include "platform/drives/DriveMap.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(DriveSpec, ReadsEveryField)
{
    QStringList problems;
    const DriveMap map = DriveMap::fromSpec(
        QStringLiteral("C=/srv/pc/c;D=/srv/pc/d,cdrom,PHOTOS,1a2b3c4d; e = /srv//pc/e/ , Network ;"),
        &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    ASSERT_EQ(map.drives().size(), 3u);
    const DriveMapping *c = map.find(QLatin1Char('C'));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->nativeRoot, u"/srv/pc/c");
    EXPECT_EQ(c->type, DRIVE_FIXED);
    EXPECT_TRUE(c->label.isEmpty());
    const DriveMapping *d = map.find(QLatin1Char('d'));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->type, DRIVE_CDROM);
    EXPECT_EQ(d->label, u"PHOTOS");
    EXPECT_EQ(d->serial, u"1A2B3C4D");
    const DriveMapping *e = map.find(QLatin1Char('E'));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->nativeRoot, u"/srv/pc/e");
    EXPECT_EQ(e->type, DRIVE_REMOTE);
    EXPECT_EQ(map.driveType(QLatin1Char('F')), DRIVE_NO_ROOT_DIR);
}

TEST(DriveSpec, EveryKindWord)
{
    const DriveMap map = DriveMap::fromSpec(
        QStringLiteral("A=/a,removable;B=/b,fixed;C=/c,network;D=/d,cdrom;E=/e,RAMDISK;F=/f,"));
    EXPECT_EQ(map.driveType(QLatin1Char('A')), DRIVE_REMOVABLE);
    EXPECT_EQ(map.driveType(QLatin1Char('B')), DRIVE_FIXED);
    EXPECT_EQ(map.driveType(QLatin1Char('C')), DRIVE_REMOTE);
    EXPECT_EQ(map.driveType(QLatin1Char('D')), DRIVE_CDROM);
    EXPECT_EQ(map.driveType(QLatin1Char('E')), DRIVE_RAMDISK);
    EXPECT_EQ(map.driveType(QLatin1Char('F')), DRIVE_FIXED);
}

TEST(DriveSpec, MalformedEntriesAreReportedOnceAndTheRestCounts)
{
    const QStringList bad = {QStringLiteral("1=/x"),
                             QStringLiteral("E/x"),
                             QStringLiteral("F=relative/x"),
                             QStringLiteral("G=/x,floppy"),
                             QStringLiteral("H=/x,fixed,TWELVE_CHARS"),
                             QStringLiteral("I=/x,fixed,L,XYZ"),
                             QStringLiteral("J=/x,fixed,L,1234567"),
                             QStringLiteral("K=/x,fixed,L,12345678,extra"),
                             QStringLiteral("LM=/x"),
                             QStringLiteral("C=/second")};
    const QString spec = QStringLiteral("C=/first;") + bad.join(u';') + QStringLiteral(";Z=/z,,ELEVEN_CHAR");

    testing::internal::CaptureStderr();
    QStringList problems;
    const DriveMap map = DriveMap::fromSpec(spec, &problems);
    const QString err = QString::fromStdString(testing::internal::GetCapturedStderr());

    ASSERT_EQ(map.drives().size(), 2u);
    EXPECT_EQ(map.find(QLatin1Char('C'))->nativeRoot, u"/first");
    EXPECT_EQ(map.find(QLatin1Char('Z'))->label, u"ELEVEN_CHAR");
    ASSERT_EQ(problems.size(), bad.size());
    for (int i = 0; i < bad.size(); ++i) {
        EXPECT_TRUE(problems[i].contains(bad[i])) << problems[i].toStdString();
        EXPECT_EQ(err.count(QLatin1Char('"') + bad[i] + QLatin1Char('"')), 1) << bad[i].toStdString();
    }
    // Each report names the reason, not only the entry.
    EXPECT_TRUE(err.contains(u"kind"));
    EXPECT_TRUE(err.contains(u"11 characters"));
    EXPECT_TRUE(err.contains(u"8 hexadecimal"));
}

TEST(DriveSpec, VariableReplacesDetectionEntirely)
{
    {
        drives_test::ScopedDrives drives(QStringLiteral("M=/srv/m,ramdisk"));
        const DriveMap &map = drives.map();
        ASSERT_EQ(map.drives().size(), 1u);
        EXPECT_EQ(map.driveType(QLatin1Char('M')), DRIVE_RAMDISK);
        EXPECT_EQ(map.driveType(QLatin1Char('C')), DRIVE_NO_ROOT_DIR);
    }
    {
        // Blank counts as unset: the mount table is used again, and it always has C:.
        drives_test::ScopedDrives drives(QStringLiteral("  "));
        EXPECT_EQ(drives.map().find(QLatin1Char('C'))->nativeRoot, u"/");
    }
}
