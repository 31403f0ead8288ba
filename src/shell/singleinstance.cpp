#include "singleinstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

SingleInstance::SingleInstance(QString serverName, QObject *parent)
    : QObject(parent)
    , m_name(std::move(serverName))
{}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverNameFor(const QString &applicationFolder)
{
    const QByteArray home = QDir::cleanPath(QDir(applicationFolder).absolutePath()).toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(home, QCryptographicHash::Sha1).toHex().left(12));
    const QString name = QStringLiteral("glimmerbook-%1-%2").arg(::getuid()).arg(hash);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        return QDir(runtime).filePath(name);
    }
    return name;
}

std::optional<QString>
SingleInstance::ask(const QString &serverName, const QString &request, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs)) {
        return std::nullopt;
    }
    socket.write(request.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return QString();
    }
    QElapsedTimer clock;
    clock.start();
    while (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || !socket.waitForReadyRead(int(left))) {
            break;
        }
    }
    const QString reply =
        socket.canReadLine() ? QString::fromUtf8(socket.readLine()).trimmed() : QString();
    socket.disconnectFromServer();
    return reply;
}

bool SingleInstance::activateRunningInstance(int timeoutMs) const
{
    return ask(m_name, kShowRequest, timeoutMs).has_value();
}

Result<void> SingleInstance::listen()
{
    if (isListening()) {
        return {};
    }
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    }
    if (m_server->listen(m_name)) {
        return {};
    }
    // A socket file that nobody answers on belongs to an instance that was killed: remove it and
    // listen again. One that answers belongs to an instance that started at the same moment.
    if (ask(m_name, QString(), 1000).has_value()) {
        return Failure{FailureNumber::PathFileAccessError,
                       QStringLiteral("Another instance is listening on ") + m_name};
    }
    QLocalServer::removeServer(m_name);
    if (m_server->listen(m_name)) {
        return {};
    }
    return Failure{FailureNumber::PathFileAccessError, m_server->errorString()};
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

QString SingleInstance::fullServerName() const
{
    return isListening() ? m_server->fullServerName() : QString();
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            readRequests(socket);
        });
        readRequests(socket);
    }
}

void SingleInstance::readRequests(QLocalSocket *connection)
{
    // The handler may run a nested event loop in which the peer goes away.
    const QPointer<QLocalSocket> socket(connection);
    while (socket && socket->canReadLine()) {
        const QString request = QString::fromUtf8(socket->readLine()).trimmed();
        const QString reply = m_handler ? m_handler(request) : QString();
        if (socket && socket->state() == QLocalSocket::ConnectedState) {
            socket->write(reply.toUtf8() + '\n');
            socket->flush();
        }
    }
}
