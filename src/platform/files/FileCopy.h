// The system side of one file's copy, for the copy engine: a temporary file in the destination
// folder that vanishes unless it is put in place, and the move of the bytes between two files.
//
// Rules:
// - A TempFile is unnamed (O_TMPFILE) where the file system allows it, else a hidden file
//   ".lumavista-copy-XXXXXX" created exclusively; either way it is gone when the TempFile dies
//   without being put in place.
// - putInPlace() gives the temporary file the final name in one step: with replace, over whatever
//   has that name; without, only if the name is still free (EEXIST otherwise).
// - pumpBytes() copies from the current offsets to the end of the source: a clone where the file
//   system shares blocks, else copy_file_range, else sendfile, else read/write, each falling back to
//   the next when the kernel refuses it for these two files. The end of the source is confirmed by
//   a read, since kernel copies may stop early on some file systems.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>

namespace platform::files_detail {

class TempFile
{
public:
    // A writable temporary file in the folder open as dirFd (which must outlive the TempFile).
    explicit TempFile(int dirFd);
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    // 0 when the file exists, else the errno of its creation.
    int error() const { return m_error; }
    int fd() const { return m_fd; }
    // 0, or the errno of the failing call; the temporary file is then still there to be dropped.
    int putInPlace(const QByteArray &name, bool replace);

private:
    int m_dirFd;
    int m_fd = -1;
    int m_error = 0;
    QByteArray m_name; // empty while unnamed
    bool m_placed = false;
};

// Copies in to out; tick(bytes so far) returning false stops with ECANCELED. 0 or an errno.
int pumpBytes(int in, int out, uint64_t &copied, const std::function<bool(uint64_t)> &tick);

} // namespace platform::files_detail
