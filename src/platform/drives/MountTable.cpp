#include "platform/drives/MountTable.h"

#include "platform/drives/DriveNames.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

namespace platform {

namespace {

// mountinfo writes space, tab, newline and backslash in paths as \ooo.
QString unescapeField(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1], b = field[i + 2], d = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && d >= '0' && d <= '7') {
                out.append(char(((a - '0') << 6) | ((b - '0') << 3) | (d - '0')));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

bool parseInt(QByteArrayView text, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

const QSet<QString> &pseudoTypes()
{
    static const QSet<QString> types{
        u"proc"_qs,        u"sysfs"_qs,      u"devtmpfs"_qs,  u"devpts"_qs,    u"cgroup"_qs,
        u"cgroup2"_qs,     u"securityfs"_qs, u"debugfs"_qs,   u"tracefs"_qs,   u"pstore"_qs,
        u"bpf"_qs,         u"mqueue"_qs,     u"hugetlbfs"_qs, u"configfs"_qs,  u"fusectl"_qs,
        u"binfmt_misc"_qs, u"autofs"_qs,     u"efivarfs"_qs,  u"selinuxfs"_qs, u"rpc_pipefs"_qs,
        u"nsfs"_qs,        u"nfsd"_qs,       u"overlay"_qs,   u"aufs"_qs,      u"fuse.gvfsd-fuse"_qs,
        u"fuse.portal"_qs, u"fuse.lxcfs"_qs, u"devfs"_qs};
    return types;
}

const QSet<QString> &networkTypes()
{
    static const QSet<QString> types{
        u"nfs"_qs,        u"nfs4"_qs,         u"cifs"_qs,        u"smb3"_qs,      u"smbfs"_qs,
        u"ncpfs"_qs,      u"afs"_qs,          u"ceph"_qs,        u"glusterfs"_qs, u"fuse.glusterfs"_qs,
        u"fuse.sshfs"_qs, u"sshfs"_qs,        u"fuse.rclone"_qs, u"davfs"_qs,     u"fuse.davfs2"_qs,
        u"fuse.s3fs"_qs,  u"fuse.ceph"_qs,    u"9p"_qs,          u"virtiofs"_qs,  u"lustre"_qs,
        u"vboxsf"_qs,     u"fuse.smbnetfs"_qs};
    return types;
}

bool isCdType(const QString &type)
{
    return type == u"iso9660" || type == u"udf";
}
bool isRamType(const QString &type)
{
    return type == u"tmpfs" || type == u"ramfs";
}
// Disk file systems whose mount source is not a device node.
bool isPoolType(const QString &type)
{
    return type == u"zfs" || type == u"bcachefs";
}

bool isUserMediaPlace(const QString &mountPoint)
{
    return isSameOrBelow(mountPoint, u"/media") || isSameOrBelow(mountPoint, u"/run/media");
}

bool isSystemPlace(const QString &mountPoint)
{
    if (isSameOrBelow(mountPoint, u"/run/media"))
        return false;
    for (QStringView place : {u"/proc", u"/sys", u"/dev", u"/run", u"/snap"})
        if (isSameOrBelow(mountPoint, place))
            return true;
    return false;
}

QString optionValue(const QString &options, QStringView key)
{
    for (QStringView option : QStringView(options).split(QLatin1Char(','))) {
        if (option.startsWith(key) && option.size() > key.size() && option.at(key.size()) == QLatin1Char('='))
            return option.mid(key.size() + 1).toString();
    }
    return {};
}

// The whole file system is shown here, not a bind of one of its folders.
bool showsWholeFileSystem(const MountEntry &m)
{
    if (m.root == u"/")
        return true;
    // btrfs shows a mounted subvolume as its path inside the file system.
    return m.fsType == u"btrfs" && m.root == optionValue(m.superOptions, u"subvol");
}

std::optional<int> kindOf(const MountEntry &m, const RemovableProbe &isRemovable)
{
    if (pseudoTypes().contains(m.fsType))
        return std::nullopt;
    if (networkTypes().contains(m.fsType))
        return DRIVE_REMOTE;
    if (isCdType(m.fsType))
        return DRIVE_CDROM;
    if (isRamType(m.fsType)) {
        if (isUserMediaPlace(m.mountPoint) || isSameOrBelow(m.mountPoint, u"/mnt"))
            return DRIVE_RAMDISK;
        return std::nullopt;
    }
    if (!m.source.startsWith(u"/dev/") && !isPoolType(m.fsType))
        return std::nullopt;
    if (isUserMediaPlace(m.mountPoint) || (isRemovable && isRemovable(m.majorMinor)))
        return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
}

DriveMapping mappingOf(QChar letter, const MountEntry &m, int type)
{
    DriveMapping d;
    d.letter = letter;
    d.nativeRoot = m.mountPoint;
    d.type = type;
    d.fsType = m.fsType;
    d.device = m.source;
    return d;
}

} // namespace

std::vector<MountEntry> parseMountInfo(const QString &text)
{
    std::vector<MountEntry> mounts;
    const QByteArray bytes = text.toUtf8();
    QByteArrayView rest(bytes);
    QList<QByteArrayView> fields;
    while (!rest.isEmpty()) {
        qsizetype end = rest.indexOf('\n');
        if (end < 0)
            end = rest.size();
        const QByteArrayView line = rest.first(end);
        rest = rest.sliced(std::min(end + 1, rest.size()));

        fields.clear();
        for (qsizetype i = 0; i < line.size();) {
            qsizetype j = i;
            while (j < line.size() && line[j] != ' ')
                ++j;
            if (j > i)
                fields.append(line.sliced(i, j - i));
            i = j + 1;
        }
        // Six fixed fields, optional tags, "-", type and source (super options may be missing).
        qsizetype dash = -1;
        for (qsizetype i = 6; i < fields.size(); ++i) {
            if (fields[i] == "-") {
                dash = i;
                break;
            }
        }
        if (dash < 0 || fields.size() < dash + 3)
            continue;
        MountEntry m;
        if (!parseInt(fields[0], &m.mountId) || !parseInt(fields[1], &m.parentId))
            continue;
        if (!fields[2].contains(':'))
            continue;
        m.majorMinor = QString::fromLatin1(fields[2]);
        m.root = unescapeField(fields[3]);
        m.mountPoint = cleanNativePath(unescapeField(fields[4]));
        if (m.mountPoint.isEmpty())
            continue;
        m.fsType = unescapeField(fields[dash + 1]);
        m.source = unescapeField(fields[dash + 2]);
        if (dash + 3 < fields.size())
            m.superOptions = unescapeField(fields[dash + 3]);
        mounts.push_back(std::move(m));
    }
    return mounts;
}

bool sysfsRemovable(const QString &majorMinor)
{
    const QString base = QStringLiteral("/sys/dev/block/") + majorMinor;
    for (const QString &path :
         {base + QStringLiteral("/removable"), base + QStringLiteral("/../removable")}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            return f.read(1) == "1";
    }
    return false;
}

std::vector<DriveMapping> drivesFromMounts(const std::vector<MountEntry> &mounts,
                                           const RemovableProbe &isRemovable)
{
    // A later mount on the same point hides the earlier one.
    std::vector<const MountEntry *> visible;
    QHash<QString, size_t> slotOf;
    for (const MountEntry &m : mounts) {
        auto it = slotOf.constFind(m.mountPoint);
        if (it != slotOf.constEnd()) {
            visible[*it] = &m;
        } else {
            slotOf.insert(m.mountPoint, visible.size());
            visible.push_back(&m);
        }
    }
    std::sort(visible.begin(), visible.end(),
              [](const MountEntry *a, const MountEntry *b) { return a->mountPoint < b->mountPoint; });

    std::vector<DriveMapping> drives;
    QSet<QString> volumesSeen;
    auto volumeKey = [](const MountEntry &m) { return m.majorMinor + QLatin1Char('|') + m.root; };

    DriveMapping c;
    c.letter = QLatin1Char('C');
    c.nativeRoot = QStringLiteral("/");
    c.type = DRIVE_FIXED;
    if (!visible.empty() && visible.front()->mountPoint == u"/") { // "/" sorts first
        const MountEntry &root = *visible.front();
        // An overlay or other pseudo root (a container) is still the fixed system disk.
        int type =
            isRamType(root.fsType) ? int(DRIVE_RAMDISK) : kindOf(root, isRemovable).value_or(DRIVE_FIXED);
        c = mappingOf(QLatin1Char('C'), root, type);
        volumesSeen.insert(volumeKey(root));
    }
    drives.push_back(c);

    char16_t next = u'D';
    for (const MountEntry *m : visible) {
        if (next > u'Z')
            break;
        if (m->mountPoint == u"/" || !showsWholeFileSystem(*m) || isSystemPlace(m->mountPoint))
            continue;
        const std::optional<int> kind = kindOf(*m, isRemovable);
        if (!kind)
            continue;
        const QString key = volumeKey(*m);
        if (volumesSeen.contains(key))
            continue;
        volumesSeen.insert(key);
        drives.push_back(mappingOf(QChar(next++), *m, *kind));
    }
    return drives;
}

const MountEntry *mountOf(const std::vector<MountEntry> &mounts, const QString &nativePath)
{
    const MountEntry *best = nullptr;
    for (const MountEntry &m : mounts) {
        if (!isSameOrBelow(nativePath, m.mountPoint))
            continue;
        if (!best || m.mountPoint.size() >= best->mountPoint.size())
            best = &m;
    }
    return best;
}

QString readOwnMountInfo()
{
    // /proc files report size 0, so read until the end instead of trusting the size.
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    QByteArray all;
    char buffer[16384];
    for (;;) {
        const qint64 n = f.read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        all.append(buffer, n);
    }
    return QString::fromUtf8(all);
}

} // namespace platform
