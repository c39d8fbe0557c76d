// One running program per user: a lock file plus a local socket in the user's runtime folder.
// The first instance holds the lock and listens; a later start finds the lock taken, asks the first
// instance to come to the front (and, when it was given a path, to open it), and ends. A lock left by
// a crashed instance is recognised as stale (its process no longer runs) and taken over.
//
// The messages are lines: "raise", then for a hand-over "open " and the path's UTF-8 bytes
// percent-encoded (a path may hold blanks and line breaks). A later start writes them and goes
// without waiting for an answer, so the first instance may be the same process (tests).
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QLocalServer;
class QLocalSocket;

namespace platform {

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // name: the program's file name; it names the lock and the socket.
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    // The same; when another instance runs, it is also handed openPath (an absolute native path;
    // nothing is handed over when it is empty).
    SingleInstance(const QString &name, const QString &openPath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another instance runs (this one must end). Then it has already been asked to come to
    // the front and been handed the path.
    bool previousInstanceRuns() const { return m_previous; }
    // Whether the messages reached the other instance's socket (false when it does not listen).
    bool handedOver() const { return m_handedOver; }

signals:
    // A later start asked this instance to show itself.
    void raiseRequested();
    // A later start handed over a path to open (after asking for the raise).
    void openRequested(const QString &nativePath);

private:
    void listen();
    bool askPrevious(const QString &openPath);
    void readMessages(QLocalSocket *socket);
    QString socketName() const;

    QString m_name;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_previous = false;
    bool m_handedOver = false;
};

} // namespace platform
