// heliora-widgets run as a program, as users, scripts and the Plasma applets run it.

#include "ringcount.h"
#include "support/rows.h"
#include "support/runcli.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace heliora {
namespace {

    using test::CliResult;
    using test::PrintTo;

    // Runs the host without a display, with a configuration folder of its own and the zone pinned to UTC.
    CliResult runHost(const QStringList& arguments, const QTemporaryDir& folder, const QString& extension = {})
    {
        QProcessEnvironment env = test::environmentWithoutDisplay(
            { { "XDG_CONFIG_HOME", folder.path() }, { "XDG_RUNTIME_DIR", folder.path() }, { "TZ", "UTC" } });
        if (!extension.isEmpty())
            env.insert(QStringLiteral("HELIORA_WIDGET_PATH"), extension);
        return test::runProgram(QStringLiteral(HELIORA_WIDGETS_PATH), arguments, env, {}, folder.path());
    }

    struct RefusalCase {
        std::string name;
        QStringList arguments;
        int status;
        QString extension = {};
    };

    class Refusal : public ::testing::TestWithParam<RefusalCase> { };

    // Bad requests end with one line on stderr, nothing on stdout and their status; none needs a display.
    TEST_P(Refusal, SaysWhyInOneLine)
    {
        QTemporaryDir folder;
        const CliResult result = runHost(GetParam().arguments, folder, GetParam().extension);
        EXPECT_EQ(result.exitCode, GetParam().status) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_EQ(result.err.count('\n'), GetParam().status == 0 ? 0 : 1) << result.err.toStdString();
        EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("o.png"))));
    }

    INSTANTIATE_TEST_SUITE_P(Table, Refusal,
        ::testing::Values(RefusalCase { "UnknownKind", { "--snapshot", "Clock", "small", "o.png" }, 2 },
            RefusalCase { "FamilyNotOffered", { "--snapshot", "PlanetsListWidget", "small", "o.png" }, 2 },
            RefusalCase { "UnknownFamily", { "--timeline", "SolarSystemWidget", "huge" }, 2 },
            RefusalCase { "UnwritablePath", { "--snapshot", "SolarSystemWidget", "small", "/nonexistent/o.png" }, 2 },
            RefusalCase { "MissingExtension", { "--timeline", "SolarSystemWidget", "small" }, 1,
                "/nonexistent/HelioraWidgetExtension.so" },
            RefusalCase {
                "IncompatibleExtension", { "--timeline", "SolarSystemWidget", "small" }, 1, HELIORA_OTHER_PLUGIN_PATH },
            RefusalCase { "AutostartWithNothingPlaced", { "--autostart" }, 0 }),
        test::rowName);

    TEST(Program, TimelineIsOneEntryAndAQuarterOfAnHour)
    {
        QTemporaryDir folder;
        const CliResult result = runHost({ "--timeline", "PlanetsListWidget", "medium" }, folder);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QJsonArray entries = result.json().value(QLatin1String("entries")).toArray();
        ASSERT_EQ(entries.size(), 1);
        const QJsonObject entry = entries.first().toObject();
        EXPECT_EQ(entry.value(QLatin1String("width")).toDouble(), 360);
        EXPECT_EQ(entry.value(QLatin1String("height")).toDouble(), 169);
        EXPECT_NEAR(result.json().value(QLatin1String("reloadAfter")).toDouble()
                - entry.value(QLatin1String("date")).toDouble(),
            900, 1);
    }

    struct SnapshotCase {
        const char* name;
        const char* kind;
        const char* family;
        double scale;
        bool pluto;
        QSize pixels;
        QPointF orreryCentre; // in points
        double radius; // of the outer ring, in points
    };

    class Snapshot : public ::testing::TestWithParam<SnapshotCase> { };

    // The picture is the family's size at the scale, printed as JSON; its orrery has a ring per planet shown, Pluto's
    // as the shared setting says.
    TEST_P(Snapshot, IsTheFamilysSizeWithARingPerPlanetShown)
    {
        const SnapshotCase& c = GetParam();
        QTemporaryDir folder;
        QFile settings(folder.filePath(QStringLiteral("QZ7R4K2M9T.Heliora.macOS.conf")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(c.pluto ? "show_pluto=true\n" : "show_pluto=false\n");
        settings.close();
        const CliResult result = runHost(
            { "--snapshot", c.kind, c.family, "w.png", "--scale", QString::number(c.scale), "--date", "@1700000000" },
            folder);
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(result.json().value(QLatin1String("width")).toInt(), c.pixels.width());
        EXPECT_EQ(result.json().value(QLatin1String("height")).toInt(), c.pixels.height());
        EXPECT_EQ(result.json().value(QLatin1String("date")).toDouble(), 1700000000);
        EXPECT_EQ(result.json().value(QLatin1String("kind")).toString(), QLatin1String(c.kind));
        const QImage image(folder.filePath(QStringLiteral("w.png")));
        ASSERT_EQ(image.size(), c.pixels);
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
        EXPECT_EQ(test::countRings(image, c.orreryCentre * c.scale, (c.radius + 2) * c.scale), c.pluto ? 9 : 8);
    }

    // clang-format off
    // The list is 164 wide: the pair (135.2 + 22 + 164) leaves 19.4 on either side.
    const SnapshotCase snapshots[] = {
        { .name = "Small", .kind = "SolarSystemWidget", .family = "small", .scale = 1, .pluto = false,
            .pixels = { 169, 169 }, .orreryCentre = { 84.5, 84.5 }, .radius = 0.88 * 169 / 2 },
        { .name = "SmallPluto", .kind = "SolarSystemWidget", .family = "small", .scale = 2, .pluto = true,
            .pixels = { 338, 338 }, .orreryCentre = { 84.5, 84.5 }, .radius = 0.88 * 169 / 2 },
        { .name = "LargeOneAndAHalf", .kind = "SolarSystemWidget", .family = "large", .scale = 1.5, .pluto = false,
            .pixels = { 540, 569 }, .orreryCentre = { 180, 189.5 }, .radius = 0.88 * 379 / 2 },
        { .name = "MediumPluto", .kind = "PlanetsListWidget", .family = "medium", .scale = 2, .pluto = true,
            .pixels = { 720, 338 }, .orreryCentre = { 19.4 + 67.6, 84.5 }, .radius = 135.2 / 2 },
    };
    // clang-format on

    INSTANTIATE_TEST_SUITE_P(Table, Snapshot, ::testing::ValuesIn(snapshots), test::rowName);

} // namespace
} // namespace heliora
