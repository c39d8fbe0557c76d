#include "platform/files/CopyEngine.h"

#include "platform/files/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

using files_detail::pumpBytes;
using files_detail::TempFile;

struct CopyEngine::Job
{
    QString source;
    QString target;
};

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// An owned file descriptor.
class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    bool ok() const { return m_fd >= 0; }

private:
    int m_fd;
};

CopyFailure writeFailure(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return CopyFailure::DiskFull;
    case EFBIG:
        return CopyFailure::TooLarge;
    case EACCES:
    case EPERM:
    case EROFS:
        return CopyFailure::TargetUnwritable;
    default:
        return CopyFailure::Io;
    }
}

Error::Kind kindOf(CopyFailure failure)
{
    switch (failure) {
    case CopyFailure::SourceMissing:
    case CopyFailure::SourceUnreadable:
    case CopyFailure::SourceIsFolder:
        return Error::Kind::FileOpen;
    case CopyFailure::SameFile:
        return Error::Kind::Other;
    default:
        return Error::Kind::Io;
    }
}

// File systems that cannot hold a mode or a time (FAT, some network shares) still take the copy.
bool attributeRefused(int err)
{
    return err == EPERM || err == EOPNOTSUPP || err == ENOTSUP;
}

// One call of the engine: the questions already answered, the bytes done, whether it stopped.
class CopyRun
{
public:
    CopyRun(CopyObserver &observer, int fileCount) : m_observer(observer), m_count(fileCount) {}

    void plan(uint64_t bytes) { m_total += bytes; }
    bool stopped() const { return m_stopped; }

    // Tells the observer how far the copy is with bytes of file index copied; false: cancelled.
    bool tell(int index, const CopyFileReport &report, uint64_t bytes)
    {
        CopyProgress p;
        if (m_total > 0)
            p.perMille = int(std::min<uint64_t>(1000, (m_done + bytes) * 1000 / m_total));
        else
            p.perMille = index * 1000 / std::max(1, m_count);
        p.fileIndex = index;
        p.fileCount = m_count;
        p.source = report.source;
        p.target = report.target;
        return m_observer.progress(p);
    }

    void finishFile(const CopyFileReport &report, uint64_t planned)
    {
        m_done += planned;
        if (report.outcome == CopyOutcome::Cancelled)
            m_stopped = true;
        else if (report.outcome == CopyOutcome::Failed && !m_observer.continueAfterFailure(report))
            m_stopped = true;
    }

    void finishAll(const CopyFileReport &last)
    {
        CopyProgress p;
        p.perMille = 1000;
        p.fileIndex = m_count - 1;
        p.fileCount = m_count;
        p.source = last.source;
        p.target = last.target;
        (void)m_observer.progress(p); // nothing is left to cancel
    }

    void copyOne(int index, CopyFileReport &r);

private:
    void fail(CopyFileReport &r, CopyFailure failure, int err, const QString &reason = {}) const
    {
        r.outcome = CopyOutcome::Failed;
        r.failure = failure;
        const QString why = reason.isEmpty() ? qt_error_string(err) : reason;
        r.status = makeError(kindOf(failure),
                             QStringLiteral("cannot copy %1 to %2: %3").arg(r.source, r.target, why), err);
    }

    CopyObserver &m_observer;
    int m_count;
    uint64_t m_total = 0;
    uint64_t m_done = 0;
    bool m_yesToAll = false;
    bool m_stopped = false;
};

