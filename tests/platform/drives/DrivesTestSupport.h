// Helpers for the drive tests: a drive map from LUMAVISTA_DRIVES for the length of a test, and a
// way to act as an ordinary user when the tests run as root (root passes every permission check).
#pragma once

#include "../../support/AsOrdinaryUser.h"
#include "platform/drives/DriveMap.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace drives_test {

// The drive map the searches of a test use: the one of the innermost ScopedDrives alive.
inline const platform::DriveMap *&activeMap()
{
    static const platform::DriveMap *active = nullptr;
    return active;
}

// Sets LUMAVISTA_DRIVES and reads the drive map from it; puts both back afterwards.
class ScopedDrives
{
public:
    explicit ScopedDrives(const QString &spec)
        : m_had(qEnvironmentVariableIsSet("LUMAVISTA_DRIVES")), m_old(qgetenv("LUMAVISTA_DRIVES")),
          m_previous(activeMap())
    {
        qputenv("LUMAVISTA_DRIVES", spec.toUtf8());
        m_map = platform::DriveMap::detect();
        activeMap() = &m_map;
    }
    ~ScopedDrives()
    {
        if (m_had)
            qputenv("LUMAVISTA_DRIVES", m_old);
        else
            qunsetenv("LUMAVISTA_DRIVES");
        activeMap() = m_previous;
    }
    ScopedDrives(const ScopedDrives &) = delete;
    ScopedDrives &operator=(const ScopedDrives &) = delete;
    const platform::DriveMap &map() const { return m_map; }

private:
    bool m_had;
    QByteArray m_old;
    const platform::DriveMap *m_previous;
    platform::DriveMap m_map;
};

// The map of the innermost ScopedDrives, or the one the process sees.
inline const platform::DriveMap &map()
{
    static const platform::DriveMap detected = platform::DriveMap::detect();
    return activeMap() ? *activeMap() : detected;
}

// A temporary folder everyone may pass through, so tests acting as "nobody" can reach inside.
inline QString makeOpenTempDir(QTemporaryDir &dir)
{
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
    return dir.path();
}

} // namespace drives_test
