#include "app/linkrouter.h"

#include <QLocalSocket>
#include <QTimer>

#include <memory>

namespace heliora {

LinkRouter::LinkRouter(FileDescriptor listeningSocket, Limits limits, QObject* parent)
    : QObject(parent)
    , m_limits(limits)
{
    if (listeningSocket && m_server.listen(listeningSocket.get()))
        listeningSocket.release();
    connect(&m_server, &QLocalServer::newConnection, this, &LinkRouter::acceptClients);
}

void LinkRouter::close() { m_server.close(); }

void LinkRouter::acceptClients()
{
    while (QLocalSocket* client = m_server.nextPendingConnection()) {
        if (m_clients >= m_limits.maxClients || !peerIsThisUser(int(client->socketDescriptor()))) {
            client->abort();
            client->deleteLater();
            continue;
        }
        // Counted until the connection object is gone, whatever ends it.
        ++m_clients;
        connect(client, &QObject::destroyed, this, [this] { --m_clients; });
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        serve(client);
    }
}

void LinkRouter::serve(QLocalSocket* client)
{
    // A client that stays silent, or stops half-way, must not hold its place for ever.
    QTimer::singleShot(m_limits.clientTimeout, client, [client] {
        client->abort();
        client->deleteLater();
    });

    auto received = std::make_shared<QByteArray>();
    const auto readMessage = [this, client, received] {
        if (client->state() != QLocalSocket::ConnectedState)
            return;
        // One byte more than a message may have is enough to know that this one is too long.
        received->append(client->read(maxLaunchMessageBytes + 1 - received->size()));
        const DecodedLaunch decoded = decodeLaunchMessage(*received);
        if (decoded.state == LaunchMessageState::incomplete)
            return;
        if (decoded.state == LaunchMessageState::malformed) {
            client->abort();
            client->deleteLater();
            return;
        }
        // One message per connection: nothing more is read from this client.
        disconnect(client, &QLocalSocket::readyRead, this, nullptr);
        emit requested(decoded.request);
        client->write(launchTakenAnswer);
        client->disconnectFromServer();
    };
    connect(client, &QLocalSocket::readyRead, this, readMessage);
    // Bytes may have come with the connection itself.
    if (client->bytesAvailable() > 0)
        readMessage();
}

} // namespace heliora
