// The copy engine against real temporary folders: what lands where, the replace question, progress,
// cancelling, copies onto themselves, and failures that leave the folders as they were.
#include "FilesTestSupport.h"

#include "platform/files/CopyEngine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <unistd.h>

using namespace files_test;
using platform::CopyFailure;
using platform::CopyOutcome;
using platform::ReplaceAnswer;

namespace {

constexpr qsizetype MiB = 1024 * 1024;

class CopyEngineTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString makeFolder(const QString &name) const
    {
        QDir().mkpath(path(name));
        return path(name);
    }
    QString makeFile(const QString &name, const QByteArray &data) const
    {
        writeFile(path(name), data);
        return path(name);
    }

    QTemporaryDir m_dir;
    ScriptedObserver m_observer;
    platform::CopyEngine m_engine{m_observer};
};

TEST_F(CopyEngineTest, NewFileGetsTheBytesTheModeAndTheTimes)
{
    const QByteArray data = pattern(3 * MiB + 17, 1);
    const QString source = makeFile(QStringLiteral("source.bmp"), data);
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0604), 0);
    setTimes(source, 981173045, 123456789);
    const QString target = makeFolder(QStringLiteral("out")) + QStringLiteral("/copy.bmp");

    const platform::CopyResult result = m_engine.copyFile(source, target);

    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Copied) << describe(result.files[0]);
    EXPECT_TRUE(result.ok());
    EXPECT_FALSE(result.anyAborted());
    EXPECT_EQ(result.files[0].bytes, uint64_t(data.size()));
    // Looked at before the copy is read: reading it moves its access time.
    const struct stat copied = statOf(target);
    EXPECT_EQ(copied.st_mode & 07777, 0604u);
    EXPECT_EQ(copied.st_mtim.tv_sec, 981173045);
    EXPECT_EQ(copied.st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(copied.st_atim.tv_sec, 981173045 - 3600);
    EXPECT_EQ(readFile(target), data);
    EXPECT_EQ(namesIn(path(QStringLiteral("out"))), QStringList{QStringLiteral("copy.bmp")});
    EXPECT_TRUE(m_observer.questions.isEmpty());
    // The source is read, never changed.
    EXPECT_EQ(readFile(source), data);
}

TEST_F(CopyEngineTest, SeveralFilesGoIntoTheFolderWithProgressWeightedByBytes)
{
    const QStringList sources = {makeFile(QStringLiteral("a.jpg"), pattern(3 * MiB, 2)),
                                 makeFile(QStringLiteral("empty.gif"), QByteArray()),
                                 makeFile(QStringLiteral("c.avi"), pattern(20 * MiB, 3))};
    const QString folder = makeFolder(QStringLiteral("dest"));

    const platform::CopyResult result = m_engine.copyIntoFolder(sources, folder);

    ASSERT_EQ(result.files.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(result.files[i].outcome, CopyOutcome::Copied) << describe(result.files[i]);
        EXPECT_EQ(result.files[i].target, folder + QLatin1Char('/') + QFileInfo(sources[i]).fileName());
        EXPECT_EQ(readFile(result.files[i].target), readFile(sources[i]));
    }
    EXPECT_EQ(namesIn(folder),
              (QStringList{QStringLiteral("a.jpg"), QStringLiteral("c.avi"), QStringLiteral("empty.gif")}));

    const auto &log = m_observer.progressLog;
    ASSERT_FALSE(log.empty());
    for (size_t i = 1; i < log.size(); ++i)
        EXPECT_LE(log[i - 1].perMille, log[i].perMille) << "at report " << i;
    EXPECT_EQ(log.back().perMille, 1000);
    // The third file starts after 3 of the 23 MiB, and is reported in the middle, not only at its ends.
    const auto third = std::find_if(log.begin(), log.end(), [](const auto &p) { return p.fileIndex == 2; });
    ASSERT_NE(third, log.end());
    EXPECT_EQ(third->perMille, 3 * 1000 / 23);
    EXPECT_EQ(third->fileCount, 3);
    EXPECT_EQ(third->source, sources[2]);
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const auto &p) {
        return p.fileIndex == 2 && p.perMille > 500 && p.perMille < 1000;
    }));
}

