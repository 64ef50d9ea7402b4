#include "sharedsettings.h"

#include "processrunner.h"
#include "scopedenv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <vector>

namespace heliora {
namespace {

    // Every test gets its own configuration folder; the user's own is never touched.
    class Settings : public ::testing::Test {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE(m_folder.isValid());
            m_env.set("XDG_CONFIG_HOME", m_folder.path().toUtf8().constData());
        }

        QString folder() const { return m_folder.path(); }
        QString suitePath() const { return m_folder.path() + QStringLiteral("/QZ7R4K2M9T.Heliora.macOS.conf"); }

        void writeSuite(const QByteArray& bytes) const
        {
            QFile file(suitePath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
        }

        QByteArray readSuite() const
        {
            QFile file(suitePath());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }

    private:
        QTemporaryDir m_folder;
        test::ScopedEnv m_env;
    };

    TEST_F(Settings, FreshInstallationReadsFalseAndWritesNothing)
    {
        const SharedSettings settings;
        EXPECT_TRUE(settings.usesSuite());
        EXPECT_EQ(settings.filePath(), suitePath());
        EXPECT_FALSE(settings.showPluto());
        EXPECT_FALSE(QFile::exists(suitePath()));
    }

    TEST_F(Settings, EveryHolderReadsTheStore)
    {
        SharedSettings writer;
        ASSERT_TRUE(writer.setShowPluto(true));
        EXPECT_TRUE(SharedSettings().showPluto());
        EXPECT_TRUE(readSuite().contains("show_pluto=true"));
        ASSERT_TRUE(writer.setShowPluto(false));
        EXPECT_FALSE(SharedSettings().showPluto());
    }

    TEST_F(Settings, EveryLiveHolderIsToldOfAWrite)
    {
        SharedSettings first;
        SharedSettings second;
        auto* third = new SharedSettings;
        std::vector<std::pair<int, bool>> told;
        QObject::connect(&first, &SharedSettings::showPlutoChanged, [&](bool value) {
            told.emplace_back(1, value);
            delete third; // a view closing while the news goes round
            third = nullptr;
        });
        QObject::connect(&second, &SharedSettings::showPlutoChanged, [&](bool value) { told.emplace_back(2, value); });
        QObject::connect(third, &SharedSettings::showPlutoChanged, [&](bool value) { told.emplace_back(3, value); });

        ASSERT_TRUE(second.setShowPluto(true));
        EXPECT_EQ(told, (std::vector<std::pair<int, bool>> { { 1, true }, { 2, true } }));
    }

    TEST_F(Settings, AWriteKeepsTheOtherKeysAndThePermissionsAndLeavesNothingBehind)
    {
        writeSuite("[General]\nother=1\n\n[window]\nwidth=500\n");
        ASSERT_TRUE(QFile::setPermissions(suitePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const auto permissions = QFile::permissions(suitePath());
        ASSERT_TRUE(SharedSettings().setShowPluto(true));
        const QByteArray after = readSuite();
        EXPECT_TRUE(after.contains("other=1"));
        EXPECT_TRUE(after.contains("[window]\nwidth=500"));
        EXPECT_TRUE(after.contains("show_pluto=true"));
        EXPECT_EQ(QFile::permissions(suitePath()), permissions);
        EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("QZ7R4K2M9T.Heliora.macOS.conf") });
    }

    struct FileCase {
        const char* name;
        QByteArray contents;
        bool reads;
        bool writable;
    };

    void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

    class SettingsFile : public Settings, public ::testing::WithParamInterface<FileCase> { };

