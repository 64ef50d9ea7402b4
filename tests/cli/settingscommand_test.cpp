// heliora-cli settings, as a script meets it: what it prints, its one-line errors with the input escaped, its exit
// statuses, and what a failed write and a missing configuration folder say. What the store does with hostile
// files, links and locks is the settings tests' part.

#include "settings/settingsio.h"

#include "support/files.h"
#include "support/rows.h"
#include "support/runcli.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace heliora {
namespace {

    using test::CliResult;
    using test::PrintTo;

    class SettingsCommand : public ::testing::Test {
    protected:
        QTemporaryDir folder;
        const QString suitePath = folder.filePath(QStringLiteral("QZ7R4K2M9T.Heliora.macOS.conf"));

        CliResult run(const QStringList& arguments, const QString& config = {}) const
        {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.isNull() ? folder.path() : config);
            if (!config.isNull())
                env.remove(QStringLiteral("HOME"));
            return test::runProgram(
                QStringLiteral(HELIORA_CLI_PATH), QStringList { "settings" } + arguments, env, {}, folder.path());
        }
    };

    TEST_F(SettingsCommand, GetSetAndPath)
    {
        const CliResult path = run({ "path" });
        EXPECT_EQ(path.exitCode, 0);
        EXPECT_EQ(path.text(), suitePath + QLatin1Char('\n'));
        EXPECT_EQ(run({ "get", "show_pluto" }).text(), QStringLiteral("false\n"));
        EXPECT_TRUE(QDir(folder.path()).isEmpty()) << "path and get create nothing";
        for (const char* value : { "true", "false", "true" }) {
            const CliResult set = run({ "set", "show_pluto", value });
            EXPECT_EQ(set.exitCode, 0);
            EXPECT_TRUE(set.out.isEmpty() && set.err.isEmpty()) << set.err.constData();
            EXPECT_EQ(run({ "get", "show_pluto" }).text(), QString::fromLatin1(value) + QLatin1Char('\n'));
        }
        EXPECT_EQ(test::readFile(suitePath), "[General]\nshow_pluto=true\n");
    }

    struct UsageCase {
        const char* name;
        QStringList arguments;
        const char* message; // after "heliora-cli: settings: "
    };

    class SettingsUsage : public SettingsCommand, public ::testing::WithParamInterface<UsageCase> { };

    // Every bad argument: status 2, nothing on stdout, one line on stderr that says what is wrong and what is
    // accepted, with the input quoted and its control characters escaped; the file is not touched.
    TEST_P(SettingsUsage, SaysWhatIsWrongInOneLine)
    {
        const CliResult result = run(GetParam().arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err, QByteArray("heliora-cli: settings: ") + GetParam().message + '\n');
        EXPECT_FALSE(QFile::exists(suitePath));
    }

    INSTANTIATE_TEST_SUITE_P(Table, SettingsUsage,
        ::testing::Values(
            UsageCase { "NoAction", {}, "missing action (get show_pluto, set show_pluto true|false, or path)" },
            UsageCase { "UnknownAction", { QString::fromUtf8("g\x1b[2Jet\xc2\x9b\xe2\x80\xa8\xc3\xa9") },
                "unknown action \"g\\x1b[2Jet\\x9b\\u2028\xc3\xa9\" (get show_pluto, set show_pluto true|false, or "
                "path)" },
            UsageCase { "GetWithoutKey", { "get" }, "get needs a key (get show_pluto)" },
            UsageCase { "UnknownKey", { "get", "show\npluto" }, "unknown key \"show\\npluto\" (show_pluto)" },
            UsageCase { "SetWithoutValue", { "set", "show_pluto" }, "set show_pluto needs a value (true or false)" },
            UsageCase { "UnknownValue", { "set", "show_pluto", "TRUE\r" },
                "unknown value \"TRUE\\r\" for show_pluto (true or false)" },
            UsageCase { "ExtraAfterSet", { "set", "show_pluto", "true", "\t" },
                "unexpected argument \"\\t\" (set show_pluto true|false)" },
            UsageCase { "ExtraAfterPath", { "path", "x" }, "unexpected argument \"x\" (path, with nothing after it)" }),
        test::rowName);

    // Without a configuration folder every action says so in one line and exits 2, creating nothing anywhere.
    TEST_F(SettingsCommand, WithoutConfigurationFolder)
    {
        for (const QStringList& arguments : { QStringList { "path" }, QStringList { "get", "show_pluto" },
                 QStringList { "set", "show_pluto", "true" } }) {
            const CliResult result = run(arguments, QStringLiteral("relative/ignored"));
            EXPECT_EQ(result.exitCode, 2);
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_EQ(result.err,
                "heliora-cli: settings: no configuration folder: neither XDG_CONFIG_HOME nor HOME is set (an absolute "
                "path in either)\n");
        }
        EXPECT_TRUE(QDir(folder.path()).isEmpty());
    }

    // A failed write: status 1, one line naming the cause, the file as it was. A FIFO at the lock's place is
    // refused at once; a lock held by another writer is waited for (about a second) and then given up.
    TEST_F(SettingsCommand, FailedWriteSaysWhyInOneLine)
    {
        ASSERT_TRUE(test::writeFile(suitePath, "[General]\nshow_pluto=false\n"));
        const QByteArray lock = QFile::encodeName(suitePath) + ".lock";
        ASSERT_EQ(::mkfifo(lock.constData(), 0600), 0);
        const CliResult fifo = run({ "set", "show_pluto", "true" });
        EXPECT_EQ(fifo.exitCode, 1);
        EXPECT_TRUE(fifo.out.isEmpty());
        EXPECT_EQ(fifo.err,
            "heliora-cli: settings: the lock \"" + lock
                + "\" is not a regular file (nothing there, or a regular file)\n");
        ASSERT_TRUE(QFile::remove(QFile::decodeName(lock)));
        {
            const WriteLock held(QFile::encodeName(suitePath).toStdString(), std::chrono::milliseconds(0));
            ASSERT_FALSE(held.problem());
            const CliResult busy = run({ "set", "show_pluto", "true" });
            EXPECT_EQ(busy.exitCode, 1);
            EXPECT_EQ(busy.err,
                "heliora-cli: settings: another writer held the lock \"" + lock + "\" for a second (try again)\n");
        }
        EXPECT_EQ(test::readFile(suitePath), "[General]\nshow_pluto=false\n");
        EXPECT_EQ(run({ "set", "show_pluto", "true" }).exitCode, 0) << "the lock is free again";
    }

} // namespace
} // namespace heliora
