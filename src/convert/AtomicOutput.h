// One output file, written under a temporary name in its destination folder and given its real
// name only once complete, so a failed or interrupted conversion (full disk, damaged input, a
// crash) never leaves a partial output under the real name.
// Rules: open() makes the destination folder as needed and reserves the temporary file (hidden,
// ".lumavista-<random>.part", the user's usual permissions); the encoder writes to tempPath(). commit() gives
// the file the input's modification time and renames it to the first free name: an existing file is never
// replaced, not even one that appeared while the output was being written. Without commit(), the destructor
// removes the temporary file.
#pragma once

#include "platform/Result.h"

#include <QDateTime>
#include <QString>

namespace convert {

class AtomicOutput
{
public:
    AtomicOutput() = default;
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput &) = delete;
    AtomicOutput &operator=(const AtomicOutput &) = delete;

    platform::Status open(const QString &folder);
    const QString &tempPath() const { return m_temp; }

    // Renames to "stem.ext" in the folder, or "stem (2).ext", "stem (3).ext" ... when taken;
    // answers the final path.
    platform::ErrorOr<QString> commit(const QString &stem, const QString &ext, const QDateTime &modified);

private:
    QString m_folder;
    QString m_temp;
};

// The first of "stem.ext", "stem (2).ext", ... that does not exist in folder (a path).
QString freeOutputPath(const QString &folder, const QString &stem, const QString &ext);

} // namespace convert
