#include "velmora/platform/SingleInstance.h"

#include "kestrelkit/Logger.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace velmora {

namespace {

constexpr int kMaxMessageLength = 64;

const kestrelkit::Logger &logger()
{
    static const kestrelkit::Logger log(QStringLiteral("SingleInstance"));
    return log;
}

// Answers within this time or is taken for dead.
constexpr int kProbeTimeoutMs = 500;

bool someoneListens(const QString &path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool alive = probe.waitForConnected(kProbeTimeoutMs);
    probe.abort();
    return alive;
}

} // namespace

SingleInstance::SingleInstance(QString socketPath, QObject *parent)
    : QObject(parent)
    , m_path(socketPath.isEmpty() ? defaultSocketPath() : std::move(socketPath))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(dir).filePath(QStringLiteral("org.velmora.Launcher.socket"));
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

bool SingleInstance::listen()
{
    if (isListening())
        return true;
    // Two processes starting together must not both decide the socket is stale.
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) {
        m_error = QStringLiteral("Cannot lock %1").arg(lock.fileName());
        logger().error(m_error);
        return false;
    }
    if (someoneListens(m_path)) {
        m_error = QStringLiteral("Another instance is running");
        return false;
    }
    if (QFileInfo::exists(m_path)) {
        logger().info(QStringLiteral("Replacing the socket of an instance that is gone"));
        QLocalServer::removeServer(m_path);
    }
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_path)) {
        m_error = server->errorString();
        logger().error(QStringLiteral("Cannot listen on %1: %2").arg(m_path, m_error));
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxMessageLength)
                    socket->abort(); // not one of ours
                return;
            }
            const QString message =
                QString::fromUtf8(socket->readLine(kMaxMessageLength + 1)).trimmed();
            socket->write("ok\n");
            socket->flush();
            socket->disconnectFromServer();
            emit messageReceived(message);
        });
    }
}

bool SingleInstance::sendMessage(const QString &socketPath, const QString &message,
                                 int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The acknowledgement tells us the instance read the message, not just the kernel.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine().trimmed() == "ok";
}

} // namespace velmora
