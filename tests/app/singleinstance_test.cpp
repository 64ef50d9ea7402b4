#include "app/singleinstance.h"

#include "app/launchmessage.h"
#include "support/files.h"
#include "support/rows.h"
#include "support/scopedenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace heliora {
namespace {

    using test::PrintTo;
    using namespace std::chrono_literals;
    using Outcome = InstanceClaim::Outcome;

    /// A private runtime folder, and no display unless a test names one.
    class Address : public ::testing::Test {
    protected:
        Address() { ::chmod(QFile::encodeName(runtime.path()).constData(), 0700); }

        std::optional<InstanceAddress> address()
        {
            problem.clear();
            return instanceAddress(&problem);
        }

        QTemporaryDir runtime;
        QTemporaryDir temp;
        test::ScopedEnv env { { "XDG_RUNTIME_DIR", qPrintable(runtime.path()) }, { "TMPDIR", qPrintable(temp.path()) },
            { "DISPLAY", ":7" }, { "WAYLAND_DISPLAY", nullptr } };
        QString problem;
    };

    TEST_F(Address, LivesInTheRuntimeFolderNamedAfterTheDisplay)
    {
        const std::optional<InstanceAddress> a = address();
        ASSERT_TRUE(a) << problem.toStdString();
        EXPECT_EQ(a->socketPath, runtime.filePath(QStringLiteral("app.heliora.Heliora.x11-7.socket")));
        EXPECT_EQ(a->lockPath, runtime.filePath(QStringLiteral("app.heliora.Heliora.x11-7.lock")));
    }

    struct DisplayCase {
        const char* name;
        const char* x11;
        const char* wayland;
        const char* sameAs; // nullptr: differs from ":7"
    };

    class Displays : public Address, public ::testing::WithParamInterface<DisplayCase> { };

    TEST_P(Displays, GiveOneAddressPerDisplay)
    {
        const std::optional<InstanceAddress> seven = address();
        env.set("DISPLAY", GetParam().x11);
        env.set("WAYLAND_DISPLAY", GetParam().wayland);
        const std::optional<InstanceAddress> other = address();
        ASSERT_TRUE(seven && other) << problem.toStdString();
        if (GetParam().sameAs) {
            EXPECT_EQ(other->socketPath, runtime.filePath(QLatin1String(GetParam().sameAs)));
        } else {
            EXPECT_NE(other->socketPath, seven->socketPath);
            // Whatever the display is called, the socket stays a plain name in the folder.
            EXPECT_EQ(QFileInfo(other->socketPath).path(), runtime.path()) << other->socketPath.toStdString();
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, Displays,
        ::testing::Values(DisplayCase { "ScreenOfTheSameDisplay", ":7.1", nullptr, "app.heliora.Heliora.x11-7.socket" },
            DisplayCase { "AnotherDisplay", ":70", nullptr, nullptr },
            DisplayCase {
                "ScreenOfARemoteDisplay", "host-1.lan:10.2", nullptr, "app.heliora.Heliora.x11-host-1.lan_10.socket" },
            DisplayCase { "NotAScreen", ":7.x", nullptr, nullptr },
            DisplayCase { "WaylandWins", ":7", "wayland-0", "app.heliora.Heliora.wayland-wayland-0.socket" },
            DisplayCase { "NoDisplay", nullptr, nullptr, "app.heliora.Heliora.none.socket" },
            DisplayCase { "PathAsDisplay", "/tmp/../../etc/passwd:0", nullptr, nullptr },
            DisplayCase { "WaylandPath", ":7", "/run/user/1000/wayland-1", nullptr }),
        test::rowName);

    TEST_F(Address, FallsBackToAPrivateFolderInTheTemporaryFolder)
    {
        const QString fallback = temp.filePath(QStringLiteral("app.heliora.Heliora-%1").arg(::geteuid()));
        for (const char* runtimeFolder : { "", "relative/path", "/nonexistent/heliora-runtime" }) {
            env.set("XDG_RUNTIME_DIR", runtimeFolder);
            const std::optional<InstanceAddress> a = address();
            ASSERT_TRUE(a) << problem.toStdString();
            EXPECT_EQ(QFileInfo(a->socketPath).path(), fallback) << runtimeFolder;
        }
        struct stat info { };
        ASSERT_EQ(::stat(QFile::encodeName(fallback).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);

        // A runtime folder that others may enter is not used either.
        env.set("XDG_RUNTIME_DIR", qPrintable(runtime.path()));
        ::chmod(QFile::encodeName(runtime.path()).constData(), 0755);
        EXPECT_EQ(QFileInfo(address()->socketPath).path(), fallback);
    }

    TEST_F(Address, RefusesAFallbackFolderThatOthersMayEnterOrThatIsNoFolder)
    {
        env.set("XDG_RUNTIME_DIR", nullptr);
        const QString fallback = temp.filePath(QStringLiteral("app.heliora.Heliora-%1").arg(::geteuid()));
        ASSERT_EQ(::mkdir(QFile::encodeName(fallback).constData(), 0777), 0);
        ::chmod(QFile::encodeName(fallback).constData(), 0777);
        EXPECT_FALSE(address());
        EXPECT_TRUE(problem.contains(QStringLiteral("other users may enter"))) << problem.toStdString();

        ASSERT_TRUE(QDir(fallback).removeRecursively());
        ASSERT_TRUE(QFile::link(temp.path(), fallback));
        EXPECT_FALSE(address());
        EXPECT_TRUE(problem.contains(QStringLiteral("is not a folder"))) << problem.toStdString();
    }

    TEST_F(Address, RefusesAPathTooLongForALocalSocket)
    {
        env.set("XDG_RUNTIME_DIR", nullptr);
        const QString deep = temp.path() + QLatin1Char('/') + QString(90, QLatin1Char('d'));
        ASSERT_TRUE(QDir().mkpath(deep));
        env.set("TMPDIR", qPrintable(deep));
        EXPECT_FALSE(address());
        EXPECT_TRUE(problem.contains(QStringLiteral("too long"))) << problem.toStdString();
    }

    /// Claims at a fresh address.
    class Claim : public Address {
    protected:
        InstanceAddress at = *address();
    };

    // A socket file that nobody listens at, as a run that crashed leaves it.
    void leaveStaleSocket(const QString& path)
    {
        const FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM, 0));
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        ASSERT_EQ(::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::listen(fd.get(), 1), 0);
    }

