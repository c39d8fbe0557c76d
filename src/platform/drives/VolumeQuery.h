// Volume facts of a mapped drive, asked of the system each time (nothing is cached).
//
// Rules: a root that is missing or not a folder answers ok = false ("no medium"), serial
// "00000000" and everything else empty. Otherwise:
// - label: the mapping's own, else udev's /dev/disk/by-label name of the root's device when the root
//   is a mount point, else empty; cut to 11 characters.
// - serial: the mapping's own; else, for a mount point, the last 8 hexadecimal digits of udev's
//   /dev/disk/by-uuid name of its device (a FAT "1A2B-3C4D" gives 1A2B3C4D, as the volume's own
//   serial), else the file-system id of statvfs folded to 32 bits when not zero; else (a folder that
//   is no mount point, or no id) the FNV-1a hash of the root path, so two drives on one file system
//   still differ and the value is the same on every run.
// - file-system name: the mount's type upper-cased, cut to 11 characters ("EXT4", "NFS4").
// - flags: case-sensitive search and case-preserved, Unicode names (FAT-like file systems leave
//   out case-sensitive), reparse points, and read-only volume when mounted read-only.
// - free and total bytes from statvfs, 64-bit; free counts the blocks available to this user.
#pragma once

#include "platform/drives/DriveMap.h"

#include <QStringView>
#include <chrono>
#include <cstdint>
#include <functional>

namespace platform {

VolumeInfo queryVolume(const DriveMapping &drive);
DiskSpace queryDiskSpace(const DriveMapping &drive);
// The same asked on a thread of its own, waiting at most timeout: a hung network mount can block
// statvfs for minutes. A query that does not answer in time counts as failed (its thread finishes
// on its own whenever the system answers). query replaces queryDiskSpace in tests.
DiskSpace queryDiskSpaceWithin(const DriveMapping &drive, std::chrono::milliseconds timeout,
                               const std::function<DiskSpace(const DriveMapping &)> &query = queryDiskSpace);

// The serial rules above, apart from the system, so they can be checked on their own.
QString serialFromUuid(QStringView uuid);   // empty when the uuid holds fewer than 8 hex digits
QString serialFromFsid(uint64_t fsid);      // empty when the folded id is 0
QString serialFromText(QStringView text);   // FNV-1a of the UTF-8 text
QString unescapeUdevName(QStringView name); // "MY\x20DISK" -> "MY DISK"

} // namespace platform
