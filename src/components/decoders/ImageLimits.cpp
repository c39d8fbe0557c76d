#include "components/decoders/ImageLimits.h"

#include <QFile>
#include <atomic>

namespace pictures {

using platform::Error;
using platform::makeError;

// Global: one memory limit for every decoder of the process (tests and tools lower it).
static std::atomic<qint64> limitBytes{qint64(1) << 30};

qint64 maxImageBytes()
{
    return limitBytes.load();
}

void setMaxImageBytes(qint64 bytes)
{
    limitBytes.store(bytes);
}

Error invalidData(const QString &message)
{
    return makeError(Error::Kind::InvalidData, message);
}

Error tooLarge(const QString &message)
{
    return makeError(Error::Kind::TooLarge, message);
}

bool imageSizeAllowed(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0 || width > 0x7fffff || height > 0x7fffff)
        return false;
    return width * height * 4 <= maxImageBytes();
}

Error sizeRefusal(qint64 width, qint64 height, const QString &message)
{
    const bool known = width > 0 && height > 0;
    return makeError(known && !imageSizeAllowed(width, height) ? Error::Kind::TooLarge
                                                               : Error::Kind::InvalidData,
                     message);
}

platform::ErrorOr<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return makeError(Error::Kind::FileOpen,
                         QStringLiteral("Cannot open file \"%1\": %2").arg(path, file.errorString()));
    if (file.size() > maxImageBytes())
        return makeError(Error::Kind::TooLarge, QStringLiteral("File \"%1\" is too large").arg(path));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return makeError(Error::Kind::FileOpen,
                         QStringLiteral("Cannot read file \"%1\": %2").arg(path, file.errorString()));
    return data;
}

} // namespace pictures
