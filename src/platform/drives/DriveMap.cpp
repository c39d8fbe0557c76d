#include "platform/drives/DriveMap.h"

#include "platform/drives/DriveEntries.h"
#include "platform/drives/DriveNames.h"
#include "platform/drives/MountTable.h"
#include "platform/drives/VolumeQuery.h"

#include <cstdio>

namespace platform {

namespace {

DriveMap buildCurrent()
{
    // An empty variable counts as unset: "LUMAVISTA_DRIVES= lumavista" should not lose every drive.
    const QString spec = qEnvironmentVariable("LUMAVISTA_DRIVES");
    if (!spec.trimmed().isEmpty())
        return DriveMap::fromSpec(spec);
    const QString mountinfo = readOwnMountInfo();
    if (mountinfo.isEmpty())
        return DriveMap::fromSpec(QStringLiteral("C=/"));
    return DriveMap::fromMountInfo(mountinfo);
}

QChar upperLetter(QChar c)
{
    if (c >= u'a' && c <= u'z')
        return QChar(c.unicode() - u'a' + u'A');
    return c;
}

} // namespace

DriveMap DriveMap::detect()
{
    return buildCurrent();
}

DriveMap DriveMap::fromSpec(const QString &spec, QStringList *problems)
{
    QStringList found;
    DriveMap map;
    map.m_drives = parseDriveSpec(spec, &found);
    for (const QString &problem : found)
        std::fprintf(stderr, "LUMAVISTA_DRIVES: ignored entry %s\n", problem.toLocal8Bit().constData());
    if (problems)
        problems->append(found);
    return map;
}

DriveMap DriveMap::fromMountInfo(const QString &mountinfo)
{
    return fromMountInfo(mountinfo, sysfsRemovable);
}

DriveMap DriveMap::fromMountInfo(const QString &mountinfo,
                                 const std::function<bool(const QString &majorMinor)> &isRemovable)
{
    DriveMap map;
    map.m_drives = drivesFromMounts(parseMountInfo(mountinfo), isRemovable);
    return map;
}

const DriveMapping *DriveMap::find(QChar letter) const
{
    letter = upperLetter(letter);
    for (const DriveMapping &d : m_drives)
        if (d.letter == letter)
            return &d;
    return nullptr;
}

int DriveMap::driveType(QChar letter) const
{
    const DriveMapping *d = find(letter);
    return d ? d->type : DRIVE_NO_ROOT_DIR;
}

VolumeInfo DriveMap::volumeInfo(QChar letter) const
{
    const DriveMapping *d = find(letter);
    if (!d) {
        VolumeInfo none;
        none.serialNumber = QStringLiteral("00000000");
        return none;
    }
    return queryVolume(*d);
}

DiskSpace DriveMap::diskSpace(QChar letter) const
{
    const DriveMapping *d = find(letter);
    return d ? queryDiskSpace(*d) : DiskSpace{};
}

DiskSpace DriveMap::diskSpace(QChar letter, std::chrono::milliseconds timeout) const
{
    const DriveMapping *d = find(letter);
    return d ? queryDiskSpaceWithin(*d, timeout) : DiskSpace{};
}

QString DriveMap::toNative(const QString &drivePath) const
{
    if (drivePath.size() < 2 || drivePath.at(1) != u':')
        return {};
    const DriveMapping *d = find(drivePath.at(0));
    if (!d)
        return {};
    const QStringView tail = QStringView(drivePath).mid(2);
    // "C:foo" is relative to a current folder this program does not have.
    if (!tail.isEmpty() && tail.front() != u'\\' && tail.front() != u'/')
        return {};
    const QString rel = relativeNativeOf(tail);
    QString native = d->nativeRoot;
    if (!rel.isEmpty()) {
        if (!native.endsWith(u'/'))
            native += u'/';
        native += rel;
    }
    const bool trailing = tail.endsWith(u'\\') || tail.endsWith(u'/');
    if (trailing && !native.endsWith(u'/'))
        native += u'/';
    return native;
}

std::optional<QString> DriveMap::toDrivePath(const QString &nativePath) const
{
    const QString clean = cleanNativePath(nativePath);
    if (clean.isEmpty())
        return std::nullopt;
    const DriveMapping *best = nullptr;
    for (const DriveMapping &d : m_drives) {
        if (!isSameOrBelow(clean, d.nativeRoot))
            continue;
        if (!best || d.nativeRoot.size() > best->nativeRoot.size() ||
            (d.nativeRoot.size() == best->nativeRoot.size() && d.letter < best->letter))
            best = &d;
    }
    if (!best)
        return std::nullopt;
    QString path = best->letter + QStringLiteral(":\\");
    // What lies below the root, without its leading '/'.
    const QStringView below =
        QStringView(clean).mid(best->nativeRoot == u"/" ? 1 : best->nativeRoot.size() + 1);
    if (!below.isEmpty()) {
        const qsizetype start = path.size();
        path += below;
        for (qsizetype i = start; i < path.size(); ++i) {
            if (path[i] == u'\\')
                path[i] = QChar(kBackslashStandIn);
            else if (path[i] == u'/')
                path[i] = u'\\';
        }
        if (nativePath.endsWith(u'/'))
            path += u'\\';
    }
    return path;
}

} // namespace platform
