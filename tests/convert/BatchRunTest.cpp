// Jobs run on a pool: pictures decoded on worker threads come out as the viewer decodes them, the
// pool never outgrows the cores or the jobs, and a run reports every job once.
#include "convert/BatchRun.h"
#include "ConvertTestSupport.h"
#include "components/TPicture.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

using converttest::filesBelow;
using converttest::fixture;
using converttest::samePixels;

namespace {

void runToTheEnd(convert::BatchRun &run)
{
    QEventLoop loop;
    QObject::connect(&run, &convert::BatchRun::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    run.start();
    loop.exec();
    ASSERT_TRUE(run.isFinished());
}

} // namespace

TEST(ConvertBatchRun, BitmapsConvertOnWorkerThreadsAsTheViewerShowsThem)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QList<convert::Job> jobs;
    for (int i = 0; i < 8; ++i) {
        const QString copy = tmp.filePath(QString("in/rose%1.bmp").arg(i));
        QDir().mkpath(tmp.filePath("in"));
        ASSERT_TRUE(QFile::copy(fixture("rose.bmp"), copy));
        jobs.append({copy, tmp.filePath("out"), "png"});
    }
    convert::BatchRun run(jobs, {}, 2);
    QList<int> started;
    QObject::connect(&run, &convert::BatchRun::jobStarted, [&started](int i) { started << i; });
    runToTheEnd(run);
    EXPECT_EQ(run.ended(), 8);
    EXPECT_EQ(started.size(), 8);
    TPicture viewer;
    ASSERT_TRUE(viewer.loadFromFile(fixture("rose.bmp")).ok());
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(run.outcomes()[i].state, convert::JobOutcome::State::Converted)
            << run.outcomes()[i].error.message.toStdString();
        EXPECT_EQ(run.outcomes()[i].output, tmp.filePath(QString("out/rose%1.png").arg(i)));
        EXPECT_TRUE(samePixels(QImage(run.outcomes()[i].output), viewer.image()));
    }
}

TEST(ConvertBatchRun, ThePoolIsNoLargerThanTheCoresOrTheJobs)
{
    const int cores = std::max(1, QThread::idealThreadCount());
    const QList<convert::Job> one{{"a.bmp", "/tmp", "png"}};
    const QList<convert::Job> many(64, convert::Job{"a.bmp", "/tmp", "png"});
    EXPECT_EQ(convert::BatchRun(one, {}).threadCount(), 1);
    EXPECT_EQ(convert::BatchRun(many, {}).threadCount(), cores);
    EXPECT_EQ(convert::BatchRun(many, {}, 1).threadCount(), 1);
    EXPECT_EQ(convert::BatchRun(many, {}, 1000).threadCount(), cores);
}

TEST(ConvertBatchRun, ARunWithoutJobsEndsAndCancelledJobsAreSkippedWithNothingWritten)
{
    convert::BatchRun empty({}, {});
    runToTheEnd(empty);
    EXPECT_TRUE(empty.isFinished());

    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    convert::BatchRun run({{fixture("rose.bmp"), tmp.filePath("out"), "png"},
                           {fixture("rose.pcx"), tmp.filePath("out"), "png"}},
                          {}, 1);
    run.cancel(); // before the start: nothing runs
    runToTheEnd(run);
    EXPECT_TRUE(run.cancelRequested());
    for (const convert::JobOutcome &o : run.outcomes())
        EXPECT_EQ(o.state, convert::JobOutcome::State::Skipped);
    EXPECT_TRUE(filesBelow(tmp.path()).isEmpty());
}

TEST(ConvertBatchRun, AFailureToWriteStopsTheRunAndTheOthersAreSkipped)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QFile taken(tmp.filePath("taken"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    QList<convert::Job> jobs(20, convert::Job{fixture("rose.pcx"), tmp.filePath("taken/out"), "png"});
    convert::BatchRun run(jobs, {}, 1);
    runToTheEnd(run);
    ASSERT_TRUE(run.stopReason().has_value());
    EXPECT_EQ(run.stopReason()->kind, platform::Error::Kind::Io);
    EXPECT_EQ(run.outcomes()[0].state, convert::JobOutcome::State::Failed);
    for (int i = 1; i < 20; ++i)
        EXPECT_EQ(run.outcomes()[i].state, convert::JobOutcome::State::Skipped) << i;
    EXPECT_EQ(filesBelow(tmp.path()), QStringList({"taken"}));
}
