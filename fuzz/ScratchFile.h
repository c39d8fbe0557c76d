// The targets whose readers take a path: the input goes to a file of its own in one folder for the
// process, removed at its end; in memory when /dev/shm is there, so a run costs no disk writes.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzing {

inline const QString &scratchFolder()
{
    static QTemporaryDir dir(QFileInfo::exists(QStringLiteral("/dev/shm"))
                                 ? QStringLiteral("/dev/shm/luma-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/luma-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    static const QString path = dir.path();
    return path;
}

// Writes size bytes to scratchFolder()/name and answers the file's path.
inline QString writeScratchFile(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    FILE *f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
    return path;
}

} // namespace fuzzing
