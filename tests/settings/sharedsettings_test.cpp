// The shared settings store on disk: hostile files, links, locks and permissions, a full disk, killed and
// concurrent writers, environments without a configuration folder. Each case broke the QSettings-based store
// with a crash, a hang, a lost line or a false "false".

#include "settings/settingsio.h"
#include "settings/settingstext.h"
#include "settings/sharedsettings.h"

#include "support/files.h"
#include "support/rows.h"
#include "support/scopedenv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace heliora {
namespace {

    using test::PrintTo;

    // A hang fails the test (SIGALRM ends the process) instead of stalling the run.
    struct HangGuard {
        HangGuard() { alarm(20); }
        ~HangGuard() { alarm(0); }
    };

    using test::entriesOf;
    using test::readFile;

    void writeFile(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(test::writeFile(path, bytes)); }

    struct stat statusOf(const QString& path)
    {
        struct stat info { };
        ::lstat(QFile::encodeName(path).constData(), &info);
        return info;
    }

    // Every test gets its own configuration folder; the user's own is never touched.
    class Settings : public ::testing::Test {
    protected:
        QTemporaryDir folder;
        test::ScopedEnv env { { "XDG_CONFIG_HOME", folder.path().toUtf8().constData() } };
        const QString suitePath = folder.filePath(QStringLiteral("QZ7R4K2M9T.Heliora.macOS.conf"));
        const std::string suite = QFile::encodeName(suitePath).toStdString();
    };

    TEST_F(Settings, RoundTripsAndTellsEveryLiveHolder)
    {
        SharedSettings first;
        SharedSettings second;
        auto* third = new SharedSettings;
        EXPECT_EQ(first.filePath(), suitePath);
        EXPECT_FALSE(first.showPluto());
        std::vector<std::pair<int, bool>> told;
        QObject::connect(&first, &SharedSettings::showPlutoChanged, [&](bool value) {
            told.emplace_back(1, value);
            delete third; // a view closing while the news goes round
            third = nullptr;
        });
        QObject::connect(&second, &SharedSettings::showPlutoChanged, [&](bool value) { told.emplace_back(2, value); });
        QObject::connect(third, &SharedSettings::showPlutoChanged, [&](bool value) { told.emplace_back(3, value); });
        ASSERT_TRUE(second.setShowPluto(true));
        EXPECT_EQ(readFile(suitePath), "[General]\nshow_pluto=true\n"); // as QSettings writes it
        ASSERT_TRUE(first.setShowPluto(false));
        EXPECT_FALSE(SharedSettings().showPluto());
        EXPECT_EQ(told, (std::vector<std::pair<int, bool>> { { 1, true }, { 2, true }, { 1, false }, { 2, false } }));
        EXPECT_EQ(entriesOf(folder.path()).size(), 1); // no lock or staging file left
    }

    struct FileCase {
        const char* name;
        QByteArray contents;
        bool reads = false;
        QByteArray afterWrite = {}; // empty: the write is refused and the file keeps every byte
        const char* error = ""; // in the refusal's line
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther;
    };

    class SettingsFile : public Settings, public ::testing::WithParamInterface<FileCase> { };

