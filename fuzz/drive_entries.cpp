// link: luma_platform_drives
// Feeds untrusted text to the LUMAVISTA_DRIVES and mountinfo readers, then converts paths taken
// from the same text both ways over the maps they built.
#include "platform/drives/DriveEntries.h"
#include "platform/drives/DriveMap.h"
#include "platform/drives/MountTable.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    QStringList problems;
    // parseDriveSpec is the reader behind fromSpec, without its stderr report.
    const std::vector<platform::DriveMapping> specDrives = platform::parseDriveSpec(text, &problems);
    const std::vector<platform::MountEntry> mounts = platform::parseMountInfo(text);
    const auto noDisk = [](const QString &) { return false; };
    const platform::DriveMap fromMounts = platform::DriveMap::fromMountInfo(text, noDisk);

    for (const platform::DriveMapping &d : specDrives) {
        if (d.nativeRoot.isEmpty() || !d.nativeRoot.startsWith(u'/') || d.label.size() > 11)
            __builtin_trap();
    }
    if (fromMounts.drives().empty() || fromMounts.drives().size() > 24 ||
        fromMounts.drives().front().nativeRoot != u"/")
        __builtin_trap();

    // The first lines are also tried as drive paths and as native paths. Each try walks every
    // mount, so trying all of a long input's lines would cost its length squared a run.
    int tried = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (++tried > 64)
            break;
        const QString path = line.toString();
        const QString native = fromMounts.toNative(path);
        if (!native.isEmpty()) {
            const std::optional<QString> back = fromMounts.toDrivePath(native);
            if (!back)
                __builtin_trap(); // a native path made from a drive path lies on a drive
        }
        (void)fromMounts.toDrivePath(path);
        (void)platform::mountOf(mounts, path);
    }
    return 0;
}
