#include "FilesTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace files_test {

using platform::CopyOutcome;

QByteArray pattern(qsizetype size, int seed)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(quint32(seed) * 2654435761u + 1);
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    for (qsizetype i = size / 4 * 4; i < size; ++i)
        data[i] = char(seed + i);
    return data;
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(data), data.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

struct stat statOf(const QString &path)
{
    struct stat st;
    std::memset(&st, 0, sizeof st);
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

void setTimes(const QString &path, int64_t seconds, long nanoseconds)
{
    const struct timespec times[2] = {{seconds - 3600, nanoseconds / 2}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

void openToEveryone(const QString &folder)
{
    ::chmod(QFile::encodeName(folder).constData(), 0777);
}

void chownToNobody(const QString &path)
{
    if (::geteuid() == 0)
        ::lchown(QFile::encodeName(path).constData(), 65534, 65534);
}

platform::ReplaceAnswer ScriptedObserver::confirmReplace(const QString &source, const QString &target)
{
    questions << source + QStringLiteral(" -> ") + target;
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question about " << target.toStdString();
        return platform::ReplaceAnswer::Cancel;
    }
    const platform::ReplaceAnswer answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

bool ScriptedObserver::progress(const platform::CopyProgress &progress)
{
    const int call = int(progressLog.size());
    progressLog.push_back(progress);
    if (onProgress)
        onProgress(call);
    return call != cancelAtProgress;
}

bool ScriptedObserver::continueAfterFailure(const platform::CopyFileReport &report)
{
    (void)report;
    ++failuresSeen;
    return continueAfterFailures;
}

ScopedEnv::ScopedEnv(const char *name, const QByteArray &value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
{
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

ChildVerdict runInChild(const std::function<QString()> &body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {false, false, QStringLiteral("pipe: %1").arg(qt_error_string(errno))};
    const pid_t pid = ::fork();
    if (pid < 0)
        return {false, false, QStringLiteral("fork: %1").arg(qt_error_string(errno))};
    if (pid == 0) {
        ::close(fds[0]);
        const QByteArray said = body().toUtf8();
        const ssize_t written = ::write(fds[1], said.constData(), size_t(said.size()));
        ::_exit(written == said.size() ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray said;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            said.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    ChildVerdict verdict;
    verdict.message = QString::fromUtf8(said);
    if (WIFSIGNALED(status)) {
        verdict.killed = true;
        verdict.message += QStringLiteral(" (signal %1)").arg(WTERMSIG(status));
    } else if (verdict.message.startsWith(QLatin1String("SKIP: "))) {
        verdict.skipped = true;
        verdict.message = verdict.message.mid(6);
    }
    return verdict;
}

QString mountPrivateTmpfs(const QString &folder, const QByteArray &options)
{
    if (::unshare(CLONE_NEWNS) != 0)
        return QStringLiteral("no mount namespace of our own: %1").arg(qt_error_string(errno));
    // Nothing mounted here may reach the other processes' view of the tree.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return QStringLiteral("cannot make the mounts private: %1").arg(qt_error_string(errno));
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0)
        return QStringLiteral("cannot mount a tmpfs: %1").arg(qt_error_string(errno));
    return {};
}

std::string describe(const platform::CopyFileReport &report)
{
    static const char *const outcomes[] = {"Copied", "Failed", "Declined", "Cancelled", "NotReached"};
    std::string text = outcomes[int(report.outcome)];
    if (report.outcome == CopyOutcome::Failed)
        text += " (failure " + std::to_string(int(report.failure)) +
                "): " + report.status.message().toStdString();
    return text;
}

} // namespace files_test
