// Times of a file the directory search does not report.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace platform {

// When the file was made (statx's birth time, local time), when its file system keeps one; an
// invalid time otherwise, or when the file cannot be reached.
QDateTime fileBirthTime(const QString &nativePath);

// A folder's change time as a rescan compares it: the later of its modification time (an entry
// added, removed or renamed) and its status-change time (its mode or owner changed, or it was
// moved), in nanoseconds since 1970 UTC. 0 when the folder cannot be reached. Links are not followed.
int64_t folderChangeTimeNs(const QString &nativePath);

// The same from the two times statx gives (seconds and nanoseconds each).
int64_t laterTimeNs(int64_t mtimeSec, uint32_t mtimeNsec, int64_t ctimeSec, uint32_t ctimeNsec);

// The system's clock now, in nanoseconds since 1970 UTC (the same clock as the times above).
int64_t nowNs();

} // namespace platform
