// Drive letters from mount tables of typical machines.
#include "platform/drives/MountTable.h"
#include "platform/drives/DriveMap.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A desktop: system disk, EFI partition, /home, a USB stick, an NFS share, a CD, a user RAM disk,
// the usual pseudo file systems, a snap image and a bind of a folder of /home.
const char *kDesktop = R"(22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro
23 22 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw
24 22 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
25 22 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8000000k
26 25 0:23 / /dev/shm rw,nosuid,nodev shared:3 - tmpfs tmpfs rw
27 22 0:24 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1600000k,mode=755
28 22 8:1 / /boot/efi rw,relatime shared:30 - vfat /dev/sda1 rw,fmask=0077
29 22 8:3 / /home rw,relatime shared:31 - ext4 /dev/sda3 rw
30 27 0:45 / /run/user/1000 rw,nosuid,nodev,relatime shared:400 - tmpfs tmpfs rw,mode=700,uid=1000
31 30 0:46 / /run/user/1000/gvfs rw,nosuid,nodev,relatime shared:410 - fuse.gvfsd-fuse gvfsd-fuse rw
32 27 8:17 / /run/media/anne/CLE\040USB rw,nosuid,nodev,relatime shared:420 - vfat /dev/sdb1 rw,uid=1000
33 22 0:50 / /mnt/photos rw,relatime shared:430 - nfs4 nas:/export/photos rw,vers=4.2
34 22 11:0 / /media/cdrom0 ro,nosuid,nodev,relatime shared:440 - iso9660 /dev/sr0 ro
35 22 0:51 / /mnt/scratch rw,relatime shared:450 - tmpfs tmpfs rw,size=1g
36 22 0:52 / /tmp rw,nosuid,nodev shared:460 - tmpfs tmpfs rw
37 22 7:3 / /snap/core22/1122 ro,nodev,relatime shared:470 - squashfs /dev/loop3 ro
38 22 8:3 /anne/shared /srv/shared rw,relatime shared:31 - ext4 /dev/sda3 rw
39 22 8:33 / /data rw,relatime shared:480 - ext4 /dev/sdc1 rw
40 23 0:53 / /proc/sys/fs/binfmt_misc rw,relatime shared:490 - binfmt_misc binfmt_misc rw
)";

// A container: overlay root, binds of single files and of a host folder, a volume mounted twice.
const char *kContainer =
    R"(600 550 0:120 / / rw,relatime master:300 - overlay overlay rw,lowerdir=/l/A:/l/B,upperdir=/u,workdir=/w
601 600 0:123 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw
602 600 0:124 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
603 600 0:125 / /sys ro,nosuid,nodev,noexec,relatime - sysfs sysfs ro
604 600 8:1 /var/lib/docker/containers/abc/resolv.conf /etc/resolv.conf rw,relatime - ext4 /dev/sda1 rw
605 600 8:1 /var/lib/docker/containers/abc/hostname /etc/hostname rw,relatime - ext4 /dev/sda1 rw
606 600 8:1 /home/anne/media /work/media rw,relatime - ext4 /dev/sda1 rw
607 600 8:16 / /data rw,relatime - xfs /dev/sdb rw
608 600 8:16 / /data-again rw,relatime - xfs /dev/sdb rw
609 601 0:123 /sys /proc/sys ro - proc proc rw
)";

bool neverRemovable(const QString &)
{
    return false;
}

struct Expected
{
    char letter;
    const char *root;
    int type;
};

void expectDrives(const DriveMap &map, std::initializer_list<Expected> expected)
{
    ASSERT_EQ(map.drives().size(), expected.size());
    size_t i = 0;
    for (const Expected &e : expected) {
        const DriveMapping &d = map.drives()[i++];
        EXPECT_EQ(d.letter, QLatin1Char(e.letter));
        EXPECT_EQ(d.nativeRoot, QString::fromUtf8(e.root)) << e.letter;
        EXPECT_EQ(d.type, e.type) << e.letter;
    }
}

} // namespace

TEST(MountTable, DesktopGivesOneLetterPerRealVolumeInMountPointOrder)
{
    // The kernel says the disk 8:33 is removable (an external disk not mounted under /media).
    const DriveMap map = DriveMap::fromMountInfo(QString::fromUtf8(kDesktop),
                                                 [](const QString &majMin) { return majMin == u"8:33"; });
    expectDrives(map, {{'C', "/", DRIVE_FIXED},
                       {'D', "/boot/efi", DRIVE_FIXED},
                       {'E', "/data", DRIVE_REMOVABLE},
                       {'F', "/home", DRIVE_FIXED},
                       {'G', "/media/cdrom0", DRIVE_CDROM},
                       {'H', "/mnt/photos", DRIVE_REMOTE},
                       {'I', "/mnt/scratch", DRIVE_RAMDISK},
                       {'J', "/run/media/anne/CLE USB", DRIVE_REMOVABLE}});
    EXPECT_EQ(map.find(QLatin1Char('C'))->fsType, u"ext4");
    EXPECT_EQ(map.find(QLatin1Char('C'))->device, u"/dev/sda2");
    EXPECT_EQ(map.find(QLatin1Char('H'))->device, u"nas:/export/photos");
    EXPECT_EQ(map.driveType(QLatin1Char('K')), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(map.driveType(QLatin1Char('A')), DRIVE_NO_ROOT_DIR);
}

TEST(MountTable, ContainerKeepsOverlayRootAndDropsBindsAndRepeats)
{
    const DriveMap map = DriveMap::fromMountInfo(QString::fromUtf8(kContainer), neverRemovable);
    expectDrives(map, {{'C', "/", DRIVE_FIXED}, {'D', "/data", DRIVE_FIXED}});
}

TEST(MountTable, BtrfsSubvolumesAreDrivesButBindsInsideThemAreNot)
{
    const char *text = R"(30 1 0:31 /@ / rw,relatime - btrfs /dev/nvme0n1p2 rw,ssd,subvolid=256,subvol=/@
31 30 0:31 /@home /home rw,relatime - btrfs /dev/nvme0n1p2 rw,ssd,subvolid=257,subvol=/@home
32 30 0:31 /@home/anne/Music /srv/music rw - btrfs /dev/nvme0n1p2 rw,ssd,subvolid=257,subvol=/@home
)";
    expectDrives(DriveMap::fromMountInfo(QString::fromUtf8(text), neverRemovable),
                 {{'C', "/", DRIVE_FIXED}, {'D', "/home", DRIVE_FIXED}});
}

