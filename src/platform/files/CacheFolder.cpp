#include "platform/files/CacheFolder.h"

#include <QDir>

namespace platform {

QString cacheFolder()
{
    const QString own = qEnvironmentVariable("LUMAVISTA_CACHE_DIR");
    if (!own.isEmpty())
        return QDir::cleanPath(own);
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.isEmpty() && QDir::isAbsolutePath(cache))
        return QDir::cleanPath(cache) + QLatin1String("/Lumavista");
    return QDir::homePath() + QLatin1String("/.cache/Lumavista");
}

QString keptCataloguePath()
{
    return cacheFolder() + QLatin1String("/catalogue");
}

} // namespace platform
