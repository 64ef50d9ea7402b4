// heliora-widgets run as a program, as users, scripts and the Plasma applets run it.

#include "artwork/artwork.h"
#include "support/picturematch.h"

#include "ringcount.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace heliora {
namespace {

    struct ProgramRun {
        int status = -1;
        QByteArray out, err;
    };

    // Runs a program with a clean configuration folder of its own and the zone pinned to UTC.
    ProgramRun run(const QString& program, const QStringList& arguments, const QTemporaryDir& folder,
        const QList<std::pair<QString, QString>>& extra = {})
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        for (const auto& [name, value] : extra)
            env.insert(name, value);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder.path());
        process.start(program, arguments);
        process.waitForFinished(60000);
        return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError() };
    }

    struct RefusalCase {
        std::string name;
        QStringList arguments;
        QList<std::pair<QString, QString>> env;
        int status;
    };

    void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

    class Refusal : public ::testing::TestWithParam<RefusalCase> { };

    // Bad requests end with one line on stderr, nothing on stdout and their status; none needs a display.
    TEST_P(Refusal, SaysWhyInOneLine)
    {
        QTemporaryDir folder;
        const ProgramRun result
            = run(QStringLiteral(HELIORA_WIDGETS_PATH), GetParam().arguments, folder, GetParam().env);
        EXPECT_EQ(result.status, GetParam().status) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_EQ(result.err.count('\n'), GetParam().status == 0 ? 0 : 1) << result.err.toStdString();
        EXPECT_FALSE(QFile::exists(folder.path() + QStringLiteral("/o.png")));
    }

    INSTANTIATE_TEST_SUITE_P(Table, Refusal,
        ::testing::Values(RefusalCase { "UnknownKind", { "--snapshot", "Clock", "small", "o.png" }, {}, 2 },
            RefusalCase { "FamilyNotOffered", { "--snapshot", "PlanetsListWidget", "small", "o.png" }, {}, 2 },
            RefusalCase { "UnknownFamily", { "--timeline", "SolarSystemWidget", "huge" }, {}, 2 },
            RefusalCase {
                "UnwritablePath", { "--snapshot", "SolarSystemWidget", "small", "/nonexistent/o.png" }, {}, 2 },
            RefusalCase { "BadOption", { "--bogus" }, {}, 2 },
            RefusalCase { "MissingExtension", { "--timeline", "SolarSystemWidget", "small" },
                { { "HELIORA_WIDGET_PATH", "/nonexistent/HelioraWidgetExtension.so" } }, 1 },
            RefusalCase { "IncompatibleExtension", { "--timeline", "SolarSystemWidget", "small" },
                { { "HELIORA_WIDGET_PATH", HELIORA_OTHER_PLUGIN_PATH } }, 1 },
            RefusalCase { "AutostartWithNothingPlaced", { "--autostart" }, {}, 0 }),
        [](const auto& info) { return info.param.name; });

    TEST(Program, TimelineIsOneEntryAndAQuarterOfAnHour)
    {
        QTemporaryDir folder;
        const ProgramRun result
            = run(QStringLiteral(HELIORA_WIDGETS_PATH), { "--timeline", "PlanetsListWidget", "medium" }, folder);
        ASSERT_EQ(result.status, 0) << result.err.toStdString();
        const QJsonObject timeline = QJsonDocument::fromJson(result.out).object();
        const QJsonArray entries = timeline.value(QLatin1String("entries")).toArray();
        ASSERT_EQ(entries.size(), 1);
        const QJsonObject entry = entries.first().toObject();
        EXPECT_EQ(entry.value(QLatin1String("width")).toDouble(), 360);
        EXPECT_EQ(entry.value(QLatin1String("height")).toDouble(), 169);
        EXPECT_NEAR(
            timeline.value(QLatin1String("reloadAfter")).toDouble() - entry.value(QLatin1String("date")).toDouble(),
            900, 1);
    }

    struct SnapshotCase {
        std::string name;
        const char* kind;
        const char* family;
        double scale;
        bool pluto;
        QSize pixels;
        double diameter; // of the orrery, in points
        double orreryCentreX; // in points; the centre's y is half the height
    };

    void PrintTo(const SnapshotCase& c, std::ostream* os) { *os << c.name; }

    class Snapshot : public ::testing::TestWithParam<SnapshotCase> { };

    constexpr double drawn = 1700000000; // 2023-11-14T22:13:20Z

    // The picture is the family's size at the scale; its orrery has a ring per planet shown (Pluto's by the
    // setting), and each planet's picture stands where heliora-cli puts the planet for that date.
    TEST_P(Snapshot, DrawsTheOrreryAsHelioraCliPlacesIt)
    {
        const SnapshotCase& c = GetParam();
        QTemporaryDir folder;
        if (c.pluto) {
            QFile settings(folder.path() + QStringLiteral("/QZ7R4K2M9T.Heliora.macOS.conf"));
            ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
            settings.write("[General]\nshow_pluto=true\n");
        }
        const ProgramRun result = run(QStringLiteral(HELIORA_WIDGETS_PATH),
            { "--snapshot", c.kind, c.family, "w.png", "--scale", QString::number(c.scale), "--date", "@1700000000" },
            folder);
        ASSERT_EQ(result.status, 0) << result.err.toStdString();
        const QJsonObject printed = QJsonDocument::fromJson(result.out).object();
        EXPECT_EQ(printed.value(QLatin1String("width")).toInt(), c.pixels.width());
        EXPECT_EQ(printed.value(QLatin1String("height")).toInt(), c.pixels.height());
        EXPECT_EQ(printed.value(QLatin1String("date")).toDouble(), drawn);
        EXPECT_EQ(printed.value(QLatin1String("kind")).toString(), QLatin1String(c.kind));
        const QImage image(folder.path() + QStringLiteral("/w.png"));
        ASSERT_EQ(image.size(), c.pixels);
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));

        const QPointF centre = QPointF(c.orreryCentreX, c.pixels.height() / c.scale / 2) * c.scale;
        const int rings = c.pluto ? 9 : 8;
        EXPECT_EQ(test::countRings(image, centre, c.diameter / 2 * c.scale + 2), rings);

        const ProgramRun positions
            = run(QStringLiteral(HELIORA_CLI_PATH), { "positions", "--date", "@1700000000" }, folder);
        ASSERT_EQ(positions.status, 0) << positions.err.toStdString();
        const QJsonArray planets
            = QJsonDocument::fromJson(positions.out).object().value(QLatin1String("planets")).toArray();
        for (int k = 0; k < rings; ++k) {
            const QJsonObject planet = planets.at(k).toObject();
            const std::string name = planet.value(QLatin1String("planet")).toString().toStdString();
            const double phi = planet.value(QLatin1String("screenAngle")).toDouble() * M_PI / 180;
            const double r = c.diameter * (k + 2) / (rings + 1) / 2;
            const QPointF at = centre / c.scale + QPointF(r * std::cos(phi), -r * std::sin(phi));
            const bool small = name == "jupiter" || name == "uranus";
            const double side = std::max(c.diameter * (small ? 1.0 / 14 : 1.0 / 12), 8.0);
            std::string imageName = name;
            imageName[0] = static_cast<char>(std::toupper(imageName[0]));
            const QRectF square(at - QPointF(side, side) / 2, QSizeF(side, side));
            const QRectF expected = artwork::fittedRect(square, artwork::naturalSize(imageName));
            // Inner rings cross outer planets' pictures, so the match is not exact; a picture elsewhere differs
            // from the black field by a hundred or more. The orrery's square is placed on whole points (half a
            // point from the middle at most), its pictures on whole device pixels.
            const auto [found, error] = test::findPicture(image, imageName, expected, c.scale, 4);
            EXPECT_LT(error, 40) << name;
            EXPECT_LE(std::abs(found.x() - expected.center().x()), 1) << name;
            EXPECT_LE(std::abs(found.y() - expected.center().y()), 1) << name;
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, Snapshot,
        ::testing::Values(
            SnapshotCase { "Small", "SolarSystemWidget", "small", 1, false, { 169, 169 }, 0.88 * 169, 84.5 },
            SnapshotCase { "SmallPluto", "SolarSystemWidget", "small", 2, true, { 338, 338 }, 0.88 * 169, 84.5 },
            SnapshotCase {
                "LargeOneAndAHalf", "SolarSystemWidget", "large", 1.5, false, { 540, 569 }, 0.88 * 379, 180 },
            // The list is 164 wide: the pair (135.2 + 22 + 164) leaves 19.4 on either side.
            SnapshotCase { "Medium", "PlanetsListWidget", "medium", 2, false, { 720, 338 }, 135.2, 19.4 + 67.6 },
            SnapshotCase { "MediumPluto", "PlanetsListWidget", "medium", 1, true, { 360, 169 }, 135.2, 19.4 + 67.6 }),
        [](const auto& info) { return info.param.name; });

} // namespace
} // namespace heliora
