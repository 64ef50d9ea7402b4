#include "support/files.h"
#include "support/rows.h"
#include "widget-host/autostart.h"
#include "widget-host/placedwidgets.h"
#include "widget-host/timezonesource.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace heliora::host {
namespace {

    using test::PrintTo;

    const QList<PlacedWidget> twoWidgets { { "SolarSystemWidget", "small", "DP-1", { 40, -20 } },
        { "FutureWidget", "huge", "", { 0, 0 } } };

    // What is written is read back as it was, records of unknown kinds included; a missing file is no widgets.
    TEST(PlacedWidgetsFile, RoundTripsEveryRecord)
    {
        QTemporaryDir folder;
        const PlacedWidgetsFile file(folder.path() + QStringLiteral("/sub/heliora-widgets.json"));
        EXPECT_EQ(file.read(), QList<PlacedWidget>());
        ASSERT_TRUE(file.write(twoWidgets));
        EXPECT_EQ(file.read(), twoWidgets);
    }

    struct HostileCase {
        std::string name;
        QByteArray bytes;
    };

    class HostileFile : public ::testing::TestWithParam<HostileCase> { };

    // A file the host did not write as it writes reads as no widgets at all, never as half a list or a crash.
    TEST_P(HostileFile, ReadsAsNoWidgets) { EXPECT_EQ(PlacedWidgetsFile::parse(GetParam().bytes), std::nullopt); }

    QByteArray record(const QByteArray& fields) { return R"({"version":1,"widgets":[{)" + fields + "}]}"; }

    INSTANTIATE_TEST_SUITE_P(Table, HostileFile,
        ::testing::Values(HostileCase { "NotJson", "kind=SolarSystemWidget" },
            HostileCase { "Truncated", PlacedWidgetsFile::serialize(twoWidgets).left(60) },
            HostileCase { "OtherVersion", R"({"version":2,"widgets":[]})" },
            HostileCase { "RecordNotAnObject", R"({"version":1,"widgets":[7]})" },
            HostileCase { "KindNotText", record(R"("kind":1,"family":"small","x":0,"y":0)") },
            HostileCase { "NoFamily", record(R"("kind":"SolarSystemWidget","x":0,"y":0)") },
            HostileCase { "FarAway", record(R"("kind":"a","family":"small","x":1e300,"y":0)") },
            HostileCase { "Fraction", record(R"("kind":"a","family":"small","x":0.5,"y":0)") },
            HostileCase { "LongScreen",
                record(R"("kind":"a","family":"small","x":0,"y":0,"screen":")" + QByteArray(300, 's') + "\"") },
            HostileCase { "TooMany",
                R"({"version":1,"widgets":[)"
                    + QByteArray(R"({"kind":"a","family":"small","x":0,"y":0},)").repeated(65).chopped(1) + "]}" },
            HostileCase { "DeepNesting", QByteArray(100000, '[') }),
        test::rowName);

    // What is not a small regular file reads as unreadable at once: a FIFO does not block the host, a folder or a
    // file past the limit is not read, and a list too long is not written.
    TEST(PlacedWidgetsFile, RefusesWhatIsNotASmallRegularFile)
    {
        QTemporaryDir folder;
        const QString fifo = folder.path() + QStringLiteral("/fifo.json");
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        EXPECT_EQ(PlacedWidgetsFile(fifo).read(), std::nullopt);
        EXPECT_EQ(PlacedWidgetsFile(folder.path()).read(), std::nullopt);
        QFile big(folder.path() + QStringLiteral("/big.json"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(PlacedWidgetsFile::serialize(twoWidgets) + QByteArray(PlacedWidgetsFile::largestFile, ' '));
        big.close();
        EXPECT_EQ(PlacedWidgetsFile(big.fileName()).read(), std::nullopt);
        EXPECT_FALSE(PlacedWidgetsFile(big.fileName()).write(QList<PlacedWidget>(PlacedWidgetsFile::mostWidgets + 1)));
    }

    // The user's entry starts the program by a command that survives the desktop entry rules: blanks, quotes,
    // backslashes, dollars and percent signs in its path.
    TEST(AutostartEntry, TurnsOnAndOffWithAQuotedCommand)
    {
        EXPECT_EQ(
            AutostartEntry::quotedProgram("/opt/heliora/bin/heliora-widgets"), "/opt/heliora/bin/heliora-widgets");
        EXPECT_EQ(AutostartEntry::quotedProgram("/tmp/$x`y\"z"), R"("/tmp/\\$x\\`y\\"z")");
        EXPECT_EQ(AutostartEntry::quotedProgram("/tmp/back\\slash"), R"("/tmp/back\\\\slash")");
        EXPECT_EQ(AutostartEntry::quotedProgram("/tmp/100%"), R"("/tmp/100%%")");
        QTemporaryDir folder;
        const AutostartEntry entry(folder.path() + QStringLiteral("/autostart/heliora-widgets.desktop"));
        EXPECT_FALSE(entry.isEnabled());
        ASSERT_TRUE(entry.setEnabled(true, QStringLiteral("/opt/h w/heliora-widgets")));
        EXPECT_TRUE(entry.isEnabled());
        const QByteArray text = test::readFile(entry.path());
        EXPECT_TRUE(text.contains("\nExec=\"/opt/h w/heliora-widgets\" --autostart\n")) << text.data();
        EXPECT_TRUE(text.contains("\nHidden=false\n"));
        ASSERT_TRUE(entry.setEnabled(false, QStringLiteral("heliora-widgets")));
        EXPECT_FALSE(entry.isEnabled());
    }

    struct LinkCase {
        std::string name;
        QString target; // empty: a regular file, not a link
        QString zone;
    };

    class LocaltimeLink : public ::testing::TestWithParam<LinkCase> { };

    TEST_P(LocaltimeLink, NamesTheZone)
    {
        QTemporaryDir folder;
        const QString link = folder.path() + QStringLiteral("/localtime");
        QFile file(link);
        ASSERT_TRUE(
            GetParam().target.isEmpty() ? file.open(QIODevice::WriteOnly) : QFile::link(GetParam().target, link));
        EXPECT_EQ(zoneFromLink(link), GetParam().zone);
    }

    INSTANTIATE_TEST_SUITE_P(Table, LocaltimeLink,
        ::testing::Values(LinkCase { "Absolute", "/usr/share/zoneinfo/Europe/Berlin", "Europe/Berlin" },
            LinkCase { "Relative", "../usr/share/zoneinfo/America/Sao_Paulo", "America/Sao_Paulo" },
            LinkCase { "Posix", "/usr/share/zoneinfo/posix/Asia/Tokyo", "Asia/Tokyo" },
            LinkCase { "NotZoneinfo", "/tmp/Europe/Berlin", "" },
            LinkCase { "Climbing", "/usr/share/zoneinfo/../../../etc/passwd", "" }, LinkCase { "RegularFile", "", "" }),
        test::rowName);

} // namespace
} // namespace heliora::host
