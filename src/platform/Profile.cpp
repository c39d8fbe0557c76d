#include "platform/Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace platform {

QString profileFolder()
{
    const QString custom = qEnvironmentVariable("LUMAVISTA_CONFIG_DIR");
    if (!custom.isEmpty())
        return custom;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + "/.config";
    return base + "/Lumavista";
}

QString profilePath(const QString &fileName)
{
    if (fileName.contains('/'))
        return fileName;
    return profileFolder() + '/' + fileName;
}

namespace {

// "[name]" with blanks allowed around; returns the name, or a null string for other lines.
QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith('['))
        return {};
    const int close = t.indexOf(']');
    if (close < 0)
        return {};
    return t.mid(1, close - 1).trimmed();
}

// Key of a "key=value" line; null for comments and lines without '='.
QString keyOf(const QString &line, QString *value = nullptr)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('#') || t.startsWith('['))
        return {};
    const int eq = line.indexOf('=');
    if (eq < 0)
        return {};
    if (value)
        *value = line.mid(eq + 1);
    return line.left(eq).trimmed();
}

QString unquote(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && ((v.startsWith('"') && v.endsWith('"')) || (v.startsWith('\'') && v.endsWith('\''))))
        v = v.mid(1, v.size() - 2);
    return v.left(kProfileValueMax);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString readText(const QString &path, bool *exists)
{
    QFile f(path);
    *exists = f.open(QIODevice::ReadOnly);
    if (!*exists)
        return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace

QString profileLookup(const QString &text, const QString &section, const QString &key, bool *found)
{
    *found = false;
    bool inSection = false;
    const QStringList lines = text.split('\n');
    for (QString line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString sec = sectionName(line);
        if (!sec.isNull()) {
            inSection = sameName(sec, section);
            continue;
        }
        if (!inSection)
            continue;
        QString value;
        const QString k = keyOf(line, &value);
        if (!k.isNull() && sameName(k, key)) {
            *found = true;
            return unquote(value);
        }
    }
    return {};
}

QString profileUpdate(const QString &text, const QString &section, const QString &key, const QString &value)
{
    QStringList lines = text.isEmpty() ? QStringList() : text.split('\n');
    // A file ending in a newline splits into a last empty element; keep it out of the way.
    bool trailingNewline = !lines.isEmpty() && lines.last().isEmpty();
    if (trailingNewline)
        lines.removeLast();
    const bool crlf = text.contains("\r\n");
    const QString eol = crlf ? "\r" : "";

    int sectionLine = -1;
    int lastInSection = -1; // last non-blank line of the section
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        const QString sec = sectionName(line);
        if (!sec.isNull()) {
            if (sectionLine >= 0)
                break; // the section ended
            if (sameName(sec, section)) {
                sectionLine = i;
                lastInSection = i;
            }
            continue;
        }
        if (sectionLine < 0)
            continue;
        if (!line.trimmed().isEmpty())
            lastInSection = i;
        const QString k = keyOf(line);
        if (!k.isNull() && sameName(k, key)) {
            lines[i] = k + '=' + value + eol;
            return lines.join('\n') + '\n';
        }
    }
    const QString entry = key + '=' + value + eol;
    if (sectionLine >= 0) {
        lines.insert(lastInSection + 1, entry);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString(eol);
        lines << '[' + section + ']' + eol << entry;
    }
    return lines.join('\n') + '\n';
}

QString GetPrivateProfileString(const QString &section, const QString &key, const QString &def,
                                const QString &fileName)
{
    bool exists = false;
    const QString text = readText(profilePath(fileName), &exists);
    if (!exists)
        return def.left(kProfileValueMax);
    bool found = false;
    const QString v = profileLookup(text, section, key, &found);
    return found ? v : def.left(kProfileValueMax);
}

Status WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                                 const QString &fileName)
{
    const QString path = profilePath(fileName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool exists = false;
    const QString text = readText(path, &exists);
    if (!exists && QFileInfo::exists(path))
        return makeError(Error::Kind::Io, QStringLiteral("%1: unreadable").arg(path));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(path, out.errorString()));
    out.write(profileUpdate(text, section, key, value).toUtf8());
    if (!out.commit())
        return makeError(Error::Kind::Io, QStringLiteral("%1: %2").arg(path, out.errorString()));
    return Status::success();
}

} // namespace platform
