// The heliora program itself, run as a user's shell runs it: without a display, with a scale that would exhaust
// memory, with a full disk and with signals.

#include "support/scopedenv.h"
#include "version/version.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace heliora {
namespace {

    struct ProgramRun {
        int exitCode = -1; ///< -1: crashed, killed, or still running after a minute
        QString out, err;
        int errLines() const { return static_cast<int>(err.count(QLatin1Char('\n'))); }
    };

    /// The environment of a build server: no display, no runtime folder, no platform chosen; texts in English.
    QProcessEnvironment bareEnvironment()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
            { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR", "QT_SCALE_FACTOR" })
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
        return env;
    }

    /// Runs heliora; `inChild` runs in the new process just before heliora starts (only async-signal-safe calls).
    ProgramRun runHeliora(const QStringList& arguments, const QProcessEnvironment& env = bareEnvironment(),
        std::function<void()> inChild = {})
    {
        QProcess process;
        process.setProcessEnvironment(env);
        if (inChild)
            process.setChildProcessModifier(inChild);
        process.start(QStringLiteral(HELIORA_APP_PATH), arguments);
        const bool finished = process.waitForFinished(60'000);
        if (!finished)
            process.kill();
        process.waitForFinished();
        ProgramRun run { -1, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()) };
        if (finished && process.exitStatus() == QProcess::NormalExit)
            run.exitCode = process.exitCode();
        return run;
    }

    struct LineCase {
        const char* name;
        QStringList arguments;
        int exitCode;
        QString out; // a regular expression
        QString err; // exactly
    };

    void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

    class WithoutADisplay : public ::testing::TestWithParam<LineCase> { };

    TEST_P(WithoutADisplay, AnswersWithTextAndAStatus)
    {
        const LineCase& c = GetParam();
        const ProgramRun run = runHeliora(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(QRegularExpression(c.out).match(run.out).hasMatch()) << run.out.toStdString();
        EXPECT_EQ(run.err, c.err);
    }

    const QString version = QString::fromUtf8(versionString.data(), qsizetype(versionString.size()));

    INSTANTIATE_TEST_SUITE_P(Table, WithoutADisplay,
        ::testing::Values(LineCase { "Help", { "--help" }, 0, "(?s)^usage: heliora .*--version", "" },
            LineCase { "Version", { "--version" }, 0,
                "^heliora " + QRegularExpression::escape(version) + " \\(build [0-9]+\\)\n$", "" },
            LineCase { "UnknownOption", { "--bogus" }, 2, "^$",
                "heliora: unknown option \"--bogus\" (accepted: --screenshot, --date, --detail, --settings, "
                "--help, --version)\n" },
            LineCase { "UnknownBody", { "--detail", "vulcan" }, 2, "^$",
                "heliora: --detail: unknown body \"vulcan\" (sun, mercury ... pluto)\n" },
            LineCase { "EscapedInput", { "--detail", "sun\n\x1b[2J" }, 2, "^$",
                "heliora: --detail: unknown body \"sun\\n\\x1b[2J\" (sun, mercury ... pluto)\n" },
            LineCase { "NoDisplayToShowAWindow", {}, 1, "^$",
                "heliora: no display (DISPLAY and WAYLAND_DISPLAY are not set); --screenshot FILE renders the "
                "window without one\n" }),
        [](const auto& info) { return std::string(info.param.name); });

    class Screenshot : public ::testing::Test {
    protected:
        QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
        QStringList entries() const
        {
            return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        }

        QTemporaryDir dir;
    };

    TEST_F(Screenshot, SaysNothingWhenItWorks)
    {
        const ProgramRun run = runHeliora({ QStringLiteral("--screenshot"), file("main.png") });
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, QString());
        EXPECT_EQ(run.err, QString());
        EXPECT_EQ(QImage(file("main.png")).width(), 500);
    }

    TEST_F(Screenshot, RefusesAPictureThatWouldExhaustMemory)
    {
        QProcessEnvironment env = bareEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("100"));
        const ProgramRun run = runHeliora({ QStringLiteral("--screenshot"), file("huge.png") }, env);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.errLines(), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("at most 64 megapixels"))) << run.err.toStdString();
        EXPECT_TRUE(entries().isEmpty());
    }

    // A disk that fills up while the picture is written: a file size limit makes every write beyond 4 KiB fail.
    TEST_F(Screenshot, OnAFullDiskKeepsTheOldFileAndLeavesNoPartOfTheNewOne)
    {
        QFile old(file("main.png"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old picture");
        old.close();
        const ProgramRun run = runHeliora({ QStringLiteral("--screenshot"), file("main.png") }, bareEnvironment(), [] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit { 4096, 4096 };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errLines(), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("heliora: --screenshot: cannot write"))) << run.err.toStdString();
        EXPECT_EQ(entries(), QStringList { QStringLiteral("main.png") });
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("the old picture"));
    }

    // A signal that arrives before the first frame: it is made pending before heliora starts, so it is there
    // from the first instruction on, whatever the machine's speed.
    class SignalBeforeTheFirstFrame : public Screenshot, public ::testing::WithParamInterface<int> { };

    TEST_P(SignalBeforeTheFirstFrame, IsNoSuccess)
    {
        static int signal;
        signal = GetParam();
        const ProgramRun run = runHeliora({ QStringLiteral("--screenshot"), file("main.png") }, bareEnvironment(), [] {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, signal);
            ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
            ::raise(signal);
        });
        EXPECT_EQ(run.exitCode, 128 + GetParam());
        EXPECT_EQ(run.errLines(), 1) << run.err.toStdString();
        EXPECT_TRUE(entries().isEmpty());
    }

    INSTANTIATE_TEST_SUITE_P(Signals, SignalBeforeTheFirstFrame, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
        [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

} // namespace
} // namespace heliora
