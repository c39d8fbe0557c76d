#include "app/Artwork.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {
QString artPath(const QString &relative)
{
    QString p = QStringLiteral(":/art/") + relative;
    if (!p.endsWith(".svg") && !p.endsWith(".png"))
        p += ".svg";
    return p;
}

std::vector<QIcon> numbered(const QString &folder, int count, int digits)
{
    std::vector<QIcon> icons;
    icons.reserve(count);
    for (int i = 0; i < count; ++i)
        icons.push_back(ArtIcon(folder + '/' + QString::number(i).rightJustified(digits, '0')));
    return icons;
}

const char *const kDriveKindArt[6] = {"Floppy", "Hard", "Network", "CdRom", "Ram", "Unknown"};
} // namespace

QIcon ArtIcon(const QString &relative)
{
    const QString path = artPath(relative);
    if (!QFile::exists(path))
        return {};
    return QIcon(path);
}

QPixmap ArtPixmap(const QString &relative, QSize size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QSvgRenderer svg(artPath(relative));
    if (svg.isValid()) {
        QPainter p(&pm);
        svg.render(&p);
    }
    return pm;
}

QIcon ArtToolbarIcon(const QString &bar, const QString &name)
{
    const QString normal = artPath("toolbar/" + bar + '/' + name);
    const QString hot = artPath("toolbar/" + bar + "/hot/" + name);
    QIcon icon;
    if (QFile::exists(normal))
        icon.addFile(normal, QSize(), QIcon::Normal);
    if (QFile::exists(hot))
        icon.addFile(hot, QSize(), QIcon::Active);
    return icon;
}

ImageLists BuildImageLists()
{
    ImageLists l;
    l.treeView = numbered("tree", 20, 2);
    // Five drives, the unknown file and the folder (0..6), then one picture a media type.
    constexpr int kListPictures = 7 + int(kMediaTypes.size());
    l.smallList = numbered("list16", kListPictures, 2);
    l.largeList = numbered("list32", kListPictures, 2);
    l.disks = numbered("drives16", 7, 1);
    l.scanReport = numbered("scan", 3, 1);
    l.types.resize(kTypeCount);
    for (MediaType t : kMediaTypes)
        l.types[static_cast<size_t>(code(t))] =
            ArtPixmap(QStringLiteral("types/") + mediaTypeInfo(t).code, QSize(32, 32));
    for (const char *kind : kDriveKindArt)
        l.driveKinds.push_back(ArtPixmap(QStringLiteral("drivekinds/") + kind, QSize(32, 32)));
    return l;
}

QPixmap MediaTypePicture(App &app, MediaType type)
{
    if (!isMediaType(type))
        InternalError(app, 24, SelectText("Erreur type de fichier", "File type error."));
    return app.images().types[static_cast<size_t>(code(type))];
}

QPixmap DriveKindPicture(App &app, int kind)
{
    if (kind < 0 || kind > 4)
        kind = 5;
    return app.images().driveKinds[static_cast<size_t>(kind)];
}
