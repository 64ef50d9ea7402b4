// The link router against clients of every kind: heliora's own, and ones that send garbage, too much, too little,
// nothing, or all at once. Clients are plain sockets driven from the test while the event loop serves them.

#include "app/linkrouter.h"

#include "support/rows.h"
#include "support/scopedenv.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace heliora {
namespace {

    using test::PrintTo;
    using namespace std::chrono_literals;

    const QByteArray validMessage
        = encodeLaunchMessage({ { QStringLiteral("--"), QStringLiteral("heliora://?date=19910109") }, "id_TIME5" });

    /// One client connection: what it sent, and everything the router wrote back until it closed.
    struct Client {
        FileDescriptor fd;
        QByteArray answer;
        bool ended = false;

        void send(const QByteArray& bytes)
        {
            for (qsizetype at = 0; at < bytes.size();) {
                const ssize_t n
                    = ::send(fd.get(), bytes.constData() + at, size_t(bytes.size() - at), MSG_NOSIGNAL | MSG_DONTWAIT);
                if (n <= 0)
                    return; // the router closed on us, or its buffer is full: both are the router's right
                at += n;
            }
        }

        bool poll()
        {
            char buffer[256];
            while (!ended) {
                const ssize_t n = ::recv(fd.get(), buffer, sizeof buffer, MSG_DONTWAIT);
                if (n > 0)
                    answer.append(buffer, n);
                else if (n == 0 || errno != EAGAIN)
                    ended = true;
                else
                    break;
            }
            return ended;
        }
    };

    class Router : public ::testing::Test {
    protected:
        Router()
        {
            QString problem;
            address = *instanceAddress(&problem);
        }

        std::unique_ptr<LinkRouter> listen(LinkRouter::Limits limits = {})
        {
            InstanceClaim claim = claimInstance(address);
            EXPECT_EQ(claim.outcome, InstanceClaim::Outcome::first) << claim.problem.toStdString();
            auto router = std::make_unique<LinkRouter>(std::move(claim.socket), limits);
            QObject::connect(router.get(), &LinkRouter::requested,
                [this](const LaunchRequest& request) { requests.append(request); });
            return router;
        }

