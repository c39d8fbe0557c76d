#include "platform/drives/DriveEntries.h"

#include "platform/drives/DriveNames.h"

#include <algorithm>

namespace platform {

namespace {

bool isHexSerial(QStringView text)
{
    if (text.size() != 8)
        return false;
    for (QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}

// Why the entry cannot be used, or an empty text when it is good (then *out is filled).
QString readEntry(QStringView entry, DriveMapping *out)
{
    const qsizetype eq = entry.indexOf(QLatin1Char('='));
    if (eq < 0)
        return QStringLiteral("no '=' between the letter and the folder");
    const QStringView letter = entry.left(eq).trimmed();
    if (letter.size() != 1 ||
        !((letter[0] >= u'A' && letter[0] <= u'Z') || (letter[0] >= u'a' && letter[0] <= u'z')))
        return QStringLiteral("the drive letter must be one letter from A to Z");
    const QList<QStringView> fields = entry.mid(eq + 1).split(QLatin1Char(','));
    if (fields.size() > 4)
        return QStringLiteral("too many fields (folder, kind, label, serial at most)");

    const QString root = cleanNativePath(fields[0].trimmed());
    if (root.isEmpty())
        return QStringLiteral("the folder must be an absolute path");
    int type = DRIVE_FIXED;
    if (fields.size() > 1 && !fields[1].trimmed().isEmpty()) {
        type = driveTypeOfKind(fields[1].trimmed());
        if (type < 0)
            return QStringLiteral("unknown kind (removable, fixed, network, cdrom or ramdisk)");
    }
    QString label;
    if (fields.size() > 2) {
        label = fields[2].trimmed().toString();
        if (label.size() > 11)
            return QStringLiteral("the label is longer than 11 characters");
    }
    QString serial;
    if (fields.size() > 3) {
        const QStringView given = fields[3].trimmed();
        if (!given.isEmpty() && !isHexSerial(given))
            return QStringLiteral("the serial number must be 8 hexadecimal digits");
        serial = given.toString().toUpper();
    }
    out->letter = letter[0].toUpper();
    out->nativeRoot = root;
    out->type = type;
    out->label = label;
    out->serial = serial;
    return {};
}

} // namespace

int driveTypeOfKind(QStringView kind)
{
    static constexpr struct
    {
        const char16_t *word;
        int type;
    } kinds[] = {{u"removable", DRIVE_REMOVABLE},
                 {u"fixed", DRIVE_FIXED},
                 {u"network", DRIVE_REMOTE},
                 {u"cdrom", DRIVE_CDROM},
                 {u"ramdisk", DRIVE_RAMDISK}};
    for (const auto &k : kinds)
        if (kind.compare(QStringView(k.word), Qt::CaseInsensitive) == 0)
            return k.type;
    return -1;
}

std::vector<DriveMapping> parseDriveSpec(const QString &spec, QStringList *problems)
{
    std::vector<DriveMapping> drives;
    for (QStringView entry : QStringView(spec).split(QLatin1Char(';'))) {
        if (entry.trimmed().isEmpty())
            continue;
        DriveMapping d;
        QString why = readEntry(entry, &d);
        if (why.isEmpty()) {
            for (const DriveMapping &earlier : drives)
                if (earlier.letter == d.letter)
                    why = QStringLiteral("drive %1: is given twice; the first entry counts").arg(d.letter);
        }
        if (!why.isEmpty()) {
            if (problems)
                problems->append(QStringLiteral("\"%1\": %2").arg(entry.toString(), why));
            continue;
        }
        drives.push_back(std::move(d));
    }
    std::sort(drives.begin(), drives.end(),
              [](const DriveMapping &a, const DriveMapping &b) { return a.letter < b.letter; });
    return drives;
}

} // namespace platform