    // What a foreign, hostile, read-only or unreadable file reads as, and what writing the other value makes of it:
    // the setting line changes and nothing else, the mode stays; a refused write leaves every byte, says why and
    // tells no holder. Run by a child that drops root's privileges.
    TEST_P(SettingsFile, ReadsAndWritesOnlyTheSettingLine)
    {
        const FileCase& c = GetParam();
        writeFile(suitePath, c.contents);
        ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7777)));
        ASSERT_TRUE(QFile::setPermissions(suitePath, c.permissions));
        const mode_t mode = statusOf(suitePath).st_mode;
        const bool writes = !c.afterWrite.isEmpty();
        const char* const report = "read %d, wrote %d, read later %d, told %d: ";
        const auto readAndWrite = [&] {
            const bool asNobody = geteuid() != 0 || !(setgroups(0, nullptr) || setgid(65534) || setuid(65534));
            SharedSettings settings;
            int told = 0;
            QObject::connect(&settings, &SharedSettings::showPlutoChanged, [&told] { ++told; });
            const bool read = settings.showPluto();
            const bool wrote = settings.setShowPluto(!c.reads);
            std::fprintf(stderr, report, read, wrote, SharedSettings().showPluto(), told);
            std::fprintf(stderr, "%s\n", settings.lastError().toUtf8().constData());
            std::_Exit(asNobody ? 0 : 1);
        };
        const QString expected = QString::asprintf(report, c.reads, writes, writes != c.reads, writes ? 1 : 0);
        EXPECT_EXIT(readAndWrite(), ::testing::ExitedWithCode(0),
            (QRegularExpression::escape(expected) + ".*" + QRegularExpression::escape(c.error)).toStdString());
        EXPECT_EQ(statusOf(suitePath).st_mode, mode);
        ASSERT_TRUE(QFile::setPermissions(suitePath, QFile::ReadOwner));
        EXPECT_EQ(readFile(suitePath), writes ? c.afterWrite : c.contents);
        EXPECT_EQ(entriesOf(folder.path()).size(), 1);
    }

    const QByteArray nested
        = QByteArray("@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1").repeated(22'000) + QByteArray(22'000, ')');
    const QByteArray foreign
        = "; mine\n%U0444=1\n\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87=\xd0\xb4\nc\\\\d=2\nv=@Variant(\\0\\x7f)\n";
    const int limit = int(largestSettingsFile);

    // clang-format off
    const FileCase files[] = {
        { .name = "NestedVariant", .contents = "[General]\na=1\nshow_pluto=" + nested + "\n[x]\nb=2\n",
            .afterWrite = "[General]\na=1\nshow_pluto=true\n[x]\nb=2\n" },
        { .name = "ByteOrderMark", .contents = "\xEF\xBB\xBF[General]\nshow_pluto=true\n", .reads = true,
            .afterWrite = "\xEF\xBB\xBF[General]\nshow_pluto=false\n" },
        { .name = "ForeignLines", .contents = "[General]\n" + foreign + "show_pluto=TRUE\n[x]\n" + foreign,
            .reads = true, .afterWrite = "[General]\n" + foreign + "show_pluto=false\n[x]\n" + foreign },
        { .name = "WouldPassTheLimit", .contents = ";" + QByteArray(limit - 3, 'x') + "\n",
            .error = "larger than 1 MiB" },
        { .name = "PastTheLimit", .contents = "show_pluto=true\n;" + QByteArray(limit, 'x'),
            .error = "larger than 1 MiB" },
        { .name = "NulByte", .contents = QByteArray("show_pluto=true\n\0\n", 18), .error = "NUL" },
        { .name = "ReadOnly", .contents = "show_pluto=true\n", .reads = true, .error = "read-only",
            .permissions = QFile::ReadOwner | QFile::ReadOther },
        { .name = "Unreadable", .contents = "show_pluto=true\n", .error = "cannot read",
            .permissions = QFile::WriteOwner | QFile::WriteOther },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Table, SettingsFile, ::testing::ValuesIn(files), test::rowName);

    // Root rewriting a user's read-only file (root may) keeps it the user's, and read-only.
    TEST_F(Settings, RootKeepsOwnerAndMode)
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root";
        writeFile(suitePath, "[General]\nshow_pluto=false\n");
        ASSERT_EQ(::chown(suite.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(suite.c_str(), 0444), 0);
        ASSERT_TRUE(SharedSettings().setShowPluto(true));
        const struct stat after = statusOf(suitePath);
        EXPECT_EQ(after.st_mode & 07777, 0444u);
        EXPECT_EQ(after.st_uid, 65534u);
        EXPECT_EQ(after.st_gid, 65534u);
        EXPECT_TRUE(SharedSettings().showPluto());
    }

    struct LinkCase {
        const char* name;
        const char* link; // where the suite's name points; "@" stands for the configuration folder
        const char* hop; // where dotfiles/hop points, or null
        bool fileExists;
    };

    class LinkedFile : public Settings, public ::testing::WithParamInterface<LinkCase> { };

    // Dotfile managers link the file: a write goes through the links to the file, which is replaced atomically
    // (staged beside it); the links stay links and nothing is left behind.
    TEST_P(LinkedFile, WritesThroughToTheTarget)
    {
        const LinkCase& c = GetParam();
        ASSERT_TRUE(QDir(folder.path()).mkpath("dotfiles/deeper"));
        const QString target = folder.filePath("dotfiles/deeper/h.conf");
        if (c.fileExists)
            writeFile(target, "; mine\n[General]\nshow_pluto=true\n");
        const QByteArray link = QByteArray(c.link).replace('@', QFile::encodeName(folder.path()));
        ASSERT_EQ(::symlink(link.constData(), suite.c_str()), 0);
        if (c.hop) {
            ASSERT_EQ(::symlink(c.hop, QFile::encodeName(folder.filePath("dotfiles/hop")).constData()), 0);
        }
        SharedSettings settings;
        EXPECT_EQ(settings.showPluto(), c.fileExists);
        ASSERT_TRUE(settings.setShowPluto(false)) << settings.lastError().toStdString();
        EXPECT_TRUE(S_ISLNK(statusOf(suitePath).st_mode));
        EXPECT_EQ(readFile(target), QByteArray(c.fileExists ? "; mine\n" : "") + "[General]\nshow_pluto=false\n");
        EXPECT_EQ(entriesOf(folder.filePath("dotfiles/deeper")), QStringList { "h.conf" });
        EXPECT_EQ(entriesOf(folder.path()).size(), 2); // the link and dotfiles
    }

    INSTANTIATE_TEST_SUITE_P(Table, LinkedFile,
        ::testing::Values(LinkCase { "Relative", "dotfiles/deeper/h.conf", nullptr, true },
            LinkCase { "ChainOfTwo", "dotfiles/hop", "deeper/h.conf", true },
            LinkCase { "ToAnAbsentFile", "dotfiles/deeper/h.conf", nullptr, false }),
        test::rowName);

    enum class Thing { Fifo, DevZeroLink, Folder, LinkLoop };

    void PrintTo(Thing thing, std::ostream* os)
    {
        *os << std::array { "Fifo", "DevZeroLink", "Folder", "LinkLoop" }[int(thing)];
    }

    void put(Thing thing, const QString& path)
    {
        const QByteArray name = QFile::encodeName(path);
        const int made = thing == Thing::Fifo ? ::mkfifo(name.constData(), 0600)
            : thing == Thing::Folder
            ? ::mkdir(name.constData(), 0700)
            : ::symlink(thing == Thing::LinkLoop ? name.constData() : "/dev/zero", name.constData());
        ASSERT_EQ(made, 0) << path.toStdString();
    }

    class HostileThing : public Settings, public ::testing::WithParamInterface<Thing> { };

    // A FIFO at the lock's place blocked the old lock's open() for ever, a link to /dev/zero made it read without
    // end: each is refused at once with one line that names the lock, and the file is left as it was.
    TEST_P(HostileThing, AtTheLockIsRefusedAtOnce)
    {
        writeFile(suitePath, "[General]\nshow_pluto=false\n");
        put(GetParam(), suitePath + ".lock");
        SharedSettings settings;
        {
            const HangGuard guard;
            EXPECT_FALSE(settings.setShowPluto(true));
        }
        EXPECT_EQ(settings.lastError(),
            QString("the lock \"%1.lock\" is not a regular file (nothing there, or a regular file)").arg(suitePath));
        EXPECT_EQ(readFile(suitePath), "[General]\nshow_pluto=false\n");
    }

    // When the suite's name is taken by something that is not a file, each program keeps the setting in a file of its
    // own; what holds the name is not waited for, and a FIFO at the program's own file is refused too.
    TEST_P(HostileThing, AtTheSuitesNameLeavesEachProgramAFileOfItsOwn)
    {
        put(GetParam(), suitePath);
        const HangGuard guard;
        SharedSettings settings;
        const QString own = settings.filePath();
        EXPECT_TRUE(own.startsWith(folder.path() + "/heliora/"));
        ASSERT_TRUE(settings.setShowPluto(true)) << settings.lastError().toStdString();
        EXPECT_TRUE(SharedSettings().showPluto());

        ASSERT_TRUE(QFile::remove(own));
        put(Thing::Fifo, own);
        EXPECT_FALSE(SharedSettings().showPluto());
        EXPECT_FALSE(settings.setShowPluto(true));
        EXPECT_EQ(
            settings.lastError(), QString("\"%1\" is not a regular file (a regular file or a link to one)").arg(own));
    }

    INSTANTIATE_TEST_SUITE_P(
        Table, HostileThing, ::testing::Values(Thing::Fifo, Thing::DevZeroLink, Thing::Folder, Thing::LinkLoop));

    // A disk that fills up while the new file is staged (the file-size limit stands in for a small file system):
    // the write fails with one line that says why, the old file keeps every byte, and the staging file is removed.
    TEST_F(Settings, FullDiskKeepsTheOldFile)
    {
        const QByteArray old = "[General]\nshow_pluto=false\n" + QByteArray(64 * 1024, ';') + "\n";
        writeFile(suitePath, old);
        const auto writeOnAFullDisk = [] {
            ::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of ending the process
            rlimit limit {};
            limit.rlim_cur = limit.rlim_max = 16 * 1024;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            SharedSettings settings;
            const bool wrote = settings.setShowPluto(true);
            std::fprintf(stderr, "wrote %d: %s\n", wrote, settings.lastError().toUtf8().constData());
            std::_Exit(0);
        };
        EXPECT_EXIT(writeOnAFullDisk(), ::testing::ExitedWithCode(0),
            "wrote 0: cannot write \".*\": " + std::string(std::strerror(EFBIG)));
        EXPECT_EQ(readFile(suitePath), old);
        EXPECT_EQ(entriesOf(folder.path()).size(), 1);
    }

    // A writer killed mid-write (after it took the lock and staged half a file) blocks nobody: its lock died with
    // it, and the next writer removes its staging file. While it lived, others waited and then gave up.
    TEST_F(Settings, KilledWriterBlocksNobody)
    {
        writeFile(suitePath, "[General]\nshow_pluto=false\n[x]\nkeep=1\n");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            const WriteLock lock(suite, std::chrono::milliseconds(1000));
            const auto staging = createStagingFile(suite, 0600);
            const bool staged = !lock.problem() && staging && ::write(staging->fd, "[Gen", 4) == 4;
            [[maybe_unused]] const auto told = ::write(ready[1], staged ? "1" : "0", 1);
            ::pause();
            std::_Exit(0);
        }
        char staged = 0;
        EXPECT_EQ(::read(ready[0], &staged, 1), 1);
        EXPECT_EQ(staged, '1');
        EXPECT_EQ(writeShowPluto(suite, true, std::chrono::milliseconds(100)).kind, SettingsProblem::LockBusy);
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        EXPECT_EQ(entriesOf(folder.path()).size(), 3) << "the file, a lock file and a staging file";

        SharedSettings settings;
        ASSERT_TRUE(settings.setShowPluto(true)) << settings.lastError().toStdString();
        EXPECT_EQ(readFile(suitePath), "[General]\nshow_pluto=true\n[x]\nkeep=1\n");
        EXPECT_EQ(entriesOf(folder.path()).size(), 1);
    }

    // Writers in several processes at once take turns: none fails, and the file ends with its one setting line and
    // everything else as it was.
    TEST_F(Settings, ConcurrentWritersTakeTurns)
    {
        writeFile(suitePath, "[General]\na=1\n[x]\nkeep=1\n");
        std::vector<pid_t> writers;
        for (int child = 0; child < 4; ++child) {
            writers.push_back(::fork());
            if (writers.back() == 0) {
                int failures = 0;
                for (int round = 0; round < 25; ++round)
                    failures += SharedSettings().setShowPluto((round + child) % 2 == 0) ? 0 : 1;
                std::_Exit(failures);
            }
        }
        for (const pid_t pid : writers) {
            int status = -1;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_EQ(status, 0) << "failed writes: " << WEXITSTATUS(status);
        }
        EXPECT_TRUE(QRegularExpression("^\\[General\\]\na=1\nshow_pluto=(true|false)\n\\[x\\]\nkeep=1\n$")
                        .match(readFile(suitePath))
                        .hasMatch());
        EXPECT_EQ(entriesOf(folder.path()).size(), 1);
    }

    // Reads happen in memory and writes stage beside the file: a missing TMPDIR changes nothing.
    TEST_F(Settings, NeedsNoTemporaryFolder)
    {
        writeFile(suitePath, "[General]\nshow_pluto=true\n");
        const test::ScopedEnv tmp { { "TMPDIR", "/nonexistent/tmp" } };
        EXPECT_TRUE(SharedSettings().showPluto());
        EXPECT_TRUE(SharedSettings().setShowPluto(false));
        EXPECT_FALSE(SharedSettings().showPluto());
    }

    struct Environment {
        const char* name;
        const char* xdg; // "@" stands for the test's folder; null: unset
        const char* home;
        const char* folder; // where the file is expected; null: no configuration folder
    };

    class ConfigFolder : public ::testing::TestWithParam<Environment> { };

    // Which folder holds the file; reading and asking for the path create nothing, not even the folder, which the
    // first write makes private. Without a folder nothing is read or written, and the holder says why.
    TEST_P(ConfigFolder, ReadingCreatesNothing)
    {
        const Environment& e = GetParam();
        const QTemporaryDir root;
        const auto inRoot = [&](const char* value) {
            return value ? QByteArray(value).replace('@', QFile::encodeName(root.path())) : QByteArray();
        };
        const QByteArray xdg = inRoot(e.xdg), home = inRoot(e.home);
        const test::ScopedEnv env { { "XDG_CONFIG_HOME", e.xdg ? xdg.constData() : nullptr },
            { "HOME", e.home ? home.constData() : nullptr } };
        const QString cwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(root.path()));
        SharedSettings settings;
        EXPECT_FALSE(settings.showPluto());
        EXPECT_EQ(SharedSettings::suiteFilePath(), settings.filePath());
        EXPECT_TRUE(entriesOf(root.path()).isEmpty());
        if (e.folder) {
            const QString expected = QString::fromUtf8(inRoot(e.folder));
            EXPECT_EQ(settings.filePath(), expected + "/QZ7R4K2M9T.Heliora.macOS.conf");
            EXPECT_TRUE(settings.setShowPluto(true)) << settings.lastError().toStdString();
            EXPECT_EQ(statusOf(expected).st_mode & 07777, 0700u);
        } else {
            EXPECT_TRUE(settings.filePath().isEmpty());
            EXPECT_FALSE(settings.setShowPluto(true));
            EXPECT_EQ(settings.lastError(),
                "no configuration folder: neither XDG_CONFIG_HOME nor HOME is set (an absolute path in either)");
            EXPECT_TRUE(entriesOf(root.path()).isEmpty());
        }
        QDir::setCurrent(cwd);
    }

    INSTANTIATE_TEST_SUITE_P(Table, ConfigFolder,
        ::testing::Values(Environment { "Xdg", "@/a/b//", "@/home", "@/a/b" },
            Environment { "Home", nullptr, "@/home", "@/home/.config" },
            Environment { "RelativeXdgIgnored", "rel", "@/home", "@/home/.config" },
            Environment { "NeitherSet", nullptr, nullptr, nullptr },
            Environment { "OnlyRelative", "rel", "home", nullptr }),
        test::rowName);

} // namespace
} // namespace heliora
