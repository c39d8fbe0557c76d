// Drive letters over the Linux file system.
//
// C: is "/" and every other real mount takes the next free letter from D:, in mount-point order
// (auto-detection from /proc/self/mountinfo), unless LUMAVISTA_DRIVES replaces the detection:
// "LETTER=NATIVE_ROOT[,KIND[,LABEL[,SERIAL]]]" entries separated by ';'. A letter not mapped has no
// root directory (type 1); a mapped root that does not exist answers as a drive without medium.
// Drive paths look like "C:\Photos\2000\"; a name containing a backslash is shown with U+F05C in
// its place and mapped back at the file system.
// An empty LUMAVISTA_DRIVES counts as unset. Mount-table rules: MountTable.h; LUMAVISTA_DRIVES
// rules: DriveEntries.h; what the volume queries answer: VolumeQuery.h. The map is only text: a drive
// path converts whether or not its file exists.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

// Windows drive types.
enum DriveType : int {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6
};

struct DriveMapping
{
    QChar letter;       // 'A'..'Z'
    QString nativeRoot; // absolute native folder, no trailing slash except "/"
    int type = DRIVE_FIXED;
    QString label;  // may be empty: then read from the system
    QString serial; // may be empty: then read from the system
    QString fsType; // mount's file-system type when auto-detected
    QString device; // mount source when auto-detected
};

struct VolumeInfo
{
    bool ok = false;        // false: no medium / root unreadable
    QString label;          // at most 11 characters
    QString serialNumber;   // exactly 8 upper-case hexadecimal digits
    QString fileSystemName; // at most 11 characters
    uint32_t fileSystemFlags = 0;
    uint32_t maxComponentLength = 255;
};

struct DiskSpace
{
    bool ok = false;
    uint64_t totalBytes = 0;
    uint64_t freeBytes = 0;
};

class DriveMap
{
public:
    // The map as the process sees it now: LUMAVISTA_DRIVES when set, else the mount table. The
    // program reads it once at start and keeps it (App::drives()).
    static DriveMap detect();

    // From an explicit LUMAVISTA_DRIVES text; malformed entries are reported once on stderr and ignored.
    static DriveMap fromSpec(const QString &spec, QStringList *problems = nullptr);
    // From a /proc/self/mountinfo text.
    static DriveMap fromMountInfo(const QString &mountinfo);
    // The same with another test of "is the block device major:minor removable" than the kernel's.
    static DriveMap fromMountInfo(const QString &mountinfo,
                                  const std::function<bool(const QString &majorMinor)> &isRemovable);

    const std::vector<DriveMapping> &drives() const { return m_drives; }
    const DriveMapping *find(QChar letter) const;

    int driveType(QChar letter) const;         // GetDriveType: 0..6 (1 when unmapped)
    VolumeInfo volumeInfo(QChar letter) const; // GetVolumeInformation
    DiskSpace diskSpace(QChar letter) const;   // GetDiskFreeSpaceEx, 64-bit
    // The same from the interface thread: a query that takes longer than timeout counts as failed.
    DiskSpace diskSpace(QChar letter, std::chrono::milliseconds timeout) const;

    // "C:\Photos\" -> "/Photos/" (the trailing separator is kept). Empty when the letter is unmapped
    // or the text is not a drive path.
    QString toNative(const QString &drivePath) const;
    // "/home/anne/x.bmp" -> "C:\home\anne\x.bmp"; nullopt when the path lies on no drive. The drive
    // with the longest root holding the path wins (the lowest letter among equal roots).
    std::optional<QString> toDrivePath(const QString &nativePath) const;

private:
    std::vector<DriveMapping> m_drives;
};

} // namespace platform
