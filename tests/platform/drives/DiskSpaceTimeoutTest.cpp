// Free space asked with a time limit, and the birth time of files.
#include "DrivesTestSupport.h"
#include "platform/drives/DriveMap.h"
#include "platform/drives/FileTimes.h"
#include "platform/drives/VolumeQuery.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace platform;
using namespace std::chrono_literals;

namespace {

DriveMapping driveAt(const QString &root)
{
    DriveMapping d;
    d.letter = QLatin1Char('C');
    d.nativeRoot = root;
    return d;
}

DiskSpace answer(bool ok, uint64_t total, uint64_t free)
{
    DiskSpace s;
    s.ok = ok;
    s.totalBytes = total;
    s.freeBytes = free;
    return s;
}

} // namespace

TEST(DiskSpaceWithin, AQueryThatDoesNotAnswerInTimeFails)
{
    // The query outlives the call: it owns what it touches.
    const DiskSpace s = queryDiskSpaceWithin(driveAt("/"), 50ms, [](const DriveMapping &) {
        std::this_thread::sleep_for(1s);
        return answer(true, 1000, 10);
    });
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.totalBytes, 0u);
    EXPECT_EQ(s.freeBytes, 0u);
}

TEST(DiskSpaceWithin, AnAnswerInTimeIsPassedOn)
{
    const std::pair<DiskSpace, const char *> cases[] = {
        {answer(true, 5368709120ULL, 1024), "answered"},
        {answer(false, 0, 0), "failed"},
        {answer(true, UINT64_MAX, UINT64_MAX), "largest"},
    };
    for (const auto &[given, what] : cases) {
        SCOPED_TRACE(what);
        QString askedFor;
        const DiskSpace s =
            queryDiskSpaceWithin(driveAt("/somewhere"), 60s, [&given, &askedFor](const DriveMapping &d) {
                askedFor = d.nativeRoot;
                return given;
            });
        EXPECT_EQ(s.ok, given.ok);
        EXPECT_EQ(s.totalBytes, given.totalBytes);
        EXPECT_EQ(s.freeBytes, given.freeBytes);
        EXPECT_EQ(askedFor, "/somewhere");
    }
}

TEST(DiskSpaceWithin, MappedDrivesThroughTheMap)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const DriveMap map = DriveMap::fromSpec(QStringLiteral("C=%1;M=%1/missing").arg(tmp.path()));
    const DiskSpace c = map.diskSpace(QLatin1Char('C'), 60s);
    ASSERT_TRUE(c.ok);
    EXPECT_GT(c.totalBytes, 0u);
    EXPECT_LE(c.freeBytes, c.totalBytes);
    EXPECT_FALSE(map.diskSpace(QLatin1Char('M'), 60s).ok);
    EXPECT_FALSE(map.diskSpace(QLatin1Char('Q'), 60s).ok);
}

TEST(FileBirthTime, KeptApartFromTheLastWrite)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString path = tmp.filePath("a.bmp");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-60);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        ASSERT_TRUE(
            f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
    }
    const QDateTime born = fileBirthTime(path);
    if (!born.isValid())
        GTEST_SKIP() << "this file system keeps no birth time";
    EXPECT_GE(born, before);
    EXPECT_LE(born, QDateTime::currentDateTime().addSecs(60));
}

TEST(FileBirthTime, NothingForWhatIsNotThere)
{
    QTemporaryDir tmp;
    EXPECT_FALSE(fileBirthTime(tmp.filePath("gone.bmp")).isValid());
    EXPECT_FALSE(fileBirthTime(QString()).isValid());
}
