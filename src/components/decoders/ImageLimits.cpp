#include "components/decoders/ImageLimits.h"

#include "components/EInvalidGraphic.h"

#include <QFile>
#include <atomic>

namespace pictures {

static std::atomic<qint64> limitBytes{qint64(1) << 30};

qint64 maxImageBytes()
{
    return limitBytes.load();
}

void setMaxImageBytes(qint64 bytes)
{
    limitBytes.store(bytes);
}

bool imageSizeAllowed(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0 || width > 0x7fffff || height > 0x7fffff)
        return false;
    return width * height * 4 <= maxImageBytes();
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileOpenError(QStringLiteral("Cannot open file \"%1\": %2").arg(path, file.errorString()));
    // No picture file worth showing is larger than its own decoded size limit.
    if (file.size() > maxImageBytes())
        throw EFileOpenError(QStringLiteral("File \"%1\" is too large").arg(path));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileOpenError(QStringLiteral("Cannot read file \"%1\": %2").arg(path, file.errorString()));
    return data;
}

} // namespace pictures
