// The folder watch: what another program does to the watched folder arrives as one signal per
// burst; deeper folders and dropped watches stay silent.
#include "platform/watch/FolderWatch.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using platform::FolderWatch;

namespace {

class FolderWatchTest : public ::testing::Test
{
protected:
    FolderWatchTest() { watch.setSettleMilliseconds(30); }
    QString path(const QString &rel) const { return tmp.path() + '/' + rel; }
    void write(const QString &rel, const QByteArray &data = "x")
    {
        QFile f(path(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    // The signals that arrive within ms (after the settle time has run out).
    int signalsWithin(QSignalSpy &spy, int ms)
    {
        spy.wait(ms);
        QTest::qWait(80);
        return int(spy.count());
    }

    QTemporaryDir tmp;
    FolderWatch watch;
};

} // namespace

TEST_F(FolderWatchTest, EachKindOfChangeInTheFolderIsReportedOncePerBurst)
{
    QDir().mkpath(path("w/deeper"));
    write("w/old.bmp");
    ASSERT_TRUE(watch.watch(path("w")));
    EXPECT_TRUE(watch.isWatching());
    QSignalSpy spy(&watch, &FolderWatch::changed);

    // Several files at once: one signal.
    for (int i = 0; i < 5; ++i)
        write(QStringLiteral("w/new%1.bmp").arg(i));
    EXPECT_EQ(signalsWithin(spy, 1000), 1);
    EXPECT_FALSE(spy.at(0).at(0).toBool());

    const auto reported = [&](auto change) {
        spy.clear();
        change();
        return signalsWithin(spy, 1000) == 1;
    };
    EXPECT_TRUE(reported([&] { QFile::remove(path("w/new0.bmp")); }));
    EXPECT_TRUE(reported([&] { QFile::rename(path("w/new1.bmp"), path("w/renamed.bmp")); }));
    EXPECT_TRUE(reported([&] { write("w/old.bmp", "rewritten with another size"); }));
    EXPECT_TRUE(reported([&] { QFile::rename(path("w/new2.bmp"), path("moved-out.bmp")); }));
    EXPECT_TRUE(reported([&] { QFile::rename(path("moved-out.bmp"), path("w/back.bmp")); }));

    // Inside a sub-folder: nothing.
    spy.clear();
    write("w/deeper/inner.bmp");
    EXPECT_EQ(signalsWithin(spy, 300), 0);
}

TEST_F(FolderWatchTest, OnlyTheLastFolderIsWatchedAndAGoneFolderSaysSo)
{
    QDir().mkpath(path("a"));
    QDir().mkpath(path("b"));
    ASSERT_TRUE(watch.watch(path("a")));
    ASSERT_TRUE(watch.watch(path("b")));
    EXPECT_EQ(watch.folder(), path("b"));
    QSignalSpy spy(&watch, &FolderWatch::changed);
    write("a/x.bmp");
    EXPECT_EQ(signalsWithin(spy, 300), 0);
    write("b/x.bmp");
    EXPECT_EQ(signalsWithin(spy, 1000), 1);

    spy.clear();
    ASSERT_TRUE(QDir(path("b")).removeRecursively());
    ASSERT_GE(signalsWithin(spy, 1000), 1);
    EXPECT_TRUE(spy.last().at(0).toBool());
    EXPECT_FALSE(watch.isWatching());

    watch.stop();
    EXPECT_FALSE(watch.watch(path("missing")));
    EXPECT_FALSE(watch.isWatching());
    spy.clear();
    ASSERT_TRUE(watch.watch(path("a")));
    watch.stop();
    write("a/y.bmp");
    EXPECT_EQ(signalsWithin(spy, 300), 0);
}
