// Drive letters from the kernel's mount table (/proc/self/mountinfo).
//
// Rules: C: is always "/". Every other mount that is a real volume takes the next letter from D: to
// Z:, in mount-point order. A real volume is a block-device file system, a network file system, an
// optical disc, or a tmpfs/ramfs under /media, /run/media or /mnt (a user RAM disk). Not drives:
// pseudo file systems, binds of a subtree (the mount's root is not the file system's root; a btrfs
// subvolume mount is not a bind), a second mount of a file system already given a letter, mounts
// hidden by a later mount on the same point, and anything under /proc, /sys, /dev, /run (but
// /run/media) and /snap (read-only package images that would use up the letters).
// Kinds: network 4, CD-ROM (iso9660, udf) 5, RAM disk 6, removable 2 (the kernel says the disk is
// removable, or it is mounted under /media or /run/media), otherwise fixed 3.
#pragma once

#include "platform/drives/DriveMap.h"

#include <QString>
#include <functional>
#include <vector>

namespace platform {

// One line of mountinfo with the octal escapes of its paths undone.
struct MountEntry
{
    int mountId = 0;
    int parentId = 0;
    QString majorMinor; // "8:17"
    QString root;       // folder of the file system shown here: "/" unless a bind of a subtree
    QString mountPoint;
    QString fsType;
    QString source;
    QString superOptions;
};

// Lines that do not have mountinfo's shape are skipped; the result keeps the text's order.
std::vector<MountEntry> parseMountInfo(const QString &text);

// Says whether the block device "major:minor" is removable.
using RemovableProbe = std::function<bool(const QString &majorMinor)>;
// Reads the kernel's removable flag of the device, or of its whole disk for a partition.
bool sysfsRemovable(const QString &majorMinor);

std::vector<DriveMapping> drivesFromMounts(const std::vector<MountEntry> &mounts,
                                           const RemovableProbe &isRemovable);

// The mount a native path lies on (the longest mount point holding it; the last one mounted on
// that point), or nullptr.
const MountEntry *mountOf(const std::vector<MountEntry> &mounts, const QString &nativePath);

// The process's own mount table text; empty when it cannot be read.
QString readOwnMountInfo();

} // namespace platform
