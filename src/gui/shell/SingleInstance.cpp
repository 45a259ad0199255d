#include "gui/shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace ravelo {
namespace {
constexpr int kConnectMs = 1000;
constexpr QByteArrayView kShowRequest = "show\n";
} // namespace

SingleInstance::SingleInstance(const QString& key) : m_name(SocketName(key)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::SocketName(const QString& key)
{
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("ravelo-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::HandOverToRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectMs))
        return false;
    socket.write(kShowRequest.data(), kShowRequest.size());
    socket.waitForBytesWritten(kConnectMs);
    // The running program answers once it has shown itself, so the hand-over is certain.
    socket.waitForReadyRead(kConnectMs);
    return true;
}

bool SingleInstance::Listen(std::function<void()> onShow)
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A program that crashed leaves its socket file; nobody answers on it any more.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name))
        return false;
    QObject::connect(m_server.get(), &QLocalServer::newConnection, [server = m_server.get(), onShow] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, onShow] {
                if (socket->readAll().contains("show") && onShow)
                    onShow();
                socket->write("ok\n");
                socket->disconnectFromServer();
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

} // namespace ravelo
