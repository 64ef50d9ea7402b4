// The shared settings store on disk: hostile files, links, locks, permissions, a full disk, killed and
// concurrent writers, and environments without a configuration folder. Each case is one that broke a
// QSettings-based store: a crash, a hang, a lost line or a false "false".

#include "settings/settingsio.h"
#include "settings/settingstext.h"
#include "settings/sharedsettings.h"

#include "support/runcli.h"
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
#include <string>
#include <vector>

namespace heliora {
namespace {

    using test::runCli;
    using namespace std::string_literals;

    // A hang is a failure, not a test run that never ends: the test process dies if a call takes 20 s.
    class HangGuard {
    public:
        HangGuard() { alarm(20); }
        ~HangGuard() { alarm(0); }
    };

    QByteArray contentsOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    void link(const char* target, const QString& name)
    {
        ASSERT_EQ(::symlink(target, QFile::encodeName(name).constData()), 0) << name.toStdString();
    }

    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    }

    QStringList entriesOf(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    mode_t modeOf(const QString& path)
    {
        struct stat info { };
        return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
    }

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
        EXPECT_EQ(contentsOf(suitePath), "[General]\nshow_pluto=true\n"); // as QSettings writes it
        ASSERT_TRUE(first.setShowPluto(false));
        EXPECT_FALSE(SharedSettings().showPluto());
        EXPECT_EQ(told, (std::vector<std::pair<int, bool>> { { 1, true }, { 2, true }, { 1, false }, { 2, false } }));
        EXPECT_EQ(entriesOf(folder.path()), QStringList { QFileInfo(suitePath).fileName() }); // no lock, no staging
    }

    struct FileCase {
        const char* name;
        QByteArray contents;
        bool reads;
        QByteArray afterWrite; // empty: the write is refused and the file keeps every byte
        const char* error = ""; // what the refusal says
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther;
    };

    void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

    class SettingsFile : public Settings, public ::testing::WithParamInterface<FileCase> { };

