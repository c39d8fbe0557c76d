#include "platform/files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {
Error ioError(const QString &path, int error)
{
    return makeError(Error::Kind::Io,
                     QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))), error);
}
} // namespace

Status renameWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Status::success();
    if (errno != EINVAL && errno != ENOSYS)
        return ioError(to, errno);
    // No exclusive rename on this file system: a link takes the name only if it is free.
    if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), 0) != 0)
        return ioError(to, errno);
    ::unlink(source.constData());
    return Status::success();
}

Status writeFileAtomically(const QString &nativePath, QByteArrayView data)
{
    const QFileInfo info(nativePath);
    if (!QDir().mkpath(info.absolutePath()))
        return ioError(info.absolutePath(), errno ? errno : EACCES);
    // A dot name in the target's own folder: hidden, and on the same file system as the target.
    QByteArray temp = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                                        QLatin1String(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return ioError(nativePath, errno);
    const auto fail = [&](int error) -> Status {
        ::close(fd);
        ::unlink(temp.constData());
        return ioError(nativePath, error);
    };
    const char *at = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        at += n;
        left -= n;
    }
    // The data is on the disk before the name points at it. (The file stays private to the user, as
    // mkostemp made it.)
    if (::fdatasync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return ioError(nativePath, error);
    }
    if (::rename(temp.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return ioError(nativePath, error);
    }
    return Status::success();
}

} // namespace platform