void CopyRun::copyOne(int index, CopyFileReport &r)
{
    struct stat st;
    if (::stat(native(r.source).constData(), &st) != 0) {
        const int err = errno;
        return fail(
            r, err == ENOENT || err == ENOTDIR ? CopyFailure::SourceMissing : CopyFailure::SourceUnreadable,
            err);
    }
    if (S_ISDIR(st.st_mode))
        return fail(r, CopyFailure::SourceIsFolder, EISDIR);
    if (!S_ISREG(st.st_mode))
        return fail(r, CopyFailure::SourceUnreadable, 0, QStringLiteral("not a regular file"));
    // Non-blocking: had the file just been replaced by a pipe, opening it must not hang.
    const Fd in(::open(native(r.source).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in.ok()) {
        const int err = errno;
        return fail(r, err == ENOENT ? CopyFailure::SourceMissing : CopyFailure::SourceUnreadable, err);
    }
    if (::fstat(in.get(), &st) != 0)
        return fail(r, CopyFailure::SourceUnreadable, errno);
    if (!S_ISREG(st.st_mode))
        return fail(r, CopyFailure::SourceUnreadable, 0, QStringLiteral("not a regular file"));
    ::fcntl(in.get(), F_SETFL, ::fcntl(in.get(), F_GETFL) & ~O_NONBLOCK);

    const QFileInfo targetInfo(r.target);
    const QByteArray name = native(targetInfo.fileName());
    if (name.isEmpty())
        return fail(r, CopyFailure::TargetFolderMissing, ENOENT);
    // A path handle: creating a file needs write and search rights on the folder, not read.
    const Fd dir(::open(native(targetInfo.path()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!dir.ok()) {
        const int err = errno;
        return fail(r, err == ENOENT || err == ENOTDIR ? CopyFailure::TargetFolderMissing : writeFailure(err),
                    err);
    }

    struct stat lst;
    const bool exists = ::fstatat(dir.get(), name.constData(), &lst, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return fail(r, writeFailure(errno), errno);
    if (exists) {
        struct stat tst;
        if (::fstatat(dir.get(), name.constData(), &tst, 0) == 0) {
            if (tst.st_dev == st.st_dev && tst.st_ino == st.st_ino)
                return fail(r, CopyFailure::SameFile, 0,
                            QStringLiteral("source and target are the same file"));
            if (S_ISDIR(tst.st_mode))
                return fail(r, CopyFailure::TargetIsFolder, EISDIR);
        }
        if (!S_ISLNK(lst.st_mode) && ::faccessat(dir.get(), name.constData(), W_OK, AT_EACCESS) != 0) {
            const int err = errno;
            if (err == EACCES || err == EPERM)
                return fail(r, CopyFailure::TargetReadOnly, err, QStringLiteral("the target is read-only"));
            if (err == EROFS)
                return fail(r, CopyFailure::TargetUnwritable, err);
        }
    }

    // Made before the question, so a folder that takes no file fails without asking in vain.
    TempFile temp(dir.get());
    if (const int err = temp.error())
        return fail(r, writeFailure(err), err);

    if (exists && !m_yesToAll) {
        switch (m_observer.confirmReplace(r.source, r.target)) {
        case ReplaceAnswer::Yes:
            break;
        case ReplaceAnswer::YesToAll:
            m_yesToAll = true;
            break;
        case ReplaceAnswer::No:
            r.outcome = CopyOutcome::Declined;
            return;
        case ReplaceAnswer::Cancel:
            r.outcome = CopyOutcome::Cancelled;
            return;
        }
    }

    uint64_t copied = 0;
    int err = pumpBytes(in.get(), temp.fd(), copied, [&](uint64_t n) { return tell(index, r, n); });
    if (err == ECANCELED) {
        r.outcome = CopyOutcome::Cancelled;
        return;
    }
    if (err)
        return fail(r, writeFailure(err), err);

    if (::fchmod(temp.fd(), st.st_mode & 0777) != 0 && !attributeRefused(errno))
        return fail(r, CopyFailure::Io, errno);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::futimens(temp.fd(), times) != 0 && !attributeRefused(errno))
        return fail(r, CopyFailure::Io, errno);

    err = temp.putInPlace(name, exists);
    if (err == EEXIST && !exists)
        return fail(r, CopyFailure::Io, err, QStringLiteral("a file of that name appeared during the copy"));
    if (err)
        return fail(r, writeFailure(err), err);
    r.outcome = CopyOutcome::Copied;
    r.bytes = copied;
}

uint64_t plannedBytes(const QString &source)
{
    struct stat st;
    if (::stat(native(source).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    return uint64_t(st.st_size);
}

} // namespace

bool CopyResult::ok() const
{
    return count(CopyOutcome::Failed) == 0;
}

bool CopyResult::anyAborted() const
{
    return count(CopyOutcome::Declined) > 0 || cancelled();
}

bool CopyResult::cancelled() const
{
    return count(CopyOutcome::Cancelled) > 0;
}

int CopyResult::count(CopyOutcome outcome) const
{
    return int(std::count_if(files.begin(), files.end(),
                             [&](const CopyFileReport &f) { return f.outcome == outcome; }));
}

CopyEngine::CopyEngine(CopyObserver &observer) : m_observer(observer) {}

CopyResult CopyEngine::copyFile(const QString &source, const QString &target)
{
    QString file = target;
    if (QFileInfo(target).isDir())
        file = QDir(target).filePath(QFileInfo(source).fileName());
    return run({Job{source, file}});
}

CopyResult CopyEngine::copyIntoFolder(const QStringList &sources, const QString &folder)
{
    std::vector<Job> jobs;
    jobs.reserve(size_t(sources.size()));
    for (const QString &source : sources)
        jobs.push_back(Job{source, QDir(folder).filePath(QFileInfo(source).fileName())});
    return run(jobs);
}

CopyResult CopyEngine::copy(const QStringList &sources, const QString &destination)
{
    if (sources.size() == 1 && !QFileInfo(destination).isDir())
        return copyFile(sources.front(), destination);
    return copyIntoFolder(sources, destination);
}

CopyResult CopyEngine::run(const std::vector<Job> &jobs)
{
    CopyResult result;
    CopyRun run(m_observer, int(jobs.size()));
    std::vector<uint64_t> planned;
    for (const Job &job : jobs) {
        planned.push_back(plannedBytes(job.source));
        run.plan(planned.back());
        result.files.push_back(CopyFileReport{job.source, job.target});
    }
    for (size_t i = 0; i < jobs.size() && !run.stopped(); ++i) {
        CopyFileReport &report = result.files[i];
        if (!run.tell(int(i), report, 0))
            report.outcome = CopyOutcome::Cancelled;
        else
            run.copyOne(int(i), report);
        run.finishFile(report, planned[i]);
    }
    if (!jobs.empty() && !run.stopped())
        run.finishAll(result.files.back());
    return result;
}

} // namespace platform