TEST(MountTable, LaterMountOnTheSamePointHidesTheEarlierOne)
{
    const char *text = R"(40 1 8:1 / / rw - ext4 /dev/sda1 rw
41 40 8:17 / /mnt/usb rw - vfat /dev/sdb1 rw
42 40 8:33 / /mnt/usb rw - ext4 /dev/sdc1 rw
)";
    const DriveMap map = DriveMap::fromMountInfo(QString::fromUtf8(text), neverRemovable);
    expectDrives(map, {{'C', "/", DRIVE_FIXED}, {'D', "/mnt/usb", DRIVE_FIXED}});
    EXPECT_EQ(map.find(QLatin1Char('D'))->device, u"/dev/sdc1");
}

TEST(MountTable, RootKindFollowsItsFileSystem)
{
    const DriveMap ram =
        DriveMap::fromMountInfo(QStringLiteral("1 0 0:2 / / rw - tmpfs rootfs rw\n"), neverRemovable);
    expectDrives(ram, {{'C', "/", DRIVE_RAMDISK}});
    const DriveMap nfs =
        DriveMap::fromMountInfo(QStringLiteral("1 0 0:2 / / rw - nfs server:/diskless rw\n"), neverRemovable);
    expectDrives(nfs, {{'C', "/", DRIVE_REMOTE}});
    // No line for "/" at all (a damaged table): C: is still the root folder.
    expectDrives(DriveMap::fromMountInfo(QString(), neverRemovable), {{'C', "/", DRIVE_FIXED}});
}

TEST(MountTable, LettersStopAtZ)
{
    QString text = QStringLiteral("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("%1 1 8:%2 / /mnt/d%3 rw - ext4 /dev/sdx%2 rw\n")
                    .arg(i + 2)
                    .arg(i + 100)
                    .arg(i, 2, 10, QLatin1Char('0'));
    const DriveMap map = DriveMap::fromMountInfo(text, neverRemovable);
    ASSERT_EQ(map.drives().size(), 24u);
    EXPECT_EQ(map.drives().back().letter, QLatin1Char('Z'));
    EXPECT_EQ(map.drives().back().nativeRoot, u"/mnt/d22");
}

TEST(MountTable, ParserUndoesEscapesAndSkipsDamagedLines)
{
    const char *text = "garbage\n"
                       "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                       "x 1 8:2 / /mnt/a rw - ext4 /dev/sda2 rw\n"        // id not a number
                       "3 1 8:3 / /mnt/b rw shared:1 ext4 /dev/sda3 rw\n" // no separator
                       "4 1 8:4 / relative rw - ext4 /dev/sda4 rw\n"      // mount point not absolute
                       "5 1 8:5 / /mnt/back\\134slash\\011tab rw - ext4 /dev/sda5\n" // no super options
                       "6 1 8:6 / /mnt/c rw - ext4\n";                               // no source
    const std::vector<MountEntry> mounts = parseMountInfo(QString::fromUtf8(text));
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[1].mountPoint, u"/mnt/back\\slash\ttab");
    EXPECT_EQ(mounts[1].majorMinor, u"8:5");
    EXPECT_TRUE(mounts[1].superOptions.isEmpty());
    const MountEntry *m = mountOf(mounts, QStringLiteral("/mnt/back\\slash\ttab/x"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->source, u"/dev/sda5");
    EXPECT_EQ(mountOf(mounts, QStringLiteral("/mnt/back"))->mountPoint, u"/");
}

TEST(MountTable, OwnTableAlwaysMapsCToTheRootFolder)
{
    const DriveMap map = DriveMap::fromMountInfo(readOwnMountInfo());
    ASSERT_NE(map.find(QLatin1Char('c')), nullptr);
    EXPECT_EQ(map.find(QLatin1Char('C'))->nativeRoot, u"/");
    for (const DriveMapping &d : map.drives()) {
        EXPECT_FALSE(d.nativeRoot.startsWith(u"/proc")) << d.nativeRoot.toStdString();
        EXPECT_FALSE(d.nativeRoot.startsWith(u"/sys")) << d.nativeRoot.toStdString();
    }
}
