// One running program per user: a lock file plus a local socket in the user's runtime folder.
// The first instance holds the lock and listens; a later start finds the lock taken, asks the first
// instance to come to the front, and ends. A lock left by a crashed instance is recognised as stale
// (its process no longer runs) and taken over.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QLocalServer;

namespace platform {

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // name: the program's file name; it names the lock and the socket.
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another instance runs (this one must end). Then it has already been asked to come to
    // the front.
    bool previousInstanceRuns() const { return m_previous; }

signals:
    // A later start asked this instance to show itself.
    void raiseRequested();

private:
    void listen();
    bool askPreviousToRaise();

    QString m_name;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_previous = false;
};

} // namespace platform
