#include "app/MediaTypes.h"

#include "app/Global.h"
#include "app/Language.h"

#include <QStringList>

QString UpperExtension(const QString &fileName)
{
    const int dot = fileName.lastIndexOf('.');
    if (dot < 0 || fileName.indexOf('\\', dot) >= 0)
        return {};
    return fileName.mid(dot).toUpper();
}

MediaType TypeOfExtension(const QString &upperExtension)
{
    if (upperExtension.size() < 2)
        return mtNone;
    for (MediaType t : kMediaTypes)
        for (const char *x : mediaTypeInfo(t).extensions)
            if (x && upperExtension == QLatin1String(x))
                return t;
    return mtNone;
}

MediaType TypeOfFile(const QString &fileName)
{
    return TypeOfExtension(UpperExtension(fileName));
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
    if (!isMediaType(type))
        return QStringLiteral("*.???");
    QStringList patterns;
    for (const char *x : mediaTypeInfo(type).extensions)
        if (x)
            patterns << QStringLiteral("*") + QLatin1String(x);
    return patterns.join(QLatin1Char(';'));
}

bool FileMatchesType(const AppState &st, const QString &fileName, MediaType type)
{
    const QString x = UpperExtension(fileName);
    if (x.isEmpty() || !st.CatalogueState.EnabledExtensions.contains(x + '/'))
        return false;
    if (type == mtALL)
        return TypeOfFile(fileName) != mtNone;
    return isMediaType(type) && TypeOfExtension(x) == type;
}

bool ScanFileFlag(const AppState &st, MediaType type)
{
    return isMediaType(type) && st.settings.ScanFileFlags[static_cast<size_t>(code(type))];
}
