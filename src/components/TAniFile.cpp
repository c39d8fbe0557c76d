#include "components/TAniFile.h"

#include "components/decoders/ImageLimits.h"

#include <QFileInfo>

platform::Status TAniFile::loadFromFile(const QString &path)
{
    const QFileInfo info(path);
    if (!path.endsWith(QLatin1String(".ani"), Qt::CaseInsensitive) || !info.isFile())
        return platform::Status::success();
    const platform::ErrorOr<QByteArray> bytes = pictures::readWholeFile(path);
    if (!bytes)
        return bytes.status();
    return loadFromData(*bytes);
}

platform::Status TAniFile::loadFromData(const QByteArray &bytes)
{
    platform::ErrorOr<pictures::AniData> data = pictures::decodeAni(bytes);
    if (!data)
        return platform::makeError(data.error().kind,
                                   QStringLiteral("Animated cursor error: %1").arg(data.error().message));
    m_data = std::move(*data);
    emit changed();
    return platform::Status::success();
}

void TAniFile::clear()
{
    m_data = pictures::AniData();
    emit changed();
}

QImage TAniFile::stepImage(int step) const
{
    if (step < 0 || step >= stepCount())
        return {};
    return m_data.frames.value(m_data.sequence[step]);
}

int TAniFile::stepJiffies(int step) const
{
    return m_data.rates.value(step, 1);
}

QSize TAniFile::size() const
{
    return isEmpty() ? QSize() : m_data.frames.first().size();
}
