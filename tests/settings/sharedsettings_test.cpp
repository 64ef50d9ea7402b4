#include "settings/sharedsettings.h"

#include "support/runcli.h"

#include "support/scopedenv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace heliora {
namespace {

    using test::runCli;

    // Every test gets its own configuration folder; the user's own is never touched.
    class Settings : public ::testing::Test {
    protected:
        QTemporaryDir folder;
        test::ScopedEnv env { { "XDG_CONFIG_HOME", folder.path().toUtf8().constData() } };
        const QString suitePath = folder.path() + QStringLiteral("/QZ7R4K2M9T.Heliora.macOS.conf");
    };

    TEST_F(Settings, RoundTripsAndTellsEveryLiveHolder)
    {
        SharedSettings first;
        SharedSettings second;
        auto* third = new SharedSettings;
        EXPECT_EQ(first.filePath(), suitePath);
        EXPECT_FALSE(first.showPluto());
        EXPECT_FALSE(QFile::exists(suitePath)); // the default is never written
        std::vector<std::pair<int, bool>> told;
        QObject::connect(&first, &SharedSettings::showPlutoChanged, [&](bool value) {
            told.emplace_back(1, value);
            delete third; // a view closing while the news goes round
            third = nullptr;
        });
        QObject::connect(&second, &SharedSettings::showPlutoChanged, [&](bool value) { told.emplace_back(2, value); });
        QObject::connect(third, &SharedSettings::showPlutoChanged, [&](bool value) { told.emplace_back(3, value); });
        ASSERT_TRUE(second.setShowPluto(true));
        EXPECT_TRUE(SharedSettings().showPluto());
        ASSERT_TRUE(first.setShowPluto(false));
        EXPECT_FALSE(SharedSettings().showPluto());
        EXPECT_EQ(told, (std::vector<std::pair<int, bool>> { { 1, true }, { 2, true }, { 1, false }, { 2, false } }));
    }

    struct FileCase {
        QByteArray contents;
        bool reads;
        const char* afterWrite; // null: the write is refused
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther;
    };

    void PrintTo(const FileCase& c, std::ostream* os) { *os << c.contents.left(40).toPercentEncoding().constData(); }

    class SettingsFile : public Settings, public ::testing::WithParamInterface<FileCase> { };

    // What a hand-edited, damaged, foreign, read-only or unreadable file reads as, and what writing the other value
    // makes of it: a write keeps the other keys and the permissions; a refused one leaves every byte, tells no holder
    // and is not seen by a later reader (QSettings would cache it). Run by a child that drops root's privileges.
    TEST_P(SettingsFile, ReadsAndWritesOnlyCleanSettings)
    {
        const FileCase& c = GetParam();
        QFile file(suitePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.contents) == c.contents.size());
        file.close();
        ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7777)));
        ASSERT_TRUE(QFile::setPermissions(suitePath, c.permissions));
        const auto permissions = QFile::permissions(suitePath);
        const bool writes = c.afterWrite != nullptr;
        const char* const report = "read %d, wrote %d, read later %d, told %d\n";
        EXPECT_EXIT(
            {
                const bool asNobody = geteuid() != 0 || !(setgroups(0, nullptr) || setgid(65534) || setuid(65534));
                SharedSettings settings;
                int told = 0;
                QObject::connect(&settings, &SharedSettings::showPlutoChanged, [&told] { ++told; });
                const bool read = settings.showPluto();
                const bool wrote = settings.setShowPluto(!c.reads);
                std::fprintf(stderr, report, read, wrote, SharedSettings().showPluto(), told);
                std::_Exit(asNobody ? 0 : 1);
            },
            ::testing::ExitedWithCode(0),
            QString::asprintf(report, c.reads, writes, writes != c.reads, writes ? 1 : 0).toStdString());
        EXPECT_EQ(QFile::permissions(suitePath), permissions);
        ASSERT_TRUE(QFile::setPermissions(suitePath, QFile::ReadOwner));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), writes ? QByteArray(c.afterWrite) : c.contents);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no staging file left
    }

    INSTANTIATE_TEST_SUITE_P(Table, SettingsFile,
        ::testing::Values(FileCase { "show_pluto=true\n", true, "[General]\nshow_pluto=false\n" },
            FileCase { "[General]\nshow_pluto=TRUE\n", true, "[General]\nshow_pluto=false\n" },
            FileCase { "[General]\nshow_pluto=1\n", true, "[General]\nshow_pluto=false\n" },
            FileCase { "[General]\nshow_pluto=banana\n", false, "[General]\nshow_pluto=true\n" },
            FileCase { "[General]\nother=1\n\n[window]\nwidth=500\n", false,
                "[General]\nother=1\nshow_pluto=true\n\n[window]\nwidth=500\n" },
            FileCase { QByteArray("\x00\x01\xff\xfe[General]\nshow_pluto=true\n", 27), false, nullptr },
            FileCase { "[General]\nshow_pluto=true\nname=\xc3\x28\n", false, nullptr },
            FileCase { "[General\nshow_pluto=true\n", false, nullptr },
            FileCase { "\xef\xbb\xbf[General]\nshow_pluto=true\n", false, nullptr },
            FileCase { "[General]\nshow_pluto=true\n; " + QByteArray(1 << 20, 'x') + "\n", false, nullptr },
            FileCase { "[General]\nshow_pluto=true\n", true, nullptr, QFile::ReadOwner | QFile::ReadOther },
            FileCase { "[General]\nshow_pluto=true\nother=1\n", false, nullptr, {} }));

    TEST_F(Settings, FallsBackToTheProgramsOwnFileWhenTheSuiteIsNotAFile)
    {
        ASSERT_TRUE(QDir().mkpath(suitePath));
        SharedSettings settings;
        EXPECT_TRUE(settings.filePath().startsWith(folder.path() + QStringLiteral("/heliora/")));
        ASSERT_TRUE(settings.setShowPluto(true));
        EXPECT_TRUE(SharedSettings().showPluto());
    }

    // What one process writes, another reads; a write that fails (the lock file's place taken by a folder, where
    // QSettings itself would wait forever) is reported and leaves the file alone.
    TEST_F(Settings, ASecondProcessReadsWhatTheFirstWrote)
    {
        EXPECT_EQ(runCli({ "settings", "set", "show_pluto", "true" }).exitCode, 0);
        EXPECT_TRUE(SharedSettings().showPluto());
        ASSERT_TRUE(SharedSettings().setShowPluto(false));
        EXPECT_EQ(runCli({ "settings", "get", "show_pluto" }).text(), QStringLiteral("false\n"));
        ASSERT_TRUE(QDir().mkpath(suitePath + QStringLiteral(".lock")));
        EXPECT_EQ(runCli({ "settings", "set", "show_pluto", "true" }).exitCode, 1);
        EXPECT_EQ(runCli({ "settings", "get", "show_pluto" }).text(), QStringLiteral("false\n"));
    }

} // namespace
} // namespace heliora
