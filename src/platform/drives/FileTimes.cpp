#include "platform/drives/FileTimes.h"

#include <QFile>

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

} // namespace platform
