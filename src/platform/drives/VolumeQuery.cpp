#include "platform/drives/VolumeQuery.h"

#include "platform/drives/MountTable.h"

#include <QFile>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace platform {

namespace {

QString hex8(uint32_t value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

bool statPath(const QString &path, struct stat *st)
{
    return ::stat(QFile::encodeName(path).constData(), st) == 0;
}

// The udev link in folder (by-label, by-uuid) that names the block device rdev, decoded.
QString udevNameOf(const char *folder, dev_t rdev)
{
    DIR *dir = ::opendir(folder);
    if (!dir)
        return {};
    QString found;
    while (dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0 && S_ISBLK(st.st_mode) && st.st_rdev == rdev) {
            found = unescapeUdevName(QString::fromUtf8(e->d_name));
            break;
        }
    }
    ::closedir(dir);
    return found;
}

// The block devices that may hold the root: the mount source, and the root's own device.
std::vector<dev_t> devicesOf(const DriveMapping &drive, const struct stat &rootStat)
{
    std::vector<dev_t> devices;
    struct stat st;
    if (drive.device.startsWith(u"/dev/") && statPath(drive.device, &st) && S_ISBLK(st.st_mode))
        devices.push_back(st.st_rdev);
    devices.push_back(rootStat.st_dev);
    return devices;
}

bool isMountPoint(const QString &root, const struct stat &rootStat)
{
    if (root == u"/")
        return true;
    struct stat parent;
    return statPath(root + QStringLiteral("/.."), &parent) && parent.st_dev != rootStat.st_dev;
}

QString fileSystemTypeOf(const DriveMapping &drive)
{
    if (!drive.fsType.isEmpty())
        return drive.fsType;
    const std::vector<MountEntry> mounts = parseMountInfo(readOwnMountInfo());
    const MountEntry *m = mountOf(mounts, drive.nativeRoot);
    return m ? m->fsType : QString();
}

enum : uint32_t {
    FILE_CASE_SENSITIVE_SEARCH = 0x1,
    FILE_CASE_PRESERVED_NAMES = 0x2,
    FILE_UNICODE_ON_DISK = 0x4,
    FILE_SUPPORTS_REPARSE_POINTS = 0x80,
    FILE_READ_ONLY_VOLUME = 0x80000
};

} // namespace

QString serialFromUuid(QStringView uuid)
{
    QString digits;
    for (QChar c : uuid)
        if (c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f'))
            digits += c.toUpper();
    if (digits.size() < 8)
        return {};
    return digits.right(8);
}

QString serialFromFsid(uint64_t fsid)
{
    const uint32_t folded = uint32_t(fsid) ^ uint32_t(fsid >> 32);
    return folded ? hex8(folded) : QString();
}

QString serialFromText(QStringView text)
{
    uint32_t hash = 2166136261u;
    for (char c : text.toUtf8()) {
        hash ^= uint8_t(c);
        hash *= 16777619u;
    }
    return hex8(hash);
}

QString unescapeUdevName(QStringView name)
{
    QByteArray out;
    const QByteArray bytes = name.toUtf8();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            bool ok = false;
            const int value = bytes.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(bytes[i]);
    }
    return QString::fromUtf8(out);
}

VolumeInfo queryVolume(const DriveMapping &drive)
{
    VolumeInfo info;
    info.serialNumber = QStringLiteral("00000000");
    struct stat rootStat;
    struct statvfs vfs;
    const QByteArray root = QFile::encodeName(drive.nativeRoot);
    if (::stat(root.constData(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode) ||
        ::statvfs(root.constData(), &vfs) != 0)
        return info;
    info.ok = true;

    const bool mountPoint = isMountPoint(drive.nativeRoot, rootStat);
    info.label = drive.label;
    if (info.label.isEmpty() && mountPoint) {
        for (dev_t dev : devicesOf(drive, rootStat)) {
            info.label = udevNameOf("/dev/disk/by-label", dev);
            if (!info.label.isEmpty())
                break;
        }
    }
    info.label.truncate(11);

    QString serial = drive.serial;
    if (serial.isEmpty() && mountPoint) {
        for (dev_t dev : devicesOf(drive, rootStat)) {
            serial = serialFromUuid(udevNameOf("/dev/disk/by-uuid", dev));
            if (!serial.isEmpty())
                break;
        }
        if (serial.isEmpty())
            serial = serialFromFsid(vfs.f_fsid);
    }
    if (serial.isEmpty())
        serial = serialFromText(drive.nativeRoot);
    info.serialNumber = serial;

    const QString type = fileSystemTypeOf(drive);
    info.fileSystemName = type.toUpper().left(11);
    const bool fatLike = type == u"vfat" || type == u"msdos" || type == u"exfat" || type == u"fat";
    info.fileSystemFlags = FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK | FILE_SUPPORTS_REPARSE_POINTS;
    if (!fatLike)
        info.fileSystemFlags |= FILE_CASE_SENSITIVE_SEARCH;
    if (vfs.f_flag & ST_RDONLY)
        info.fileSystemFlags |= FILE_READ_ONLY_VOLUME;
    if (vfs.f_namemax > 0)
        info.maxComponentLength = uint32_t(vfs.f_namemax);
    return info;
}

DiskSpace queryDiskSpace(const DriveMapping &drive)
{
    DiskSpace space;
    struct stat rootStat;
    struct statvfs vfs;
    const QByteArray root = QFile::encodeName(drive.nativeRoot);
    if (::stat(root.constData(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode) ||
        ::statvfs(root.constData(), &vfs) != 0)
        return space;
    const uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    // Saturate rather than wrap on absurd block counts.
    if (__builtin_mul_overflow(uint64_t(vfs.f_blocks), unit, &space.totalBytes))
        space.totalBytes = UINT64_MAX;
    if (__builtin_mul_overflow(uint64_t(vfs.f_bavail), unit, &space.freeBytes))
        space.freeBytes = UINT64_MAX;
    space.ok = true;
    return space;
}

DiskSpace queryDiskSpaceWithin(const DriveMapping &drive, std::chrono::milliseconds timeout,
                               const std::function<DiskSpace(const DriveMapping &)> &query)
{
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable done;
        bool answered = false;
        DiskSpace space;
    };
    auto shared = std::make_shared<Shared>();
    try {
        // The thread owns copies of everything it reads: it may outlive this call.
        std::thread([shared, drive, query] {
            const DiskSpace space = query(drive);
            const std::lock_guard lock(shared->mutex);
            shared->space = space;
            shared->answered = true;
            shared->done.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return {}; // no thread to be had: as a failed query
    }
    std::unique_lock lock(shared->mutex);
    if (!shared->done.wait_for(lock, timeout, [&] { return shared->answered; }))
        return {};
    return shared->space;
}

} // namespace platform
