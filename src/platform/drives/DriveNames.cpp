#include "platform/drives/DriveNames.h"

#include <QList>

namespace platform {

QString nameFromNative(const char *bytes, qsizetype length)
{
    QString name = QString::fromUtf8(bytes, length);
    // Detaching is free here: the string was just made and is not shared.
    if (name.contains(QLatin1Char('\\')))
        name.replace(QLatin1Char('\\'), QChar(kBackslashStandIn));
    return name;
}

QString nameFromNative(QStringView name)
{
    QString shown = name.toString();
    shown.replace(QLatin1Char('\\'), QChar(kBackslashStandIn));
    return shown;
}

QString nameToNative(QStringView name)
{
    QString native = name.toString();
    native.replace(QChar(kBackslashStandIn), QLatin1Char('\\'));
    return native;
}

namespace {

// Joins the components of a '/'-separated path, resolving "." and ".." textually; ".." at the top
// is dropped, so the result never leaves the folder it is relative to.
QString cleanComponents(QStringView path)
{
    QList<QStringView> parts;
    for (QStringView part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == u".")
            continue;
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    QString out;
    for (QStringView part : parts) {
        if (!out.isEmpty())
            out += QLatin1Char('/');
        out += part;
    }
    return out;
}

} // namespace

QString cleanNativePath(QStringView path)
{
    if (!path.startsWith(QLatin1Char('/')))
        return {};
    return QLatin1Char('/') + cleanComponents(path);
}

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

// The tail of an ordinary drive path ("\\Photos\\2000\\": no "." or "..", no doubled separator, no
// stand-in) needs no cleaning: its separators just become '/'. Null when it needs the general path.
QString simpleRelative(QStringView tail)
{
    qsizetype begin = 0;
    qsizetype end = tail.size();
    while (begin < end && isSeparator(tail[begin]))
        ++begin;
    while (end > begin && isSeparator(tail[end - 1]))
        --end;
    if (begin == end)
        return QString();
    qsizetype partStart = begin;
    for (qsizetype i = begin; i <= end; ++i) {
        if (i < end && !isSeparator(tail[i])) {
            if (tail[i] == QChar(kBackslashStandIn))
                return QString();
            continue;
        }
        const QStringView part = tail.mid(partStart, i - partStart);
        if (part.isEmpty() || part == u"." || part == u"..")
            return QString();
        partStart = i + 1;
    }
    QString rel = tail.mid(begin, end - begin).toString();
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return rel;
}

} // namespace

QString relativeNativeOf(QStringView drivePathTail)
{
    // Asked once per folder a walk lists.
    if (QString rel = simpleRelative(drivePathTail); !rel.isNull())
        return rel;
    QString tail = drivePathTail.toString();
    // A backslash that belongs to a name only exists as U+F05C here, so every real '\' is a separator.
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString rel = cleanComponents(tail);
    rel.replace(QChar(kBackslashStandIn), QLatin1Char('\\'));
    return rel;
}

bool isSameOrBelow(QStringView path, QStringView folder)
{
    if (folder == u"/")
        return path.startsWith(QLatin1Char('/'));
    if (!path.startsWith(folder))
        return false;
    return path.size() == folder.size() || path.at(folder.size()) == QLatin1Char('/');
}

} // namespace platform
