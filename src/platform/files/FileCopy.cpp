#include "platform/files/FileCopy.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::files_detail {

namespace {

// Large enough that the kernel copies at full speed, small enough that progress and Cancel answer
// several times a second even on a slow USB stick.
constexpr size_t kChunk = size_t(8) << 20;
constexpr size_t kBuffer = size_t(1) << 20;

// An unnamed file gets its name through /proc/self/fd; without /proc it could never be named.
bool procFdUsable()
{
    static const bool usable = ::access("/proc/self/fd", X_OK) == 0;
    return usable;
}

QByteArray hiddenName()
{
    return QByteArrayLiteral(".lumavista-copy-") +
           QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

// Writes all of data, retrying short writes. 0 or an errno.
int writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= size_t(n);
    }
    return 0;
}

enum class Mode { Range, SendFile, ReadWrite };

// The kernel refuses this way of copying for these two files (another file system, a file system
// without it): the next way is tried.
bool refusedForTheseFiles(int err)
{
    return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == ENOTSUP;
}

} // namespace

TempFile::TempFile(int dirFd) : m_dirFd(dirFd)
{
    if (procFdUsable()) {
        m_fd = ::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (m_fd >= 0)
            return;
        // Only a file system without unnamed files falls through to a named one; any other
        // error (access, read-only, full) is the answer.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            m_error = errno;
            return;
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = hiddenName();
        m_fd = ::openat(dirFd, name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd >= 0) {
            m_name = name;
            return;
        }
        if (errno != EEXIST) {
            m_error = errno;
            return;
        }
    }
    m_error = EEXIST;
}

TempFile::~TempFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_placed && !m_name.isEmpty())
        ::unlinkat(m_dirFd, m_name.constData(), 0);
}

int TempFile::putInPlace(const QByteArray &name, bool replace)
{
    if (m_name.isEmpty()) {
        char proc[48];
        std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", m_fd);
        // A free name is taken in one step; linkat never replaces.
        if (!replace) {
            if (::linkat(AT_FDCWD, proc, m_dirFd, name.constData(), AT_SYMLINK_FOLLOW) != 0)
                return errno;
            m_placed = true;
            return 0;
        }
        // Replacing takes a rename, which needs a name to start from.
        for (int attempt = 0;; ++attempt) {
            const QByteArray candidate = hiddenName();
            if (::linkat(AT_FDCWD, proc, m_dirFd, candidate.constData(), AT_SYMLINK_FOLLOW) == 0) {
                m_name = candidate;
                break;
            }
            if (errno != EEXIST || attempt == 100)
                return errno;
        }
    }
    if (replace) {
        if (::renameat(m_dirFd, m_name.constData(), m_dirFd, name.constData()) != 0)
            return errno;
    } else if (::renameat2(m_dirFd, m_name.constData(), m_dirFd, name.constData(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            return errno;
        // No exclusive rename here (some network file systems): a link takes the name only if it is
        // free; without links (FAT) a plain rename is all there is.
        if (::linkat(m_dirFd, m_name.constData(), m_dirFd, name.constData(), 0) == 0)
            ::unlinkat(m_dirFd, m_name.constData(), 0);
        else if (errno != EPERM || ::renameat(m_dirFd, m_name.constData(), m_dirFd, name.constData()) != 0)
            return errno;
    }
    m_placed = true;
    return 0;
}

int pumpBytes(int in, int out, uint64_t &copied, const std::function<bool(uint64_t)> &tick)
{
    // Copy-on-write file systems share the blocks at once, as cp does by default.
    if (copied == 0 && ::ioctl(out, FICLONE, in) == 0) {
        struct stat st;
        if (::fstat(out, &st) != 0)
            return errno;
        copied = uint64_t(st.st_size);
        return tick(copied) ? 0 : ECANCELED;
    }
    Mode mode = Mode::Range;
    std::vector<char> buffer;
    for (;;) {
        ssize_t n;
        if (mode == Mode::Range) {
            n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
            if (n < 0 && refusedForTheseFiles(errno)) {
                mode = Mode::SendFile;
                continue;
            }
        } else if (mode == Mode::SendFile) {
            n = ::sendfile(out, in, nullptr, kChunk);
            if (n < 0 && refusedForTheseFiles(errno)) {
                mode = Mode::ReadWrite;
                continue;
            }
        } else {
            if (buffer.empty())
                buffer.resize(kBuffer);
            n = ::read(in, buffer.data(), buffer.size());
            if (n > 0) {
                if (const int err = writeAll(out, buffer.data(), size_t(n)))
                    return err;
            }
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0) {
            if (mode == Mode::ReadWrite)
                return 0;
            // Kernel copies report 0 early on some file systems; a read tells the true end.
            mode = Mode::ReadWrite;
            continue;
        }
        copied += uint64_t(n);
        if (!tick(copied))
            return ECANCELED;
    }
}

} // namespace platform::files_detail
