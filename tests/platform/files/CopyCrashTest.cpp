// Copies that end badly: a process killed in the middle of a copy, a full disk, a file too large
// for its destination. Each runs in a forked child; the folders are checked afterwards.
#include "FilesTestSupport.h"

#include "platform/files/CopyEngine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace files_test;
using platform::CopyFailure;
using platform::CopyOutcome;
using platform::ReplaceAnswer;

namespace {

constexpr qsizetype MiB = 1024 * 1024;

class CopyCrashTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_source = m_dir.filePath(QStringLiteral("source.avi"));
        m_data = pattern(48 * MiB, 1);
        writeFile(m_source, m_data);
        QDir().mkpath(dest());
        m_old = pattern(MiB, 2);
    }
    QString dest() const { return m_dir.filePath(QStringLiteral("dest")); }
    QString target() const { return dest() + QStringLiteral("/source.avi"); }

    // Starts a child that replaces the target; onProgress runs in the child at each report.
    pid_t startCopy(const std::function<void(int)> &onProgress = {}) const
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ScriptedObserver observer;
            observer.answers = {ReplaceAnswer::Yes};
            observer.onProgress = onProgress;
            const platform::CopyResult result = platform::CopyEngine(observer).copyFile(m_source, target());
            ::_exit(result.files[0].outcome == CopyOutcome::Copied ? 0 : 1);
        }
        return pid;
    }

    QTemporaryDir m_dir;
    QString m_source;
    QByteArray m_data;
    QByteArray m_old;
};

TEST_F(CopyCrashTest, KilledInTheMiddleTheOldTargetStaysAndNothingIsLeft)
{
    for (int killAt : {1, 3, 5}) {
        SCOPED_TRACE(killAt);
        writeFile(target(), m_old);
        const pid_t pid = startCopy([killAt](int call) {
            if (call == killAt)
                ::raise(SIGKILL);
        });
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the copy was not killed";
        EXPECT_EQ(readFile(target()), m_old);
        EXPECT_EQ(namesIn(dest()), QStringList{QStringLiteral("source.avi")});
    }
}

TEST_F(CopyCrashTest, KilledAtRandomMomentsTheTargetIsOldOrWhole)
{
    // How long one copy takes here, so the kills fall before, during and after it.
    writeFile(target(), m_old);
    QElapsedTimer timer;
    timer.start();
    const pid_t timed = startCopy();
    int status = 0;
    ASSERT_EQ(::waitpid(timed, &status, 0), timed);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const qint64 copyMicros = std::max<qint64>(timer.nsecsElapsed() / 1000, 2000);

    int old = 0, whole = 0, hidden = 0;
    QRandomGenerator random(20240611);
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        writeFile(target(), m_old);
        const pid_t pid = startCopy();
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(copyMicros * 5 / 4)));
        ::kill(pid, SIGKILL);
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        const QByteArray now = readFile(target());
        if (now == m_old)
            ++old;
        else if (now == m_data)
            ++whole;
        else
            ADD_FAILURE() << "a target of " << now.size()
                          << " bytes that is neither the old file nor the copy";
        // Killed between the two steps of a replace, the whole copy may wait under a hidden name;
        // never a part of it.
        for (const QString &name : namesIn(dest())) {
            if (name == QLatin1String("source.avi"))
                continue;
            EXPECT_TRUE(name.startsWith(QLatin1String(".lumavista-copy-"))) << name.toStdString();
            EXPECT_EQ(readFile(dest() + QLatin1Char('/') + name), m_data) << name.toStdString();
            QFile::remove(dest() + QLatin1Char('/') + name);
            ++hidden;
        }
    }
    RecordProperty("old", old);
    RecordProperty("whole", whole);
    RecordProperty("hidden", hidden);
}

// A full disk: a 64 KiB tmpfs in the child's own mount namespace, so nothing leaks to the machine.
TEST(CopyFullDiskTest, FullDiskFailsCleanlyAndKeepsTheTarget)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("big.bmp"));
    writeFile(source, pattern(MiB, 3));
    const QString small = dir.filePath(QStringLiteral("small"));
    QDir().mkpath(small);

    EXPECT_CHILD_PASSES(runInChild([&]() -> QString {
        if (const QString why = mountPrivateTmpfs(small, "size=64k"); !why.isEmpty())
            return QStringLiteral("SKIP: ") + why;
        const QByteArray old = pattern(8192, 4);
        const QString target = small + QStringLiteral("/big.bmp");
        QFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(old) != old.size())
            return QStringLiteral("cannot write the old target");
        file.close();
        struct statvfs before, after;
        ::statvfs(QFile::encodeName(small).constData(), &before);

        ScriptedObserver observer;
        observer.answers = {ReplaceAnswer::Yes};
        platform::CopyEngine engine(observer);
        platform::CopyResult result = engine.copyFile(source, target);
        QString problems;
        if (result.files[0].failure != CopyFailure::DiskFull || result.files[0].status.error().code != ENOSPC)
            problems +=
                QStringLiteral("replacing: %1; ").arg(QString::fromStdString(describe(result.files[0])));
        if (readFile(target) != old)
            problems += QStringLiteral("the old target changed; ");
        result = engine.copyFile(source, small + QStringLiteral("/other.bmp"));
        if (result.files[0].failure != CopyFailure::DiskFull)
            problems +=
                QStringLiteral("new file: %1; ").arg(QString::fromStdString(describe(result.files[0])));
        if (namesIn(small) != QStringList{QStringLiteral("big.bmp")})
            problems += QStringLiteral("left behind: %1; ").arg(namesIn(small).join(QLatin1Char(' ')));
        ::statvfs(QFile::encodeName(small).constData(), &after);
        if (after.f_bfree != before.f_bfree)
            problems +=
                QStringLiteral("free blocks %1 before, %2 after; ").arg(before.f_bfree).arg(after.f_bfree);
        return problems;
    }));
}

// FAT's 4 GiB limit and a process's file-size limit both answer EFBIG; the limit stands in here.
TEST(CopyFullDiskTest, FileTooLargeForTheTargetFailsCleanly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("big.avi"));
    writeFile(source, pattern(MiB, 5));
    const QString target = dir.filePath(QStringLiteral("copy.avi"));
    const QByteArray old = pattern(4096, 6);
    writeFile(target, old);

    EXPECT_CHILD_PASSES(runInChild([&]() -> QString {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {256 * 1024, 256 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return QStringLiteral("SKIP: no file-size limit: %1").arg(qt_error_string(errno));
        ScriptedObserver observer;
        observer.answers = {ReplaceAnswer::Yes};
        const platform::CopyResult result = platform::CopyEngine(observer).copyFile(source, target);
        QString problems;
        if (result.files[0].failure != CopyFailure::TooLarge || result.files[0].status.error().code != EFBIG)
            problems += QString::fromStdString(describe(result.files[0])) + QStringLiteral("; ");
        if (readFile(target) != old)
            problems += QStringLiteral("the old target changed; ");
        if (namesIn(dir.path()) != (QStringList{QStringLiteral("big.avi"), QStringLiteral("copy.avi")}))
            problems += QStringLiteral("left behind: %1").arg(namesIn(dir.path()).join(QLatin1Char(' ')));
        return problems;
    }));
}

} // namespace
