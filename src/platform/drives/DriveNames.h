// Spelling rules shared by the drive map and the directory search.
//
// A native name may hold a backslash, which a drive path cannot: it is shown as U+F05C and turned
// back into a backslash at the file system. Native paths are cleaned textually: repeated and
// trailing slashes, "." and ".." are resolved without asking the file system.
#pragma once

#include <QString>
#include <QStringView>

namespace platform {

// The private-use character that stands for a backslash inside a shown name.
inline constexpr char16_t kBackslashStandIn = 0xF05C;

// A native name (UTF-8 bytes) as the program shows it.
QString nameFromNative(const char *bytes, qsizetype length);
QString nameFromNative(QStringView name);
// A shown name (or relative drive path with '\' separators already turned into '/') as on disk.
QString nameToNative(QStringView name);

// "/a//b/./c/../" -> "/a/b"; "/" stays "/". Empty when the path is not absolute.
QString cleanNativePath(QStringView path);
// The part of a drive path after "X:" ("\Photos\..\x\") as a clean native relative path ("x"):
// separators '\' and '/', "." dropped, ".." never climbs above the drive root, U+F05C becomes '\'.
QString relativeNativeOf(QStringView drivePathTail);

// True when path is folder itself or lies below it (folder clean, "/" contains everything).
bool isSameOrBelow(QStringView path, QStringView folder);

} // namespace platform
