#include "convert/AtomicOutput.h"

#include "platform/files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace convert {

namespace {

using platform::Error;

QString candidate(const QString &folder, const QString &stem, const QString &ext, int n)
{
    const QString name = n < 2 ? QStringLiteral("%1.%2").arg(stem, ext)
                               : QStringLiteral("%1 (%2).%3").arg(stem).arg(n).arg(ext);
    return QDir(folder).filePath(name);
}

bool taken(const QString &path)
{
    // A dangling symbolic link is taken too: renaming over it would replace it.
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

} // namespace

QString freeOutputPath(const QString &folder, const QString &stem, const QString &ext)
{
    for (int n = 1;; ++n) {
        const QString path = candidate(folder, stem, ext, n);
        if (!taken(path))
            return path;
    }
}

AtomicOutput::~AtomicOutput()
{
    if (!m_temp.isEmpty())
        QFile::remove(m_temp);
}

platform::Status AtomicOutput::open(const QString &folder)
{
    m_folder = folder;
    if (!QDir().mkpath(folder))
        return platform::makeError(Error::Kind::Io, QStringLiteral("cannot create folder %1").arg(folder));
    // Made with the ordinary permissions (the user's umask), not the owner-only ones of a
    // temporary file: the output keeps them.
    QString why;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral(".lumavista-%1.part")
                                 .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_temp = file.fileName();
            return platform::Status::success();
        }
        why = file.errorString();
        if (QFileInfo::exists(file.fileName()))
            continue;
        break;
    }
    return platform::makeError(Error::Kind::Io, QStringLiteral("cannot write in %1: %2").arg(folder, why));
}

platform::ErrorOr<QString> AtomicOutput::commit(const QString &stem, const QString &ext,
                                                const QDateTime &modified)
{
    if (m_temp.isEmpty())
        return platform::makeError(Error::Kind::Other, QStringLiteral("no output was opened"));
    {
        QFile file(m_temp);
        if (modified.isValid() && (!file.open(QIODevice::ReadWrite) ||
                                   !file.setFileTime(modified, QFileDevice::FileModificationTime)))
            return platform::makeError(
                Error::Kind::Io,
                QStringLiteral("cannot set the time of %1: %2").arg(m_temp, file.errorString()));
    }
    // The rename never replaces a file (QFile::rename would copy over a name taken between its
    // check and its rename), so a name taken by another conversion only moves us on to the next
    // number.
    for (int n = 1; n < 100000; ++n) {
        const QString path = candidate(m_folder, stem, ext, n);
        if (taken(path))
            continue;
        const platform::Status renamed = platform::renameWithoutReplacing(m_temp, path);
        if (renamed) {
            m_temp.clear();
            return path;
        }
        if (renamed.error().code != EEXIST)
            return platform::makeError(
                Error::Kind::Io,
                QStringLiteral("cannot name the output %1: %2").arg(path, renamed.message()));
    }
    return platform::makeError(Error::Kind::Io, QStringLiteral("no free name for %1.%2").arg(stem, ext));
}

} // namespace convert