    TEST_F(Claim, TheFirstListensTheNextConnectsAndAStaleSocketIsRecovered)
    {
        InstanceClaim first = claimInstance(at);
        ASSERT_EQ(first.outcome, Outcome::first) << first.problem.toStdString();
        struct stat info { };
        ASSERT_EQ(::stat(QFile::encodeName(at.socketPath).constData(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 077, 0u) << "others may connect";

        const InstanceClaim second = claimInstance(at);
        EXPECT_EQ(second.outcome, Outcome::running);
        EXPECT_TRUE(peerIsThisUser(second.socket.get()));

        // The first ends without removing its socket.
        first.socket = FileDescriptor();
        EXPECT_EQ(claimInstance(at).outcome, Outcome::first);

        ASSERT_TRUE(QFile::remove(at.socketPath));
        leaveStaleSocket(at.socketPath);
        EXPECT_EQ(claimInstance(at).outcome, Outcome::first);
    }

    TEST_F(Claim, LeavesWhatIsNotASocketAndGoesAlone)
    {
        ASSERT_TRUE(test::writeFile(at.socketPath, "someone's notes"));
        const InstanceClaim claim = claimInstance(at);
        EXPECT_EQ(claim.outcome, Outcome::alone);
        EXPECT_TRUE(claim.problem.contains(QStringLiteral("is not a socket"))) << claim.problem.toStdString();
        EXPECT_EQ(test::readFile(at.socketPath), "someone's notes");
    }

    TEST_F(Claim, AFifoInPlaceOfTheLockDoesNotBlock)
    {
        ASSERT_EQ(::mkfifo(QFile::encodeName(at.lockPath).constData(), 0600), 0);
        const InstanceClaim claim = claimInstance(at);
        EXPECT_EQ(claim.outcome, Outcome::alone);
        EXPECT_TRUE(claim.problem.contains(QStringLiteral("is not a file"))) << claim.problem.toStdString();
    }

    TEST_F(Claim, GivesUpOnALockHeldTooLong)
    {
        const FileDescriptor held(::open(QFile::encodeName(at.lockPath).constData(), O_RDWR | O_CREAT, 0600));
        // flock belongs to the open file: a second open in this process contends as another process would.
        ASSERT_EQ(::flock(held.get(), LOCK_EX), 0);
        const InstanceClaim claim = claimInstance(at, 20ms);
        EXPECT_EQ(claim.outcome, Outcome::alone);
        EXPECT_TRUE(claim.problem.contains(QStringLiteral("stayed taken"))) << claim.problem.toStdString();
    }

    TEST_F(Claim, TwoRunsThatStartTogetherMakeOneFirst)
    {
        constexpr int runs = 8;
        std::vector<InstanceClaim> claims(runs);
        std::vector<std::thread> threads;
        for (int i = 0; i < runs; ++i)
            threads.emplace_back([&, i] { claims[size_t(i)] = claimInstance(at); });
        for (std::thread& thread : threads)
            thread.join();
        const auto firsts = std::count_if(
            claims.begin(), claims.end(), [](const InstanceClaim& c) { return c.outcome == Outcome::first; });
        const auto running = std::count_if(
            claims.begin(), claims.end(), [](const InstanceClaim& c) { return c.outcome == Outcome::running; });
        EXPECT_EQ(firsts, 1);
        EXPECT_EQ(running, runs - 1);
    }

    // The running side of a hand-over, played by hand: accept, read the message, answer (or not).
    struct HandOverCase {
        const char* name;
        QByteArray answer; // written after the message arrived
        bool close; // closed after the answer
        std::chrono::milliseconds timeout;
        HandOver expected;
    };

    class HandOvers : public Claim, public ::testing::WithParamInterface<HandOverCase> { };

    TEST_P(HandOvers, ReadTheAnswer)
    {
        InstanceClaim first = claimInstance(at);
        InstanceClaim second = claimInstance(at);
        ASSERT_EQ(second.outcome, Outcome::running);
        const QByteArray message = encodeLaunchMessage({ { QStringLiteral("heliora://?date=19910109") }, {} });
        QByteArray received;
        std::thread running([&] {
            const FileDescriptor client(::accept(first.socket.get(), nullptr, nullptr));
            char buffer[8192];
            while (received.size() < message.size()) {
                const ssize_t n = ::read(client.get(), buffer, sizeof buffer);
                if (n <= 0)
                    return;
                received.append(buffer, n);
            }
            if (!GetParam().answer.isEmpty())
                ::write(client.get(), GetParam().answer.constData(), size_t(GetParam().answer.size()));
            if (!GetParam().close)
                std::this_thread::sleep_for(300ms);
        });
        const HandOver result = handOver(std::move(second.socket), message, GetParam().timeout);
        running.join();
        EXPECT_EQ(result, GetParam().expected);
        EXPECT_EQ(received, message);
    }

    INSTANTIATE_TEST_SUITE_P(Table, HandOvers,
        ::testing::Values(HandOverCase { "Taken", launchTakenAnswer, true, 10s, HandOver::taken },
            HandOverCase { "ClosedUnanswered", {}, true, 10s, HandOver::closed },
            HandOverCase { "OtherAnswer", "no\n", true, 10s, HandOver::closed },
            HandOverCase { "HalfAnAnswer", "o", true, 10s, HandOver::closed },
            HandOverCase { "Silent", {}, false, 50ms, HandOver::noAnswer }),
        test::rowName);

    TEST(StartupToken, ComesFromTheLauncherWhenAMessageCanCarryIt)
    {
        test::ScopedEnv env { { "XDG_ACTIVATION_TOKEN", nullptr }, { "DESKTOP_STARTUP_ID", nullptr } };
        EXPECT_EQ(startupTokenFromEnvironment(), QByteArray());
        env.set("DESKTOP_STARTUP_ID", "host-12-34-launcher_TIME567");
        EXPECT_EQ(startupTokenFromEnvironment(), QByteArray("host-12-34-launcher_TIME567"));
        env.set("XDG_ACTIVATION_TOKEN", "wayland-token");
        EXPECT_EQ(startupTokenFromEnvironment(), QByteArray("wayland-token"));
        env.set("XDG_ACTIVATION_TOKEN", "bad token\n");
        EXPECT_EQ(startupTokenFromEnvironment(), QByteArray());
    }

} // namespace
} // namespace heliora
