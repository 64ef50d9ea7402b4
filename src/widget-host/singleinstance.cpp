#include "widget-host/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace heliora::host {

namespace {
    constexpr int connectMs = 500;
    constexpr int longestRequest = 64;
} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent)
    , m_name(std::move(name))
{
}

QString SingleInstance::defaultName()
{
    // The user's runtime folder is the user's alone and ends with the session; without one, Qt's temporary
    // folder with the user id in the name.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && runtime.startsWith(QLatin1Char('/')))
        return runtime + QStringLiteral("/heliora-widgets.socket");
    return QStringLiteral("heliora-widgets-%1").arg(::getuid());
}

bool SingleInstance::forward(const QString& request) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(connectMs))
        return false;
    socket.write(request.toUtf8().left(longestRequest) + '\n');
    socket.waitForBytesWritten(connectMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered on the name (forward came first): a socket file there is left over from a crash.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequest);
    return true;
}

void SingleInstance::readRequest()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                // A client that sends a long line without an end is not one of ours.
                if (socket->bytesAvailable() > longestRequest)
                    socket->abort();
                return;
            }
            const QString request = QString::fromUtf8(socket->readLine(longestRequest + 1)).trimmed();
            socket->disconnectFromServer();
            emit requested(request);
        });
    }
}

} // namespace heliora::host
