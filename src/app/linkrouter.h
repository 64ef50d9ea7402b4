#pragma once

#include "app/launchmessage.h"
#include "app/singleinstance.h"

#include <QLocalServer>
#include <QObject>

#include <chrono>

class QLocalSocket;

namespace heliora {

/// A QObject that takes the launch requests of later `heliora` runs on the first run's listening socket (from
/// claimInstance()) and passes each valid one on through `requested`. It owns its QLocalServer and the
/// connections; the socket file goes when it does.
///
/// What arrives is data and nothing more: each connection carries one launch message (launchmessage.h) of at most
/// maxLaunchMessageBytes, from this user only. A message that is malformed, too long or followed by anything is
/// dropped with its connection, unanswered; so is a client that has not sent a whole message within the
/// timeout, and every client beyond the most that may be connected at once. A taken request is answered with
/// launchTakenAnswer once `requested` has returned, and the connection is closed.
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

    bool isListening() const { return m_server.isListening(); }
    /// Connections open now.
    int clientCount() const { return m_clients; }

    /// Stops listening and removes the socket file: a later launch finds no one here and becomes the first.
    void close();

signals:
    void requested(const heliora::LaunchRequest& request);

private:
    void acceptClients();
    void serve(QLocalSocket* client);

    Limits m_limits;
    // Before the server: its connections, destroyed with it, still count themselves out.
    int m_clients = 0;
    QLocalServer m_server;
};

} // namespace heliora
