#include "platform/drives/FileTimes.h"

#include <QFile>
#include <algorithm>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

QDateTime fileBirthTime(const QString &nativePath)
{
    struct statx stx = {};
    if (::statx(AT_FDCWD, QFile::encodeName(nativePath).constData(), 0, STATX_BTIME, &stx) != 0 ||
        !(stx.stx_mask & STATX_BTIME))
        return {};
    const qint64 ms = qint64(stx.stx_btime.tv_sec) * 1000 + stx.stx_btime.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(ms);
}

int64_t laterTimeNs(int64_t mtimeSec, uint32_t mtimeNsec, int64_t ctimeSec, uint32_t ctimeNsec)
{
    const int64_t m = mtimeSec * 1000000000 + int64_t(mtimeNsec);
    const int64_t c = ctimeSec * 1000000000 + int64_t(ctimeNsec);
    return std::max(m, c);
}

int64_t folderChangeTimeNs(const QString &nativePath)
{
    struct statx stx = {};
    if (::statx(AT_FDCWD, QFile::encodeName(nativePath).constData(), AT_SYMLINK_NOFOLLOW,
                STATX_MTIME | STATX_CTIME, &stx) != 0)
        return 0;
    return laterTimeNs(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec, stx.stx_ctime.tv_sec,
                       stx.stx_ctime.tv_nsec);
}

int64_t nowNs()
{
    struct timespec ts = {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

} // namespace platform