TEST_F(CopyEngineTest, ExistingTargetIsReplacedAfterYes)
{
    const QByteArray data = pattern(MiB, 4);
    const QString source = makeFile(QStringLiteral("new.bmp"), data);
    const QString target = makeFile(QStringLiteral("old.bmp"), pattern(4096, 5));
    m_observer.answers = {ReplaceAnswer::Yes};

    const platform::CopyResult result = m_engine.copyFile(source, target);

    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Copied) << describe(result.files[0]);
    EXPECT_EQ(m_observer.questions, QStringList{source + QStringLiteral(" -> ") + target});
    EXPECT_EQ(readFile(target), data);
    EXPECT_EQ(namesIn(m_dir.path()), (QStringList{QStringLiteral("new.bmp"), QStringLiteral("old.bmp")}));
}

TEST_F(CopyEngineTest, DeclinedReplaceLeavesTheTargetByteIdentical)
{
    const QString source = makeFile(QStringLiteral("new.bmp"), pattern(2 * MiB, 6));
    const QByteArray old = pattern(5000, 7);
    const QString target = makeFile(QStringLiteral("old.bmp"), old);
    setTimes(target, 1000000000, 5);
    const struct stat before = statOf(target);
    m_observer.answers = {ReplaceAnswer::No};

    const platform::CopyResult result = m_engine.copyFile(source, target);

    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Declined);
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.anyAborted());
    EXPECT_FALSE(result.cancelled());
    EXPECT_EQ(readFile(target), old);
    const struct stat after = statOf(target);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(namesIn(m_dir.path()), (QStringList{QStringLiteral("new.bmp"), QStringLiteral("old.bmp")}));
}

TEST_F(CopyEngineTest, AnswersToTheReplaceQuestionAmongSeveralFiles)
{
    const QString dest = makeFolder(QStringLiteral("dest"));
    QStringList sources;
    for (int i = 0; i < 3; ++i) {
        sources << makeFile(QStringLiteral("f%1.wav").arg(i), pattern(100000 + i, 10 + i));
        writeFile(dest + QStringLiteral("/f%1.wav").arg(i), pattern(50, 20 + i));
    }

    // Yes to all: one question for three existing files.
    m_observer.answers = {ReplaceAnswer::YesToAll};
    platform::CopyResult result = m_engine.copyIntoFolder(sources, dest);
    EXPECT_EQ(result.count(CopyOutcome::Copied), 3);
    EXPECT_EQ(m_observer.questions.size(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(readFile(dest + QStringLiteral("/f%1.wav").arg(i)), pattern(100000 + i, 10 + i));

    // No to one: the others are still copied, and the whole counts as aborted.
    for (int i = 0; i < 3; ++i)
        writeFile(dest + QStringLiteral("/f%1.wav").arg(i), pattern(50, 20 + i));
    ScriptedObserver second;
    second.answers = {ReplaceAnswer::No, ReplaceAnswer::Yes, ReplaceAnswer::Yes};
    result = platform::CopyEngine(second).copyIntoFolder(sources, dest);
    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Declined);
    EXPECT_EQ(result.files[1].outcome, CopyOutcome::Copied);
    EXPECT_EQ(result.files[2].outcome, CopyOutcome::Copied);
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.anyAborted());
    EXPECT_EQ(readFile(dest + QStringLiteral("/f0.wav")), pattern(50, 20));
    EXPECT_EQ(readFile(dest + QStringLiteral("/f1.wav")), pattern(100001, 11));

    // Cancel at a question: that file and the rest stay as they were.
    for (int i = 0; i < 3; ++i)
        writeFile(dest + QStringLiteral("/f%1.wav").arg(i), pattern(50, 20 + i));
    ScriptedObserver third;
    third.answers = {ReplaceAnswer::Yes, ReplaceAnswer::Cancel};
    result = platform::CopyEngine(third).copyIntoFolder(sources, dest);
    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Copied);
    EXPECT_EQ(result.files[1].outcome, CopyOutcome::Cancelled);
    EXPECT_EQ(result.files[2].outcome, CopyOutcome::NotReached);
    EXPECT_TRUE(result.cancelled());
    EXPECT_EQ(third.questions.size(), 2);
    EXPECT_EQ(readFile(dest + QStringLiteral("/f1.wav")), pattern(50, 21));
    EXPECT_EQ(readFile(dest + QStringLiteral("/f2.wav")), pattern(50, 22));
    EXPECT_EQ(namesIn(dest).size(), 3);
}