    // What a hand-edited, damaged or foreign file reads as, and whether a write may replace it. A refused
    // write leaves every byte as it was.
    TEST_P(SettingsFile, ReadsAndWritesOnlyCleanSettings)
    {
        const FileCase& c = GetParam();
        writeSuite(c.contents);
        SharedSettings settings;
        EXPECT_EQ(settings.showPluto(), c.reads);
        int told = 0;
        QObject::connect(&settings, &SharedSettings::showPlutoChanged, [&told] { ++told; });
        EXPECT_EQ(settings.setShowPluto(!c.reads), c.writable);
        if (c.writable) {
            EXPECT_EQ(settings.showPluto(), !c.reads);
            EXPECT_EQ(told, 1);
        } else {
            EXPECT_EQ(readSuite(), c.contents);
            EXPECT_EQ(settings.showPluto(), false);
            EXPECT_EQ(told, 0);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, SettingsFile,
        ::testing::Values(FileCase { "Empty", "", false, true },
            FileCase { "NoSection", "show_pluto=true\n", true, true },
            FileCase { "UpperCase", "[General]\nshow_pluto=TRUE\n", true, true },
            FileCase { "One", "[General]\nshow_pluto=1\n", true, true },
            FileCase { "Zero", "[General]\nshow_pluto=0\n", false, true },
            FileCase { "NotABoolean", "[General]\nshow_pluto=banana\n", false, true },
            FileCase { "Comment", "; kept by hand\n[General]\nshow_pluto=true\n", true, true },
            FileCase { "Binary", QByteArray("\x00\x01\xff\xfe[General]\nshow_pluto=true\n", 27), false, false },
            FileCase { "InvalidUtf8", "[General]\nshow_pluto=true\nname=\xc3\x28\n", false, false },
            FileCase { "UnclosedSection", "[General\nshow_pluto=true\n", false, false },
            FileCase { "ByteOrderMark", "\xef\xbb\xbf[General]\nshow_pluto=true\n", false, false },
            FileCase { "TooLarge", "[General]\nshow_pluto=true\n; " + QByteArray(1 << 20, 'x') + "\n", false, false }));

    TEST_F(Settings, FallsBackToTheProgramsOwnFileWhenTheSuiteIsNotAFile)
    {
        ASSERT_TRUE(QDir().mkpath(suitePath()));
        SharedSettings settings;
        EXPECT_FALSE(settings.usesSuite());
        EXPECT_TRUE(settings.filePath().startsWith(folder() + QStringLiteral("/heliora/")));
        EXPECT_FALSE(settings.showPluto());
        ASSERT_TRUE(settings.setShowPluto(true));
        EXPECT_TRUE(SharedSettings().showPluto());
        EXPECT_TRUE(QFileInfo(suitePath()).isDir());
    }

    TEST_F(Settings, AWriteThatCannotTakeTheLockFailsInsteadOfWaitingForever)
    {
        writeSuite("[General]\nshow_pluto=false\n");
        {
            // Another writer holding the lock.
            QLockFile other(suitePath() + QStringLiteral(".lock"));
            ASSERT_TRUE(other.tryLock(0));
            EXPECT_FALSE(SharedSettings().setShowPluto(true));
        }
        // Something that can never be a lock file (QSettings::sync() would wait for it forever).
        ASSERT_TRUE(QDir().mkpath(suitePath() + QStringLiteral(".lock")));
        EXPECT_FALSE(SharedSettings().setShowPluto(true));
        EXPECT_FALSE(SharedSettings().showPluto());
        EXPECT_EQ(readSuite(), "[General]\nshow_pluto=false\n");
    }

    // Read-only and unreadable files, in a process of its own that drops root's privileges, so that the file's
    // permissions apply whoever runs the tests.
    TEST_F(Settings, ReadOnlyAndUnreadableFilesAreLeftAlone)
    {
        ASSERT_TRUE(QFile::setPermissions(folder(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::WriteOther
                | QFile::ExeOther));
        writeSuite("[General]\nshow_pluto=true\nother=1\n");
        const QByteArray before = readSuite();
        ASSERT_TRUE(QFile::setPermissions(suitePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        EXPECT_EXIT(
            {
                if (!test::dropRootPrivileges())
                    std::_Exit(2);
                SharedSettings settings;
                int told = 0;
                QObject::connect(&settings, &SharedSettings::showPlutoChanged, [&told] { ++told; });
                // Read-only: the value reads, a write fails, and the failed value is not seen by later readers
                // (QSettings keeps an unsaved value in its per-process cache of the file).
                const bool readOnlyOk
                    = settings.showPluto() && !settings.setShowPluto(false) && SharedSettings().showPluto();
                std::_Exit(readOnlyOk && told == 0 ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
        ASSERT_TRUE(QFile::setPermissions(suitePath(), {}));
        EXPECT_EXIT(
            {
                if (!test::dropRootPrivileges())
                    std::_Exit(2);
                SharedSettings settings;
                std::_Exit(!settings.showPluto() && !settings.setShowPluto(true) ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
        ASSERT_TRUE(QFile::setPermissions(suitePath(), QFile::ReadOwner | QFile::WriteOwner));
        EXPECT_EQ(readSuite(), before);
    }

    TEST_F(Settings, ASecondProcessReadsWhatTheFirstWrote)
    {
        const auto set = test::runCli({ "settings", "set", "show_pluto", "true" }, folder());
        ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
        const auto get = test::runCli({ "settings", "get", "show_pluto" }, folder());
        EXPECT_EQ(get.exitCode, 0);
        EXPECT_EQ(get.out, QStringLiteral("true\n"));
        EXPECT_TRUE(SharedSettings().showPluto());

        ASSERT_TRUE(SharedSettings().setShowPluto(false));
        EXPECT_EQ(test::runCli({ "settings", "get", "show_pluto" }, folder()).out, QStringLiteral("false\n"));
    }

    TEST_F(Settings, CommandLineReportsAFailedWrite)
    {
        ASSERT_TRUE(QDir().mkpath(suitePath() + QStringLiteral(".lock")));
        const auto set = test::runCli({ "settings", "set", "show_pluto", "true" }, folder());
        EXPECT_EQ(set.exitCode, 1);
        EXPECT_TRUE(set.out.isEmpty());
        EXPECT_FALSE(set.err.isEmpty());
        EXPECT_EQ(test::runCli({ "settings", "set", "show_pluto", "yes" }, folder()).exitCode, 2);
        EXPECT_EQ(test::runCli({ "settings", "get", "hide_pluto" }, folder()).exitCode, 2);
    }

} // namespace
} // namespace heliora
