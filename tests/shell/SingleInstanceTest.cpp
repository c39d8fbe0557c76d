// One running program per user: a later start raises the first and ends without a window.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

class SingleInstanceTest : public ::testing::Test
{
protected:
    SingleInstanceTest()
    {
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(tmp.path()));
    }
    ~SingleInstanceTest() override { qputenv("XDG_RUNTIME_DIR", m_oldRuntime); }
    QTemporaryDir tmp;

private:
    QByteArray m_oldRuntime;
};

TEST_F(SingleInstanceTest, ALaterInstanceAsksTheFirstToComeToTheFront)
{
    platform::SingleInstance first("lv-test");
    ASSERT_FALSE(first.previousInstanceRuns());
    QSignalSpy raised(&first, &platform::SingleInstance::raiseRequested);
    platform::SingleInstance later("lv-test");
    EXPECT_TRUE(later.previousInstanceRuns());
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 10000);
    // Another name does not meet it.
    platform::SingleInstance other("lv-test-other");
    EXPECT_FALSE(other.previousInstanceRuns());
}

TEST_F(SingleInstanceTest, AStaleLockLeftByACrashedInstanceDoesNotBlock)
{
    // A lock whose process is gone.
    const QString lock = tmp.filePath(QStringLiteral("lv-test-%1.lock").arg(getuid()));
    QFile f(lock);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("2147483000\nlumavista\n" + QHostInfo::localHostName().toUtf8() + "\n");
    f.close();
    platform::SingleInstance first("lv-test");
    EXPECT_FALSE(first.previousInstanceRuns());
}

TEST_F(SingleInstanceTest, TheRealProgramEndsAtItsSecondStartWithoutAWindow)
{
    QTemporaryDir config;
    QDir().mkpath(config.path());
    QFile ini(config.filePath("LUMA.INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Lumavista]\nFirst_Time=0\n");
    ini.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LUMAVISTA_CONFIG_DIR", config.path());
    env.insert("LUMAVISTA_DRIVES", "C=" + config.path());
    env.insert("XDG_RUNTIME_DIR", tmp.path());

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(LUMAVISTA_BINARY, {});
    ASSERT_TRUE(first.waitForStarted());
    const QString socket = tmp.filePath(QStringLiteral("lumavista-%1.sock").arg(getuid()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(LUMAVISTA_BINARY, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}