TEST_F(CopyEngineTest, CancelDuringTheCopyLeavesNoPartialFileAndTheTargetIntact)
{
    const QString source = makeFile(QStringLiteral("big.avi"), pattern(40 * MiB, 30));
    const QByteArray old = pattern(300000, 31);
    const QString dest = makeFolder(QStringLiteral("dest"));
    const QString target = dest + QStringLiteral("/big.avi");
    writeFile(target, old);
    m_observer.answers = {ReplaceAnswer::Yes};
    m_observer.cancelAtProgress = 2; // the file's start, one chunk, then Cancel after the second

    platform::CopyResult result = m_engine.copyFile(source, target);

    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Cancelled) << describe(result.files[0]);
    EXPECT_TRUE(result.cancelled());
    EXPECT_TRUE(result.anyAborted());
    EXPECT_EQ(m_observer.progressLog.size(), 3u);
    EXPECT_GT(m_observer.progressLog.back().perMille, 0); // bytes had moved when it was cancelled
    EXPECT_EQ(readFile(target), old);
    EXPECT_EQ(namesIn(dest), QStringList{QStringLiteral("big.avi")});

    // Several files: the one done stays, the one cancelled leaves nothing, the rest is not reached.
    const QString small = makeFile(QStringLiteral("small.bmp"), pattern(1000, 32));
    const QString other = makeFolder(QStringLiteral("other"));
    ScriptedObserver observer;
    observer.onProgress = [&](int) {
        if (observer.progressLog.back().fileIndex == 1 && observer.progressLog.back().perMille > 0)
            observer.cancelAtProgress = int(observer.progressLog.size()) - 1;
    };
    result = platform::CopyEngine(observer).copyIntoFolder({small, source, small}, other);
    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Copied);
    EXPECT_EQ(result.files[1].outcome, CopyOutcome::Cancelled);
    EXPECT_EQ(result.files[2].outcome, CopyOutcome::NotReached);
    EXPECT_EQ(namesIn(other), QStringList{QStringLiteral("small.bmp")});
}

