// The LUMAVISTA_DRIVES text: "LETTER=NATIVE_ROOT[,KIND[,LABEL[,SERIAL]]]" entries separated by ';'.
//
// Rules: the letter is one of A..Z (either case); the root is an absolute folder, cleaned ("//",
// ".", ".." and a trailing '/' go); KIND is removable, fixed (the default), network, cdrom or
// ramdisk in any case; LABEL has at most 11 characters; SERIAL is 8 hexadecimal digits, kept in
// upper case. Blanks around every field are ignored; blank entries are skipped.
// A malformed entry (or a letter given twice: the first one counts) is left out and described in
// the problems list; the other entries still count.
#pragma once

#include "platform/drives/DriveMap.h"

#include <QStringList>
#include <vector>

namespace platform {

std::vector<DriveMapping> parseDriveSpec(const QString &spec, QStringList *problems);

// The drive type of a kind word, or -1.
int driveTypeOfKind(QStringView kind);

} // namespace platform
