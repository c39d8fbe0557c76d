// Helpers for the drive tests: a drive map from LUMAVISTA_DRIVES for the length of a test, and a
// way to act as an ordinary user when the tests run as root (root passes every permission check).
#pragma once

#include "platform/drives/DriveMap.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace drives_test {

// Sets LUMAVISTA_DRIVES and rebuilds the process's drive map; puts both back afterwards.
class ScopedDrives
{
public:
    explicit ScopedDrives(const QString &spec)
        : m_had(qEnvironmentVariableIsSet("LUMAVISTA_DRIVES")), m_old(qgetenv("LUMAVISTA_DRIVES"))
    {
        qputenv("LUMAVISTA_DRIVES", spec.toUtf8());
        platform::DriveMap::reload();
    }
    ~ScopedDrives()
    {
        if (m_had)
            qputenv("LUMAVISTA_DRIVES", m_old);
        else
            qunsetenv("LUMAVISTA_DRIVES");
        platform::DriveMap::reload();
    }
    ScopedDrives(const ScopedDrives &) = delete;
    ScopedDrives &operator=(const ScopedDrives &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

// While alive, the effective user is "nobody" if the test runs as root; otherwise nothing changes.
class AsOrdinaryUser
{
public:
    AsOrdinaryUser()
    {
        if (::geteuid() == 0)
            m_switched = ::seteuid(65534) == 0;
    }
    ~AsOrdinaryUser()
    {
        if (m_switched && ::seteuid(0) != 0)
            ADD_FAILURE() << "could not return to root";
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;
    // False when still root: permission tests cannot run.
    bool ordinary() const { return ::geteuid() != 0; }

private:
    bool m_switched = false;
};

// A temporary folder everyone may pass through, so tests acting as "nobody" can reach inside.
inline QString makeOpenTempDir(QTemporaryDir &dir)
{
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
    return dir.path();
}

} // namespace drives_test
