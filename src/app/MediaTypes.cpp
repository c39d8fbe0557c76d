#include "app/MediaTypes.h"

#include "app/Global.h"
#include "app/Language.h"

QString UpperExtension(const QString &fileName)
{
    const int dot = fileName.lastIndexOf('.');
    if (dot < 0 || fileName.indexOf('\\', dot) >= 0)
        return {};
    return fileName.mid(dot).toUpper();
}

MediaType TypeOfFile(const QString &fileName)
{
    const QString x = UpperExtension(fileName);
    for (MediaType t : kMediaTypes)
        if (x == QLatin1String(mediaTypeInfo(t).extension))
            return t;
    return mtNone;
}

int ListImageOfFile(const QString &fileName)
{
    const MediaType t = TypeOfFile(fileName);
    return isMediaType(t) ? mediaTypeInfo(t).listPicture : 5;
}

QString DescriptionOfType(MediaType type)
{
    if (!isMediaType(type))
        return SelectText("Fichier multimedia inconnu", "Unknown multimedia file");
    const MediaTypeInfo &row = mediaTypeInfo(type);
    return SelectText(QString::fromUtf8(row.descriptionFr), QString::fromUtf8(row.descriptionEn));
}

QString DescriptionOfFile(const QString &fileName)
{
    return DescriptionOfType(TypeOfFile(fileName));
}

QString PatternOfType(MediaType type)
{
    if (type == mtALL)
        return QStringLiteral("*.*");
    if (isMediaType(type))
        return QStringLiteral("*") + QLatin1String(mediaTypeInfo(type).extension);
    return QStringLiteral("*.???");
}

bool FileMatchesType(const AppState &st, const QString &fileName, MediaType type)
{
    const QString x = UpperExtension(fileName);
    if (x.isEmpty() || !st.CatalogueState.EnabledExtensions.contains(x + '/'))
        return false;
    if (type == mtALL)
        return TypeOfFile(fileName) != mtNone;
    return isMediaType(type) && x == QLatin1String(mediaTypeInfo(type).extension);
}

bool ScanFileFlag(const AppState &st, MediaType type)
{
    return isMediaType(type) && st.settings.ScanFileFlags[static_cast<size_t>(code(type))];
}