        Client connectClient() const
        {
            Client client { FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)), {}, false };
            sockaddr_un target {};
            target.sun_family = AF_UNIX;
            const QByteArray path = QFile::encodeName(address.socketPath);
            std::memcpy(target.sun_path, path.constData(), size_t(path.size()));
            EXPECT_EQ(::connect(client.fd.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target), 0)
                << std::strerror(errno);
            return client;
        }

        static bool waitUntilEnded(std::vector<Client>& clients)
        {
            return QTest::qWaitFor(
                [&clients] { return std::all_of(clients.begin(), clients.end(), [](Client& c) { return c.poll(); }); },
                30000);
        }

        QTemporaryDir runtime;
        test::ScopedEnv env { { "XDG_RUNTIME_DIR", qPrintable(runtime.path()) }, { "DISPLAY", ":7" },
            { "WAYLAND_DISPLAY", nullptr } };
        InstanceAddress address;
        QList<LaunchRequest> requests;
    };

    TEST_F(Router, TakesARequestAnswersAndCloses)
    {
        const auto router = listen();
        ASSERT_TRUE(router->isListening());
        std::vector<Client> clients;
        clients.push_back(connectClient());
        // In pieces, as a slow sender's bytes may come.
        clients[0].send(validMessage.first(5));
        QTest::qWait(20);
        clients[0].send(validMessage.sliced(5));
        ASSERT_TRUE(waitUntilEnded(clients));
        EXPECT_EQ(clients[0].answer, QByteArray(launchTakenAnswer));
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(
            requests[0].arguments, QStringList({ QStringLiteral("--"), QStringLiteral("heliora://?date=19910109") }));
        EXPECT_EQ(requests[0].startupToken, QByteArray("id_TIME5"));
        EXPECT_TRUE(QTest::qWaitFor([&router] { return router->clientCount() == 0; }, 10000));
    }

    struct HostileCase {
        const char* name;
        QByteArray bytes;
    };

    class HostileClient : public Router, public ::testing::WithParamInterface<HostileCase> { };

    TEST_P(HostileClient, IsDroppedUnansweredAndChangesNothing)
    {
        const auto router = listen({ 16, 200ms });
        std::vector<Client> clients;
        clients.push_back(connectClient());
        clients[0].send(GetParam().bytes);
        ASSERT_TRUE(waitUntilEnded(clients));
        EXPECT_EQ(clients[0].answer, QByteArray());
        EXPECT_TRUE(requests.isEmpty());
        EXPECT_TRUE(QTest::qWaitFor([&router] { return router->clientCount() == 0; }, 10000));

        // The router still serves the next one.
        clients.push_back(connectClient());
        clients[1].send(validMessage);
        ASSERT_TRUE(waitUntilEnded(clients));
        EXPECT_EQ(clients[1].answer, QByteArray(launchTakenAnswer));
        EXPECT_EQ(requests.size(), 1);
    }

    INSTANTIATE_TEST_SUITE_P(Table, HostileClient,
        ::testing::Values(HostileCase { "Garbage", "\x16\x03\x01\x02\x00 GET / HTTP/1.1\r\n" },
            HostileCase { "Huge", validMessage.first(20) + QByteArray(1 << 20, 'x') },
            HostileCase { "MessageThenMore", validMessage + validMessage },
            HostileCase { "PartialThenSilent", validMessage.first(validMessage.size() - 1) },
            HostileCase { "Silent", {} }, HostileCase { "HeaderOnly", validMessage.first(17) }),
        test::rowName);

    TEST_F(Router, AFloodOfSilentClientsStaysBoundedAndThenMakesRoom)
    {
        const LinkRouter::Limits limits { 8, 300ms };
        const auto router = listen(limits);
        std::vector<Client> silent;
        int most = 0;
        for (int i = 0; i < 48; ++i) {
            silent.push_back(connectClient());
            QCoreApplication::processEvents();
            most = std::max(most, router->clientCount());
        }
        EXPECT_LE(most, limits.maxClients);
        ASSERT_TRUE(waitUntilEnded(silent));
        for (const Client& client : silent)
            EXPECT_EQ(client.answer, QByteArray());

        std::vector<Client> later;
        later.push_back(connectClient());
        later[0].send(validMessage);
        ASSERT_TRUE(waitUntilEnded(later));
        EXPECT_EQ(later[0].answer, QByteArray(launchTakenAnswer));
    }

    TEST_F(Router, ManyLaunchesAtOnceAreEachTakenOnce)
    {
        const auto router = listen({ 64, 10s });
        std::vector<Client> clients;
        for (int i = 0; i < 40; ++i) {
            clients.push_back(connectClient());
            clients.back().send(i % 2 ? validMessage : QByteArray("garbage"));
        }
        ASSERT_TRUE(waitUntilEnded(clients));
        for (size_t i = 0; i < clients.size(); ++i)
            EXPECT_EQ(clients[i].answer, i % 2 ? QByteArray(launchTakenAnswer) : QByteArray()) << i;
        EXPECT_EQ(requests.size(), 20);
    }

    // A router whose socket file was taken over (another run found the path empty and listens there now) leaves
    // that run's socket alone.
    TEST_F(Router, ClosingLeavesASocketThatIsNotItsOwn)
    {
        auto router = listen();
        ASSERT_TRUE(QFile::remove(address.socketPath));
        const InstanceClaim successor = claimInstance(address);
        ASSERT_EQ(successor.outcome, InstanceClaim::Outcome::first);
        router.reset();
        EXPECT_TRUE(QFile::exists(address.socketPath));
        EXPECT_EQ(claimInstance(address).outcome, InstanceClaim::Outcome::running);
    }

} // namespace
} // namespace heliora
