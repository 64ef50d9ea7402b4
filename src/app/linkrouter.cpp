#include "app/linkrouter.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace heliora {

/// One client: its socket, what it has sent so far, and the notifier that says when more has come.
class LinkRouter::Connection : public QObject {
public:
    Connection(FileDescriptor socket, QObject* parent)
        : QObject(parent)
        , fd(std::move(socket))
        , notifier(fd.get(), QSocketNotifier::Read, this)
    {
    }

    /// Closes at once; the object goes when the event loop next comes by (it may be inside its own notifier).
    void drop()
    {
        notifier.setEnabled(false);
        fd = FileDescriptor();
        deleteLater();
    }

    FileDescriptor fd;
    QSocketNotifier notifier;
    QByteArray received;
};

namespace {

    // A full table of descriptors leaves the connection waiting to be accepted, and the notifier would fire at
    // once, for ever: accepting rests for this long instead.
    constexpr auto acceptPause = std::chrono::milliseconds(100);

} // namespace

LinkRouter::LinkRouter(FileDescriptor listeningSocket, Limits limits, QObject* parent)
    : QObject(parent)
    , m_limits(limits)
    , m_listening(std::move(listeningSocket))
{
    if (!m_listening)
        return;
    ::fcntl(m_listening.get(), F_SETFL, ::fcntl(m_listening.get(), F_GETFL) | O_NONBLOCK);
    // The file to remove at the end, and which file it is: a later run that found this one gone may have put
    // its own socket at the same path by then.
    sockaddr_un address {};
    socklen_t size = sizeof address;
    struct stat info { };
    if (::getsockname(m_listening.get(), reinterpret_cast<sockaddr*>(&address), &size) == 0 && address.sun_path[0]) {
        m_path = QByteArray(address.sun_path, qstrnlen(address.sun_path, sizeof address.sun_path));
        if (::lstat(m_path.constData(), &info) == 0) {
            m_device = info.st_dev;
            m_inode = info.st_ino;
        }
    }
    m_acceptor = std::make_unique<QSocketNotifier>(m_listening.get(), QSocketNotifier::Read);
    connect(m_acceptor.get(), &QSocketNotifier::activated, this, &LinkRouter::acceptClients);
}

LinkRouter::~LinkRouter() { close(); }

void LinkRouter::close()
{
    m_acceptor.reset();
    if (m_listening && !m_path.isEmpty()) {
        struct stat info { };
        if (::lstat(m_path.constData(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode)
            ::unlink(m_path.constData());
    }
    m_listening = FileDescriptor();
    for (Connection* connection : findChildren<Connection*>(Qt::FindDirectChildrenOnly))
        delete connection;
}

void LinkRouter::acceptClients()
{
    while (m_listening) {
        FileDescriptor client(::accept4(m_listening.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!client) {
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                m_acceptor->setEnabled(false);
                QTimer::singleShot(
                    acceptPause, m_acceptor.get(), [notifier = m_acceptor.get()] { notifier->setEnabled(true); });
            }
            return;
        }
        // Beyond the limit, or another user's: closed at once, never read.
        if (m_clients >= m_limits.maxClients || !peerIsThisUser(client.get()))
            continue;

        auto* connection = new Connection(std::move(client), this);
        ++m_clients;
        connect(connection, &QObject::destroyed, this, [this] { --m_clients; });
        connect(&connection->notifier, &QSocketNotifier::activated, this, [this, connection] { readFrom(connection); });
        // A client that stays silent, or stops half-way, must not hold its place for ever.
        QTimer::singleShot(m_limits.clientTimeout, connection, [connection] { connection->drop(); });
    }
}

void LinkRouter::readFrom(Connection* connection)
{
    if (!connection->fd)
        return;
    // One byte more than a message may have is enough to know that this one is too long.
    char buffer[maxLaunchMessageBytes + 1];
    const qsizetype room = maxLaunchMessageBytes + 1 - connection->received.size();
    const ssize_t n = ::recv(connection->fd.get(), buffer, size_t(room), 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        // Gone before its message was whole.
        connection->drop();
        return;
    }
    connection->received.append(buffer, n);

    const DecodedLaunch decoded = decodeLaunchMessage(connection->received);
    if (decoded.state == LaunchMessageState::incomplete)
        return;
    if (decoded.state == LaunchMessageState::complete) {
        // One message per connection: nothing more is read from this client.
        connection->notifier.setEnabled(false);
        emit requested(decoded.request);
        // Three bytes fit any socket's buffer; a client that is gone by now misses its answer, nothing more.
        [[maybe_unused]] const ssize_t sent = ::send(
            connection->fd.get(), launchTakenAnswer, sizeof launchTakenAnswer - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    connection->drop();
}

} // namespace heliora