TEST_F(CopyEngineTest, CopyOntoItselfIsRefusedAndTheSourceUntouched)
{
    const QByteArray data = pattern(MiB + 3, 40);
    const QString source = makeFile(QStringLiteral("photo.jpg"), data);
    setTimes(source, 1200000000, 42);
    const struct stat before = statOf(source);
    const QString other = makeFolder(QStringLiteral("other"));
    const QString symlink = other + QStringLiteral("/link.jpg");
    const QString hardlink = other + QStringLiteral("/hard.jpg");
    ASSERT_TRUE(QFile::link(source, symlink));
    ASSERT_EQ(::link(QFile::encodeName(source).constData(), QFile::encodeName(hardlink).constData()), 0);

    const std::vector<std::pair<QString, QString>> cases = {
        {source, source}, {source, symlink}, {source, hardlink}, {symlink, source}, {hardlink, source}};
    for (const auto &[from, to] : cases) {
        SCOPED_TRACE(from.toStdString() + " -> " + to.toStdString());
        const platform::CopyResult result = m_engine.copyFile(from, to);
        EXPECT_EQ(result.files[0].outcome, CopyOutcome::Failed);
        EXPECT_EQ(result.files[0].failure, CopyFailure::SameFile);
        EXPECT_FALSE(result.files[0].status.message().isEmpty());
        EXPECT_FALSE(result.ok());
    }
    // Into its own folder, as "copy the selected files" may be asked to do.
    const platform::CopyResult intoOwn = m_engine.copyIntoFolder({source}, m_dir.path());
    EXPECT_EQ(intoOwn.files[0].failure, CopyFailure::SameFile);

    EXPECT_TRUE(m_observer.questions.isEmpty());
    EXPECT_EQ(readFile(source), data);
    const struct stat after = statOf(source);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, 42);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(QFile::symLinkTarget(symlink), source);
    EXPECT_EQ(namesIn(m_dir.path()), (QStringList{QStringLiteral("other"), QStringLiteral("photo.jpg")}));
    EXPECT_EQ(namesIn(other), (QStringList{QStringLiteral("hard.jpg"), QStringLiteral("link.jpg")}));
}

TEST_F(CopyEngineTest, DestinationIsAFileNameOrAFolder)
{
    const QByteArray data = pattern(70000, 50);
    const QString source = makeFile(QStringLiteral("clip.avi"), data);
    const QString folder = makeFolder(QStringLiteral("folder"));

    EXPECT_TRUE(m_engine.copy({source}, path(QStringLiteral("renamed.avi"))).ok());
    EXPECT_EQ(readFile(path(QStringLiteral("renamed.avi"))), data);
    EXPECT_TRUE(m_engine.copy({source}, folder).ok());
    EXPECT_EQ(readFile(folder + QStringLiteral("/clip.avi")), data);
    // A save dialog that returns a folder still copies into it.
    const QString second = makeFolder(QStringLiteral("second"));
    EXPECT_TRUE(m_engine.copyFile(source, second + QLatin1Char('/')).ok());
    EXPECT_EQ(namesIn(second), QStringList{QStringLiteral("clip.avi")});
}

TEST_F(CopyEngineTest, FailuresAreReportedPerFileAndStopTheRestUnlessTold)
{
    const QString good = makeFile(QStringLiteral("good.bmp"), pattern(1000, 60));
    const QString missing = path(QStringLiteral("missing.bmp"));
    const QString folderSource = makeFolder(QStringLiteral("a-folder.bmp"));
    const QString dest = makeFolder(QStringLiteral("dest"));

    platform::CopyResult result = m_engine.copyIntoFolder({missing, folderSource, good}, dest);
    EXPECT_EQ(result.files[0].outcome, CopyOutcome::Failed);
    EXPECT_EQ(result.files[0].failure, CopyFailure::SourceMissing);
    EXPECT_EQ(result.files[0].status.error().code, ENOENT);
    EXPECT_EQ(result.files[0].status.error().kind, platform::Error::Kind::FileOpen);
    EXPECT_EQ(result.files[1].outcome, CopyOutcome::NotReached);
    EXPECT_EQ(result.files[2].outcome, CopyOutcome::NotReached);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(m_observer.failuresSeen, 1);
    EXPECT_TRUE(namesIn(dest).isEmpty());

    ScriptedObserver goOn;
    goOn.continueAfterFailures = true;
    result = platform::CopyEngine(goOn).copyIntoFolder({missing, folderSource, good}, dest);
    EXPECT_EQ(result.files[1].failure, CopyFailure::SourceIsFolder);
    EXPECT_EQ(result.files[2].outcome, CopyOutcome::Copied);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(goOn.failuresSeen, 2);
    EXPECT_EQ(namesIn(dest), QStringList{QStringLiteral("good.bmp")});

    result = m_engine.copyFile(good, path(QStringLiteral("no/such/folder/x.bmp")));
    EXPECT_EQ(result.files[0].failure, CopyFailure::TargetFolderMissing);
    result = m_engine.copyFile(good, good + QStringLiteral("/x.bmp")); // a file on the way
    EXPECT_EQ(result.files[0].failure, CopyFailure::TargetFolderMissing);

    // A folder in the way of the target is never replaced, and nobody is asked.
    makeFolder(QStringLiteral("dest2/good.bmp"));
    result = m_engine.copyIntoFolder({good}, path(QStringLiteral("dest2")));
    EXPECT_EQ(result.files[0].failure, CopyFailure::TargetIsFolder);
    EXPECT_TRUE(m_observer.questions.isEmpty());
}

