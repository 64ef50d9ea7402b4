// The heliora program itself, run as a user's shell runs it: without a display, with a scale that would exhaust
// memory, with a full disk and with signals; and as a later launch while a Heliora runs.

#include "app/launchmessage.h"
#include "app/singleinstance.h"
#include "support/files.h"
#include "support/rows.h"
#include "support/runcli.h"
#include "support/scopedenv.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <thread>

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace heliora {
namespace {

    using test::PrintTo;

    /// A build server's environment: no display, runtime folder or scale factor; texts in English.
    QProcessEnvironment bareEnvironment()
    {
        QProcessEnvironment env = test::environmentWithoutDisplay({ { "LANGUAGE", "en" } });
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        return env;
    }

    test::CliResult runHeliora(const QStringList& arguments, const QProcessEnvironment& env = bareEnvironment(),
        std::function<void()> inChild = {})
    {
        return test::runProgram(QStringLiteral(HELIORA_APP_PATH), arguments, env, std::move(inChild));
    }

    qsizetype lines(const QByteArray& text) { return text.count('\n'); }

    struct LineCase {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString out; // a regular expression
        QByteArray err; // exactly
    };

    class WithoutADisplay : public ::testing::TestWithParam<LineCase> { };

    TEST_P(WithoutADisplay, AnswersWithTextAndAStatus)
    {
        const LineCase& c = GetParam();
        const auto run = runHeliora(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(QRegularExpression(c.out).match(run.text()).hasMatch()) << run.out.toStdString();
        EXPECT_EQ(run.err, c.err);
    }

    INSTANTIATE_TEST_SUITE_P(Table, WithoutADisplay,
        ::testing::Values(LineCase { "Help", { "--help" }, 0, "(?s)^usage: heliora .*--version", "" },
            LineCase { "UnknownOption", { "--bogus" }, 2, "^$",
                "heliora: unknown option \"--bogus\" (accepted: --screenshot, --date, --detail, --settings, "
                "--help, --version)\n" },
            LineCase { "UnknownBody", { "--detail", "vulcan" }, 2, "^$",
                "heliora: --detail: unknown body \"vulcan\" (sun, mercury ... pluto)\n" },
            LineCase { "NoDisplayToShowAWindow", {}, 1, "^$",
                "heliora: no display (DISPLAY and WAYLAND_DISPLAY are not set); --screenshot FILE renders the "
                "window without one\n" }),
        test::rowName);

    class Screenshot : public ::testing::Test {
    protected:
        QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
        QStringList entries() const { return test::entriesOf(dir.path()); }

        QTemporaryDir dir;
    };

    TEST_F(Screenshot, RefusesAPictureThatWouldExhaustMemory)
    {
        QProcessEnvironment env = bareEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("100"));
        const auto run = runHeliora({ QStringLiteral("--screenshot"), file("huge.png") }, env);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(lines(run.err), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("at most 64 megapixels")) << run.err.toStdString();
        EXPECT_TRUE(entries().isEmpty());
    }

    // A disk that fills up while the picture is written: a file size limit makes every write beyond 4 KiB fail.
    TEST_F(Screenshot, OnAFullDiskKeepsTheOldFileAndLeavesNoPartOfTheNewOne)
    {
        ASSERT_TRUE(test::writeFile(file("main.png"), "the old picture"));
        const auto run = runHeliora({ QStringLiteral("--screenshot"), file("main.png") }, bareEnvironment(), [] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit { 4096, 4096 };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(lines(run.err), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("heliora: --screenshot: cannot write")) << run.err.toStdString();
        EXPECT_EQ(entries(), QStringList { QStringLiteral("main.png") });
        EXPECT_EQ(test::readFile(file("main.png")), "the old picture");
    }

    // A signal that arrives before the first frame: it is made pending before heliora starts, so it is there
    // from the first instruction on, whatever the machine's speed.
    class SignalBeforeTheFirstFrame : public Screenshot, public ::testing::WithParamInterface<int> { };

    TEST_P(SignalBeforeTheFirstFrame, IsNoSuccess)
    {
        static int signal;
        signal = GetParam();
        const auto run = runHeliora({ QStringLiteral("--screenshot"), file("main.png") }, bareEnvironment(), [] {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, signal);
            ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
            ::raise(signal);
        });
        EXPECT_EQ(run.exitCode, 128 + GetParam());
        EXPECT_EQ(lines(run.err), 1) << run.err.toStdString();
        EXPECT_TRUE(entries().isEmpty());
    }

    INSTANTIATE_TEST_SUITE_P(Signals, SignalBeforeTheFirstFrame, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
        [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

    /// A Heliora that runs (as far as a later launch can tell) at the address of the runtime folder and display
    /// that the runs of these tests get: the test listens there itself.
    class LaterLaunch : public ::testing::Test {
    protected:
        LaterLaunch() { ::chmod(QFile::encodeName(runtime.path()).constData(), 0700); }

        QProcessEnvironment environment() const
        {
            QProcessEnvironment env = bareEnvironment();
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
            env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":77"));
            return env;
        }

        InstanceAddress address()
        {
            const test::ScopedEnv env { { "XDG_RUNTIME_DIR", qPrintable(runtime.path()) }, { "DISPLAY", ":77" },
                { "WAYLAND_DISPLAY", nullptr } };
            QString problem;
            return *instanceAddress(&problem);
        }

        /// Listens as the running Heliora; `answer` is what it says to each of the next `connections`.
        void runFirst(int connections, QByteArray answer)
        {
            InstanceClaim claim = claimInstance(address());
            ASSERT_EQ(claim.outcome, InstanceClaim::Outcome::first);
            listening = std::move(claim.socket);
            first = std::thread([this, connections, answer] {
                for (int i = 0; i < connections; ++i) {
                    const FileDescriptor client(::accept(listening.get(), nullptr, nullptr));
                    QByteArray bytes;
                    char buffer[4096];
                    while (decodeLaunchMessage(bytes).state == LaunchMessageState::incomplete) {
                        const ssize_t n = ::read(client.get(), buffer, sizeof buffer);
                        if (n <= 0)
                            break;
                        bytes.append(buffer, n);
                    }
                    receivedBytes.append(bytes);
                    received.append(decodeLaunchMessage(bytes).request);
                    if (!answer.isEmpty())
                        ::write(client.get(), answer.constData(), size_t(answer.size()));
                }
            });
        }

        void TearDown() override
        {
            if (first.joinable())
                first.join();
        }

        /// Whether a connection waits at the listening socket, unaccepted.
        bool connectionWaiting() const
        {
            pollfd waiting { listening.get(), POLLIN, 0 };
            return ::poll(&waiting, 1, 0) > 0;
        }

        QTemporaryDir runtime;
        FileDescriptor listening;
        std::thread first;
        QList<LaunchRequest> received;
        QList<QByteArray> receivedBytes;
    };

    TEST_F(LaterLaunch, HandsItsArgumentsAndStartupTokenToTheRunningOneAndEnds)
    {
        runFirst(1, launchTakenAnswer);
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QStringLiteral("launcher-1_TIME42"));
        const QStringList arguments { QStringLiteral("--"), QStringLiteral("heliora://?date=19910109") };
        const auto run = runHeliora(arguments, env);
        first.join();
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_EQ(received, QList<LaunchRequest>({ { arguments, "launcher-1_TIME42" } }));
    }

    TEST_F(LaterLaunch, WithArgumentsTooLongToHandOverEndsWithStatus2)
    {
        runFirst(1, {});
        const auto run = runHeliora(QStringList(200, QStringLiteral("heliora://?date=19910109")), environment());
        first.join();
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(lines(run.err), 1) << run.err.toStdString();
        EXPECT_EQ(receivedBytes, QList<QByteArray> { QByteArray() }) << "it sent part of its arguments";
    }

    // A screenshot, the help and a bad option are jobs of their own, whatever runs; a screenshot says nothing.
    TEST_F(LaterLaunch, ScreenshotHelpAndErrorsNeverTalkToTheRunningOne)
    {
        runFirst(0, {});
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("main.png"));
        const auto shot = runHeliora({ QStringLiteral("--screenshot"), picture }, environment());
        EXPECT_EQ(shot.exitCode, 0) << shot.err.toStdString();
        EXPECT_TRUE(shot.out.isEmpty() && shot.err.isEmpty()) << "a screenshot that works says nothing";
        EXPECT_EQ(QImage(picture).width(), 500);
        EXPECT_EQ(runHeliora({ QStringLiteral("--help") }, environment()).exitCode, 0);
        EXPECT_EQ(runHeliora({ QStringLiteral("--bogus"), QStringLiteral("heliora://?date=19910109") }, environment())
                      .exitCode,
            2);
        EXPECT_FALSE(connectionWaiting());
    }

    // The real program as the first: it takes the place of a socket left by a crash, answers a later launch, and
    // removes its socket when it ends.
    TEST_F(LaterLaunch, TheFirstRecoversAStaleSocketAnswersAndCleansUp)
    {
        const InstanceAddress at = address();
        {
            InstanceClaim crashed = claimInstance(at);
            ASSERT_EQ(crashed.outcome, InstanceClaim::Outcome::first);
        }
        ASSERT_TRUE(QFile::exists(at.socketPath));

        QProcess heliora;
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        heliora.setProcessEnvironment(env);
        heliora.start(QStringLiteral(HELIORA_APP_PATH), QStringList());
        ASSERT_TRUE(heliora.waitForStarted());

        // Played by hand rather than with claimInstance(), which would itself take the stale socket's place.
        HandOver result = HandOver::closed;
        for (int attempt = 0; attempt < 600 && result != HandOver::taken; ++attempt) {
            FileDescriptor connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
            sockaddr_un target {};
            target.sun_family = AF_UNIX;
            const QByteArray path = QFile::encodeName(at.socketPath);
            std::memcpy(target.sun_path, path.constData(), size_t(path.size()));
            if (::connect(connection.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0)
                result = handOver(std::move(connection), encodeLaunchMessage({ {}, {} }), std::chrono::seconds(30));
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_EQ(result, HandOver::taken);

        heliora.terminate();
        ASSERT_TRUE(heliora.waitForFinished(60000));
        EXPECT_EQ(heliora.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(heliora.exitCode(), 0);
        // Qt's offscreen platform notes that it cannot raise windows; heliora itself has nothing to say.
        const QString err = QString::fromUtf8(heliora.readAllStandardError());
        EXPECT_FALSE(err.contains(QStringLiteral("heliora:"))) << err.toStdString();
        EXPECT_FALSE(QFile::exists(at.socketPath));
    }

} // namespace
} // namespace heliora
