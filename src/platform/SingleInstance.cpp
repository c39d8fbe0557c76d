#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <unistd.h>

namespace platform {

namespace {
QString runtimeFolder()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isWritable())
        dir = QDir::tempPath();
    return dir;
}
} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), m_name(name), m_folder(runtimeFolder())
{
    const QString base = m_folder + '/' + m_name + '-' + QString::number(getuid());
    m_lock = std::make_unique<QLockFile>(base + ".lock");
    // A lock whose process is gone is removed by tryLock itself; the stale time only matters for
    // locks whose owner cannot be checked.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(200)) {
        listen();
        return;
    }
    m_previous = true;
    askPreviousToRaise();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen()
{
    const QString socketName = m_folder + '/' + m_name + '-' + QString::number(getuid()) + ".sock";
    QLocalServer::removeServer(socketName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketName))
        return; // still the only instance; a later start just cannot raise this window
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains("raise"))
                    emit raiseRequested();
                s->disconnectFromServer();
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::askPreviousToRaise()
{
    QLocalSocket socket;
    socket.connectToServer(m_folder + '/' + m_name + '-' + QString::number(getuid()) + ".sock");
    if (!socket.waitForConnected(1000))
        return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(1000);
    socket.waitForDisconnected(500);
    return true;
}

} // namespace platform
