#pragma once

#include "app/launchmessage.h"
#include "app/singleinstance.h"

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <memory>

class QSocketNotifier;

namespace heliora {

/// A QObject that takes the launch requests of later `heliora` runs on the first run's listening local socket
/// (from claimInstance()) and passes each valid one on through `requested`. It owns the socket, the connections
/// and the socket's file, which it removes when it closes (unless another run's socket has taken its place).
///
/// What arrives is data and nothing more: each connection carries one launch message (launchmessage.h) of at most
/// maxLaunchMessageBytes, from this user only. A message that is malformed, too long or followed by anything is
/// dropped with its connection, unanswered; so is a client that has not sent a whole message within the
/// timeout, and every client beyond the most that may be connected at once. A taken request is answered with
/// launchTakenAnswer once `requested` has returned, and the connection is closed.
///
/// Built on QSocketNotifier rather than QLocalServer: QtNetwork would cost every later launch, which never uses
/// it, the loading of the library and its dependencies.
class LinkRouter : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxClients = 16;
        std::chrono::milliseconds clientTimeout { 2000 };
    };

    explicit LinkRouter(FileDescriptor listeningSocket, Limits limits, QObject* parent = nullptr);
    explicit LinkRouter(FileDescriptor listeningSocket, QObject* parent = nullptr)
        : LinkRouter(std::move(listeningSocket), Limits {}, parent)
    {
    }
    ~LinkRouter() override;

    bool isListening() const { return bool(m_listening); }
    /// Connections open now.
    int clientCount() const { return m_clients; }

    /// Stops listening, drops every connection and removes the socket file: a later launch finds no one here
    /// and becomes the first.
    void close();

signals:
    void requested(const heliora::LaunchRequest& request);

private:
    class Connection;

    void acceptClients();
    void readFrom(Connection* connection);

    Limits m_limits;
    FileDescriptor m_listening;
    QByteArray m_path;
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
    std::unique_ptr<QSocketNotifier> m_acceptor;
    int m_clients = 0;
};

} // namespace heliora
