#include "support/AppFixture.h"

#include "platform/drives/DriveMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

AppFixture::AppFixture() : app(ui, platform::DriveMap())
{
    qputenv("LUMAVISTA_CONFIG_DIR", QFile::encodeName(tmp.filePath("config")));
    qputenv("LUMAVISTA_CACHE_DIR", QFile::encodeName(tmp.filePath("cache")));
    // The desktop's thumbnail cache too: no test writes into the machine's own.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(tmp.filePath("xdg-cache")));
    setDrives("C=" + folder("c"));
}

AppFixture::~AppFixture() = default;

QString AppFixture::folder(const QString &relative)
{
    const QString path = tmp.filePath(relative);
    QDir().mkpath(path);
    return path;
}

QString AppFixture::writeFile(const QString &relative, const QByteArray &content)
{
    const QString path = tmp.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

void AppFixture::setDrives(const QString &spec)
{
    qputenv("LUMAVISTA_DRIVES", spec.toUtf8());
    app.setDrives(platform::DriveMap::detect());
}

QString AppFixture::settingsPath() const
{
    return tmp.filePath("config/LUMA.INI");
}

void AppFixture::writeSettings(const QStringList &lines)
{
    QDir().mkpath(tmp.filePath("config"));
    QFile f(settingsPath());
    if (f.open(QIODevice::WriteOnly))
        f.write(("[Lumavista]\n" + lines.join('\n') + '\n').toUtf8());
}

QString AppFixture::settingsText() const
{
    QFile f(settingsPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}
