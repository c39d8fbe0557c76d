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

// A message line is far shorter: a path of the longest kind, percent-encoded.
constexpr qint64 kMaxMessage = 64 * 1024;
} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent) : SingleInstance(name, QString(), parent)
{
}

SingleInstance::SingleInstance(const QString &name, const QString &openPath, QObject *parent)
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
    m_handedOver = askPrevious(openPath);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketName() const
{
    return m_folder + '/' + m_name + '-' + QString::number(getuid()) + ".sock";
}

void SingleInstance::listen()
{
    const QString name = socketName();
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name))
        return; // still the only instance; a later start just cannot raise this window
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] { readMessages(s); });
            // The writer leaves at once: what it wrote may only be read when it is already gone.
            connect(s, &QLocalSocket::disconnected, this, [this, s] {
                readMessages(s);
                s->deleteLater();
            });
            readMessages(s);
        }
    });
}

void SingleInstance::readMessages(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine().trimmed();
        if (line == "raise") {
            emit raiseRequested();
        } else if (line.startsWith("open ")) {
            const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5)));
            if (!path.isEmpty())
                emit openRequested(path);
        }
    }
    // Only the program's own short lines are expected; anything longer is not kept in memory.
    if (socket->bytesAvailable() > kMaxMessage)
        socket->abort();
}

bool SingleInstance::askPrevious(const QString &openPath)
{
    QLocalSocket socket;
    socket.connectToServer(socketName());
    if (!socket.waitForConnected(1000))
        return false;
    QByteArray message = "raise\n";
    if (!openPath.isEmpty())
        message += "open " + openPath.toUtf8().toPercentEncoding() + '\n';
    socket.write(message);
    // No answer is awaited: the first instance may be this very process, which reads only later.
    bool written = true;
    while (written && socket.bytesToWrite() > 0)
        written = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return written;
}

} // namespace platform
