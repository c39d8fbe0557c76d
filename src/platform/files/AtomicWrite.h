// Writing a whole file so that its name always holds either the old content or the new one: the
// data goes to a temporary file in the same folder (same file system, so the rename is atomic),
// is flushed to the disk, and is then renamed over the target. A full disk, a crash or a failed
// write leaves the old file (or none) and no temporary file behind.
#pragma once

#include "platform/Result.h"

#include <QByteArrayView>
#include <QString>

namespace platform {

// Writes data to nativePath, creating its folder when missing. Kind::Io with the reason on failure.
Status writeFileAtomically(const QString &nativePath, QByteArrayView data);

// Gives the file at from the name to, only if that name is free: never replaces a file, even one
// made by another process at the same moment. Kind::Io with code EEXIST when the name is taken.
Status renameWithoutReplacing(const QString &from, const QString &to);

} // namespace platform
