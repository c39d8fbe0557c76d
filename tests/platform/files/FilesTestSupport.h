// Helpers for the file-operation tests: files with known bytes in real temporary folders, a
// scripted copy observer, environment variables for the length of a test, and work done in a forked
// child (killed copies, private mounts, file-size limits) whose verdict comes back to the test.
#pragma once

#include "../../support/AsOrdinaryUser.h"
#include "platform/files/CopyEngine.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace files_test {

// size bytes that differ from those of any other seed.
QByteArray pattern(qsizetype size, int seed);
void writeFile(const QString &path, const QByteArray &data);
QByteArray readFile(const QString &path);
// Every name in folder, hidden ones included, sorted.
QStringList namesIn(const QString &folder);
struct stat statOf(const QString &path);
// Sets the modification time (and the access time) to the nanosecond.
void setTimes(const QString &path, int64_t seconds, long nanoseconds);
// Lets user 65534 reach and write into folder (for the tests that act as an ordinary user).
void openToEveryone(const QString &folder);
void chownToNobody(const QString &path);

// Answers the replace questions from a script and records everything it is told.
class ScriptedObserver : public platform::CopyObserver
{
public:
    std::vector<platform::ReplaceAnswer> answers; // one per question, in order
    int cancelAtProgress = -1;                    // the progress call (0-based) that answers false
    bool continueAfterFailures = false;
    std::function<void(int call)> onProgress; // runs before each progress answer

    QStringList questions; // "source -> target"
    std::vector<platform::CopyProgress> progressLog;
    int failuresSeen = 0;

    platform::ReplaceAnswer confirmReplace(const QString &source, const QString &target) override;
    bool progress(const platform::CopyProgress &progress) override;
    bool continueAfterFailure(const platform::CopyFileReport &report) override;
};

// Sets an environment variable and puts the old value back afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// What a child process said: empty when its checks passed.
struct ChildVerdict
{
    bool skipped = false; // the child could not set up what it needed (message says why)
    bool killed = false;  // a signal ended it
    QString message;
    bool passed() const { return !skipped && !killed && message.isEmpty(); }
};

// Runs body in a forked child; body returns "" when all is well, a failure text otherwise, or
// "SKIP: why" when the machine cannot do what it needs.
ChildVerdict runInChild(const std::function<QString()> &body);
// Inside a child: a tmpfs of its own mount namespace on folder (gone when the child ends). Returns
// "" or the reason it could not be made.
QString mountPrivateTmpfs(const QString &folder, const QByteArray &options);

// A report in words, for failure messages.
std::string describe(const platform::CopyFileReport &report);

} // namespace files_test

// Expects a child's verdict to be a pass, or skips the test with the child's reason.
#define EXPECT_CHILD_PASSES(verdict)                                                                         \
    do {                                                                                                     \
        const files_test::ChildVerdict v_ = (verdict);                                                       \
        if (v_.skipped)                                                                                      \
            GTEST_SKIP() << v_.message.toStdString();                                                        \
        EXPECT_FALSE(v_.killed) << "the child died: " << v_.message.toStdString();                           \
        EXPECT_TRUE(v_.message.isEmpty()) << v_.message.toStdString();                                       \
    } while (false)
