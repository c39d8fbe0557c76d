// Times of a file the directory search does not report.
#pragma once

#include <QDateTime>
#include <QString>

namespace platform {

// When the file was made (statx's birth time, local time), when its file system keeps one; an
// invalid time otherwise, or when the file cannot be reached.
QDateTime fileBirthTime(const QString &nativePath);

} // namespace platform