    // What a hand-edited, damaged, foreign, hostile, read-only or unreadable file reads as, and what writing the other
    // value makes of it: the setting line changes and nothing else; a refused write leaves every byte, says why in
    // one line and tells no holder. Run by a child that drops root's privileges.
    TEST_P(SettingsFile, ReadsAndWritesOnlyTheSettingLine)
    {
        const FileCase& c = GetParam();
        writeFile(suitePath, c.contents);
        ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7777)));
        ASSERT_TRUE(QFile::setPermissions(suitePath, c.permissions));
        const mode_t mode = modeOf(suitePath);
        const bool writes = !c.afterWrite.isEmpty();
        const char* const report = "read %d, wrote %d, read later %d, told %d: ";
        EXPECT_EXIT(
            {
                const bool asNobody = geteuid() != 0 || !(setgroups(0, nullptr) || setgid(65534) || setuid(65534));
                SharedSettings settings;
                int told = 0;
                QObject::connect(&settings, &SharedSettings::showPlutoChanged, [&told] { ++told; });
                const bool read = settings.showPluto();
                const bool wrote = settings.setShowPluto(!c.reads);
                std::fprintf(stderr, report, read, wrote, SharedSettings().showPluto(), told);
                std::fprintf(stderr, "%s\n", settings.lastError().toUtf8().constData());
                std::_Exit(asNobody ? 0 : 1);
            },
            ::testing::ExitedWithCode(0),
            (QRegularExpression::escape(QString::asprintf(report, c.reads, writes, writes != c.reads, writes ? 1 : 0))
                + QStringLiteral(".*") + QRegularExpression::escape(QString::fromUtf8(c.error)))
                .toStdString());
        EXPECT_EQ(modeOf(suitePath), mode);
        ASSERT_TRUE(QFile::setPermissions(suitePath, QFile::ReadOwner));
        EXPECT_EQ(contentsOf(suitePath), writes ? c.afterWrite : c.contents);
        EXPECT_EQ(entriesOf(folder.path()).size(), 1); // no staging or lock file left
    }

    QByteArray nestedVariant(int depth = 22'000)
    {
        return QByteArray("@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1").repeated(depth) + QByteArray(depth, ')');
    }

    const QByteArray foreignLines = "; written by hand\n%U0444=1\n\xd0\xba\xd0\xbb\xd1\x8e\xd1\x87=\xd0\xb4\n"
                                    "c\\\\d=2\nv=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5Foo)\n";

    INSTANTIATE_TEST_SUITE_P(Table, SettingsFile,
        ::testing::Values(
            FileCase { "WrittenByQSettings", "[General]\nshow_pluto=true\n", true, "[General]\nshow_pluto=false\n" },
            FileCase { "NestedVariant", "[General]\nother=1\nshow_pluto=" + nestedVariant() + "\n[x]\ny=2\n", false,
                "[General]\nother=1\nshow_pluto=true\n[x]\ny=2\n" },
            FileCase { "ByteOrderMark", "\xEF\xBB\xBF[General]\nshow_pluto=true\n", true,
                "\xEF\xBB\xBF[General]\nshow_pluto=false\n" },
            FileCase { "ForeignLines", "[General]\n" + foreignLines + "show_pluto=TRUE\n[x]\n" + foreignLines, true,
                "[General]\n" + foreignLines + "show_pluto=false\n[x]\n" + foreignLines },
            FileCase { "OtherGroupsOnly", "[window]\nwidth=500\n", false,
                "[General]\nshow_pluto=true\n\n[window]\nwidth=500\n" },
            FileCase { "WouldPassTheLimit", ";" + QByteArray(int(largestSettingsFile) - 3, 'x') + "\n", false, "",
                "larger than 1 MiB" },
            FileCase { "PastTheLimit", "show_pluto=true\n;" + QByteArray(int(largestSettingsFile), 'x'), false, "",
                "larger than 1 MiB" },
            FileCase { "NulByte", QByteArray("[General]\nshow_pluto=true\n\0\n", 28), false, "", "NUL" },
            FileCase { "ReadOnly", "[General]\nshow_pluto=true\n", true, "", "read-only",
                QFile::ReadOwner | QFile::ReadOther },
            FileCase { "Unreadable", "[General]\nshow_pluto=true\n", false, "", "cannot read",
                QFile::WriteOwner | QFile::WriteOther }),
        [](const auto& info) { return std::string(info.param.name); });

    // Root rewriting a user's read-only file (root may) keeps it the user's, and read-only.
    TEST_F(Settings, RootKeepsOwnerAndMode)
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root";
        writeFile(suitePath, "[General]\nshow_pluto=false\n");
        ASSERT_EQ(::chown(QFile::encodeName(suitePath).constData(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(suitePath).constData(), 0444), 0);
        ASSERT_TRUE(SharedSettings().setShowPluto(true));
        struct stat info { };
        ASSERT_EQ(::stat(QFile::encodeName(suitePath).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0444u);
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
        EXPECT_EQ(contentsOf(suitePath), "[General]\nshow_pluto=true\n");
    }

    struct LinkCase {
        const char* name;
        const char* link; // what the suite's name links to, relative to the configuration folder
        const char* second; // a link at the first link's target, to the file, or null
        bool fileExists;
    };

    void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

    class LinkedFile : public Settings, public ::testing::WithParamInterface<LinkCase> { };

    // Dotfile managers link the file: a write goes through the links to the file, which is replaced atomically,
    // and the links stay links. Staging happens beside the file, and nothing is left anywhere.
    TEST_P(LinkedFile, WritesThroughToTheTarget)
    {
        const LinkCase& c = GetParam();
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("dotfiles/deeper")));
        const QString target = folder.filePath(QStringLiteral("dotfiles/deeper/heliora.conf"));
        if (c.fileExists)
            writeFile(target, "; mine\n[General]\nshow_pluto=true\n");
        link(c.link, suitePath);
        if (c.second)
            link(c.second, folder.filePath(QStringLiteral("dotfiles/hop")));
        SharedSettings settings;
        EXPECT_EQ(settings.filePath(), suitePath);
        EXPECT_EQ(settings.showPluto(), c.fileExists);
        ASSERT_TRUE(settings.setShowPluto(false)) << settings.lastError().toStdString();
        EXPECT_TRUE(QFileInfo(suitePath).isSymLink());
        EXPECT_EQ(contentsOf(target),
            c.fileExists ? QByteArray("; mine\n[General]\nshow_pluto=false\n") : "[General]\nshow_pluto=false\n");
        EXPECT_EQ(entriesOf(folder.filePath(QStringLiteral("dotfiles/deeper"))), QStringList { "heliora.conf" });
        EXPECT_EQ(entriesOf(folder.path()).size(), 2); // the link and dotfiles/
        EXPECT_FALSE(SharedSettings().showPluto());
    }

    INSTANTIATE_TEST_SUITE_P(Table, LinkedFile,
        ::testing::Values(LinkCase { "Relative", "dotfiles/deeper/heliora.conf", nullptr, true },
            LinkCase { "ChainOfTwo", "dotfiles/hop", "deeper/heliora.conf", true },
            LinkCase { "ToAnAbsentFile", "dotfiles/deeper/heliora.conf", nullptr, false }),
        [](const auto& info) { return std::string(info.param.name); });

    TEST_F(Settings, AbsoluteLinkIsFollowedToo)
    {
        const QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("h.conf"));
        writeFile(target, "[General]\nshow_pluto=false\n");
        ASSERT_TRUE(QFile::link(target, suitePath));
        ASSERT_TRUE(SharedSettings().setShowPluto(true));
        EXPECT_EQ(contentsOf(target), "[General]\nshow_pluto=true\n");
        EXPECT_EQ(entriesOf(elsewhere.path()), QStringList { "h.conf" });
    }

    enum class Occupant { Fifo, DevZeroLink, Folder, DanglingLink };

    class HostileLock : public Settings, public ::testing::WithParamInterface<Occupant> { };

    // A FIFO at the lock's place blocked the old lock's open() for ever, a link to /dev/zero made it read without
    // end: now each is refused at once, with one line that names the lock, and the file is left as it was.
    TEST_P(HostileLock, IsRefusedAtOnce)
    {
        writeFile(suitePath, "[General]\nshow_pluto=false\n");
        const QString lock = suitePath + QStringLiteral(".lock");
        const QByteArray lockPath = QFile::encodeName(lock);
        switch (GetParam()) {
        case Occupant::Fifo:
            ASSERT_EQ(::mkfifo(lockPath.constData(), 0600), 0);
            break;
        case Occupant::DevZeroLink:
            ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), lock));
            break;
        case Occupant::Folder:
            ASSERT_TRUE(QDir().mkpath(lock));
            break;
        case Occupant::DanglingLink:
            ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("absent")), lock));
            break;
        }
        SharedSettings settings;
        {
            const HangGuard guard;
            EXPECT_FALSE(settings.setShowPluto(true));
        }
        EXPECT_EQ(settings.lastError(),
            QStringLiteral("the lock \"%1\" is not a regular file (nothing there, or a "
                           "regular file)")
                .arg(lock));
        EXPECT_EQ(contentsOf(suitePath), "[General]\nshow_pluto=false\n");
        EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("absent"))));
    }

    INSTANTIATE_TEST_SUITE_P(Table, HostileLock,
        ::testing::Values(Occupant::Fifo, Occupant::DevZeroLink, Occupant::Folder, Occupant::DanglingLink));

    enum class Suite { Folder, Fifo, DevFullLink, LinkLoop };

    class SuiteTaken : public Settings, public ::testing::WithParamInterface<Suite> { };

    // When the suite's name is taken by something that is not a file, each program keeps its setting in a file of
    // its own, and what holds the name is neither opened for long nor written.
    TEST_P(SuiteTaken, FallsBackToTheProgramsOwnFile)
    {
        const QByteArray path = QFile::encodeName(suitePath);
        switch (GetParam()) {
        case Suite::Folder:
            ASSERT_TRUE(QDir().mkpath(suitePath));
            break;
        case Suite::Fifo:
            ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
            break;
        case Suite::DevFullLink:
            ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), suitePath));
            break;
        case Suite::LinkLoop:
            ASSERT_TRUE(QFile::link(suitePath, suitePath));
            break;
        }
        const HangGuard guard;
        SharedSettings settings;
        EXPECT_TRUE(settings.filePath().startsWith(folder.path() + QStringLiteral("/heliora/")));
        EXPECT_FALSE(settings.showPluto());
        ASSERT_TRUE(settings.setShowPluto(true)) << settings.lastError().toStdString();
        EXPECT_TRUE(SharedSettings().showPluto());
        EXPECT_EQ(modeOf(suitePath) & S_IFMT,
            GetParam() == Suite::Folder     ? S_IFDIR
                : GetParam() == Suite::Fifo ? S_IFIFO
                                            : S_IFLNK);
    }

    INSTANTIATE_TEST_SUITE_P(
        Table, SuiteTaken, ::testing::Values(Suite::Folder, Suite::Fifo, Suite::DevFullLink, Suite::LinkLoop));

    // The program's own file can be taken too: a FIFO there is neither waited for nor written.
    TEST_F(Settings, OwnFileThatIsAFifoReadsAsFalse)
    {
        ASSERT_TRUE(QDir().mkpath(suitePath));
        const QString own = SharedSettings().filePath();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(own).path()));
        ASSERT_EQ(::mkfifo(QFile::encodeName(own).constData(), 0600), 0);
        const HangGuard guard;
        SharedSettings settings;
        EXPECT_FALSE(settings.showPluto());
        EXPECT_FALSE(settings.setShowPluto(true));
        EXPECT_EQ(settings.lastError(),
            QStringLiteral("\"%1\" is not a regular file (a regular file or a link to one)").arg(own));
    }

    // A disk that fills up while the new file is staged (the file-size limit stands in for a small file system):
    // the write fails with one line that says why, the old file keeps every byte, and the staging file is removed.
    TEST_F(Settings, FullDiskKeepsTheOldFile)
    {
        const QByteArray old = "[General]\nshow_pluto=false\n" + QByteArray(64 * 1024, ';') + "\n";
        writeFile(suitePath, old);
        const auto writeOnAFullDisk = [] {
            ::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing the process
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
        EXPECT_EQ(contentsOf(suitePath), old);
        EXPECT_EQ(entriesOf(folder.path()).size(), 1);
    }

    // A writer killed mid-write (after it took the lock and staged half a file) blocks nobody: its lock died with
    // it, and the next writer removes its staging file. While it lived, others waited and then gave up.
    TEST_F(Settings, KilledWriterBlocksNobody)
    {
        writeFile(suitePath, "[General]\nshow_pluto=false\n[x]\nkeep=1\n");
        const std::string path = QFile::encodeName(suitePath).toStdString();
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            const WriteLock lock(path, std::chrono::milliseconds(1000));
            const auto staging = createStagingFile(path, 0600);
            const bool staged = !lock.problem() && staging && ::write(staging->fd, "[Gen", 4) == 4;
            [[maybe_unused]] const auto told = ::write(ready[1], staged ? "1" : "0", 1);
            ::pause();
            std::_Exit(0);
        }
        char staged = 0;
        ASSERT_EQ(::read(ready[0], &staged, 1), 1);
        ASSERT_EQ(staged, '1');
        EXPECT_EQ(writeShowPluto(path, true, std::chrono::milliseconds(100)).kind, SettingsProblem::LockBusy);
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(entriesOf(folder.path()).size(), 3) << "the lock file and the staging file are left behind";

        SharedSettings settings;
        ASSERT_TRUE(settings.setShowPluto(true)) << settings.lastError().toStdString();
        EXPECT_EQ(contentsOf(suitePath), "[General]\nshow_pluto=true\n[x]\nkeep=1\n");
        EXPECT_EQ(entriesOf(folder.path()), QStringList { QFileInfo(suitePath).fileName() });
    }

    // Writers in several processes at once: each waits for the others, none fails, and the file ends with one
    // setting line and everything else as it was.
    TEST_F(Settings, ConcurrentWritersTakeTurns)
    {
        writeFile(suitePath, "[General]\na=1\n[x]\nkeep=1\n");
        std::vector<pid_t> writers;
        for (int child = 0; child < 4; ++child) {
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                int failures = 0;
                for (int round = 0; round < 25; ++round)
                    failures += SharedSettings().setShowPluto((round + child) % 2 == 0) ? 0 : 1;
                std::_Exit(failures);
            }
            writers.push_back(pid);
        }
        for (const pid_t pid : writers) {
            int status = -1;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed writes: " << WEXITSTATUS(status);
        }
        const QByteArray after = contentsOf(suitePath);
        EXPECT_TRUE(after == "[General]\na=1\nshow_pluto=true\n[x]\nkeep=1\n"
            || after == "[General]\na=1\nshow_pluto=false\n[x]\nkeep=1\n")
            << after.constData();
        EXPECT_EQ(entriesOf(folder.path()).size(), 1);
    }

    // Reads happen in memory: a missing or unwritable TMPDIR changes nothing.
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
        const char* xdg; // relative to the test's folder when it starts with no '/'; null: unset
        const char* home;
        const char* expectedFolder; // relative to the test's folder; null: no configuration folder
    };

    class ConfigFolder : public ::testing::TestWithParam<Environment> { };

    // Which folder holds the file, and that reading and asking for the path create nothing, not even the folder;
    // without a folder, nothing is read or written and the holder says why.
    TEST_P(ConfigFolder, ReadingCreatesNothing)
    {
        const Environment& e = GetParam();
        QTemporaryDir root;
        const auto inRoot = [&](const char* value) -> std::optional<std::string> {
            if (!value)
                return std::nullopt;
            const std::string text = value;
            return text.starts_with('@') ? text.substr(1) : root.filePath(QString::fromUtf8(value)).toStdString();
        };
        const auto xdg = inRoot(e.xdg);
        const auto home = inRoot(e.home);
        const test::ScopedEnv env { { "XDG_CONFIG_HOME", xdg ? xdg->c_str() : nullptr },
            { "HOME", home ? home->c_str() : nullptr } };
        const QString cwd = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(root.path()));
        SharedSettings settings;
        EXPECT_FALSE(settings.showPluto());
        EXPECT_EQ(SharedSettings::suiteFilePath(), settings.filePath());
        EXPECT_TRUE(entriesOf(root.path()).isEmpty());
        if (e.expectedFolder) {
            EXPECT_EQ(settings.filePath(),
                root.filePath(QString::fromUtf8(e.expectedFolder)) + QStringLiteral("/QZ7R4K2M9T.Heliora.macOS.conf"));
            EXPECT_TRUE(settings.setShowPluto(true)) << settings.lastError().toStdString();
            EXPECT_EQ(modeOf(root.filePath(QString::fromUtf8(e.expectedFolder))) & 07777, 0700u);
        } else {
            EXPECT_TRUE(settings.filePath().isEmpty());
            EXPECT_FALSE(settings.setShowPluto(true));
            EXPECT_EQ(settings.lastError(),
                QStringLiteral("no configuration folder: neither XDG_CONFIG_HOME nor HOME is set (an absolute path in "
                               "either)"));
            EXPECT_TRUE(entriesOf(root.path()).isEmpty());
        }
        QDir::setCurrent(cwd);
    }

    INSTANTIATE_TEST_SUITE_P(Table, ConfigFolder,
        ::testing::Values(Environment { "Xdg", "a/b", "home", "a/b" },
            Environment { "Home", nullptr, "home", "home/.config" },
            Environment { "RelativeXdgIgnored", "@rel", "home", "home/.config" },
            Environment { "EmptyXdgIgnored", "@", "home", "home/.config" },
            Environment { "NeitherSet", nullptr, nullptr, nullptr },
            Environment { "OnlyRelativeOnes", "@rel", "@home", nullptr },
            Environment { "EmptyOnes", "@", "@", nullptr }),
        [](const auto& info) { return std::string(info.param.name); });

    // What one process writes, another reads.
    TEST_F(Settings, ASecondProcessReadsWhatTheFirstWrote)
    {
        EXPECT_EQ(runCli({ "settings", "set", "show_pluto", "true" }).exitCode, 0);
        EXPECT_TRUE(SharedSettings().showPluto());
        ASSERT_TRUE(SharedSettings().setShowPluto(false));
        EXPECT_EQ(runCli({ "settings", "get", "show_pluto" }).text(), QStringLiteral("false\n"));
    }

} // namespace
} // namespace heliora