// Root passes every permission check: these act as user 65534.
class CopyEnginePermissionTest : public CopyEngineTest
{
protected:
    void SetUp() override
    {
        CopyEngineTest::SetUp();
        openToEveryone(m_dir.path());
    }
};

TEST_F(CopyEnginePermissionTest, UnreadableSourceFailsAndCreatesNothing)
{
    const QString source = makeFile(QStringLiteral("secret.bmp"), pattern(5000, 70));
    ::chmod(QFile::encodeName(source).constData(), 0);
    const QString dest = makeFolder(QStringLiteral("dest"));
    openToEveryone(dest);

    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "still root: permissions are not checked";
    const platform::CopyResult result = m_engine.copyIntoFolder({source}, dest);
    EXPECT_EQ(result.files[0].failure, CopyFailure::SourceUnreadable) << describe(result.files[0]);
    EXPECT_EQ(result.files[0].status.error().code, EACCES);
    EXPECT_TRUE(namesIn(dest).isEmpty());
}

TEST_F(CopyEnginePermissionTest, UnwritableFolderFailsWithoutAskingAndKeepsTheTarget)
{
    const QString source = makeFile(QStringLiteral("new.bmp"), pattern(5000, 71));
    openToEveryone(source);
    const QString dest = makeFolder(QStringLiteral("dest"));
    const QByteArray old = pattern(64, 72);
    writeFile(dest + QStringLiteral("/new.bmp"), old);
    ::chmod(QFile::encodeName(dest + QStringLiteral("/new.bmp")).constData(), 0666);
    ::chmod(QFile::encodeName(dest).constData(), 0555);

    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "still root: permissions are not checked";
    const platform::CopyResult result = m_engine.copyIntoFolder({source}, dest);
    EXPECT_EQ(result.files[0].failure, CopyFailure::TargetUnwritable) << describe(result.files[0]);
    EXPECT_EQ(result.files[0].status.error().code, EACCES);
    EXPECT_TRUE(m_observer.questions.isEmpty());
    EXPECT_EQ(readFile(dest + QStringLiteral("/new.bmp")), old);
    EXPECT_EQ(namesIn(dest), QStringList{QStringLiteral("new.bmp")});
}

TEST_F(CopyEnginePermissionTest, ReadOnlyTargetIsNeverReplaced)
{
    const QString source = makeFile(QStringLiteral("new.bmp"), pattern(5000, 73));
    openToEveryone(source);
    const QString dest = makeFolder(QStringLiteral("dest"));
    openToEveryone(dest);
    const QString target = dest + QStringLiteral("/new.bmp");
    const QByteArray old = pattern(64, 74);
    writeFile(target, old);
    chownToNobody(target);
    ::chmod(QFile::encodeName(target).constData(), 0444);

    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "still root: permissions are not checked";
    const platform::CopyResult result = m_engine.copyFile(source, target);
    EXPECT_EQ(result.files[0].failure, CopyFailure::TargetReadOnly) << describe(result.files[0]);
    EXPECT_TRUE(m_observer.questions.isEmpty());
    EXPECT_EQ(readFile(target), old);
    EXPECT_EQ(namesIn(dest), QStringList{QStringLiteral("new.bmp")});
}

} // namespace
