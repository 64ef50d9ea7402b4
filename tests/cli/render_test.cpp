#include "picturematch.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace heliora {
namespace {

    constexpr double pi = 3.141592653589793;
    const QString date2024 = QStringLiteral("2024-01-01T00:00:00Z");

    struct CliRun {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    CliRun runCli(
        const QStringList& arguments, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(HELIORA_CLI_PATH), arguments);
        CliRun run;
        if (!process.waitForFinished(60000))
            return run;
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    QJsonObject json(const CliRun& run) { return QJsonDocument::fromJson(run.out).object(); }

    // Where a planet's picture belongs: a ring of diameter D·(i + 1)/n around the middle of the picture, at the
    // direction that `heliora-cli positions` reports.
    struct Expected {
        std::string name;
        QPointF centre;
        QRectF imageRect;
    };

    std::vector<Expected> expectedPlanets(const QJsonArray& positions, int shown, double diameter, const QPointF& c)
    {
        std::vector<Expected> result;
        const double n = shown + 1;
        for (int k = 0; k < shown; ++k) {
            const QJsonObject planet = positions.at(k).toObject();
            const std::string raw = planet.value("planet").toString().toStdString();
            std::string name = raw;
            name[0] = static_cast<char>(std::toupper(name[0]));
            const double r = diameter * ((k + 2) / n) / 2;
            const double phi = planet.value("screenAngle").toDouble() * pi / 180;
            const QPointF centre = c + QPointF(r * std::cos(phi), -r * std::sin(phi));
            const double side = diameter * ((raw == "jupiter" || raw == "uranus") ? 1.0 / 14 : 1.0 / 12);
            const QRectF square(centre.x() - side / 2, centre.y() - side / 2, side, side);
            result.push_back({ name, centre, artwork::fittedRect(square, artwork::naturalSize(name)) });
        }
        return result;
    }

    bool overlapsAnother(const std::vector<Expected>& planets, const Expected& planet, const QRectF& sun)
    {
        if (planet.imageRect.intersects(sun))
            return true;
        for (const Expected& other : planets) {
            if (other.name != planet.name && other.imageRect.intersects(planet.imageRect))
                return true;
        }
        return false;
    }

    struct PlacementCase {
        std::string name;
        QString zone;
        double scale;
        bool pluto;
    };

    void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

    class RenderPlacement : public ::testing::TestWithParam<PlacementCase> { };

    TEST_P(RenderPlacement, PlanetsSitWherePositionsSays)
    {
        const PlacementCase& c = GetParam();
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("orrery.png"));
        QStringList args { "render", "--date", date2024, "--time-zone", c.zone, "--scale", QString::number(c.scale),
            "-o", file };
        if (c.pluto)
            args << "--pluto";
        const CliRun render = runCli(args);
        ASSERT_EQ(render.status, 0) << render.err.constData();
        const CliRun positions = runCli({ "positions", "--date", date2024, "--time-zone", c.zone });
        ASSERT_EQ(positions.status, 0);

        const QImage image(file);
        ASSERT_FALSE(image.isNull());
        // D plus half a planet's picture on every side.
        const int side = static_cast<int>(std::ceil((400 + 400.0 / 12) * c.scale - 1e-9));
        EXPECT_EQ(image.size(), QSize(side, side));
        const int shown = c.pluto ? 9 : 8;
        EXPECT_EQ(json(render).value("rings").toInt(), shown);

        const QPointF middle(image.width() / c.scale / 2, image.height() / c.scale / 2);
        const double sunSide = 400.0 / (shown + 1);
        const QRectF sunRect(middle.x() - sunSide / 2, middle.y() - sunSide / 2, sunSide, sunSide);
        const test::PictureMatch sun = test::findPicture(image, "Sun", sunRect, c.scale);
        EXPECT_LT(sun.error, 2.0);
        EXPECT_NEAR(sun.centre.x(), middle.x(), 1.0);
        EXPECT_NEAR(sun.centre.y(), middle.y(), 1.0);

        const std::vector<Expected> planets
            = expectedPlanets(json(positions).value("planets").toArray(), shown, 400, middle);
        int checked = 0;
        for (const Expected& planet : planets) {
            if (overlapsAnother(planets, planet, sunRect))
                continue;
            SCOPED_TRACE(planet.name);
            const test::PictureMatch match = test::findPicture(image, planet.name, planet.imageRect, c.scale, 4);
            EXPECT_LT(match.error, 2.0);
            EXPECT_NEAR(match.centre.x(), planet.centre.x(), 1.0);
            EXPECT_NEAR(match.centre.y(), planet.centre.y(), 1.0);
            ++checked;
        }
        EXPECT_GE(checked, shown - 3);
        // The picture is on black.
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderPlacement,
        ::testing::Values(PlacementCase { "UtcAt1x", "UTC", 1, false },
            PlacementCase { "TokyoAt2xWithPluto", "Asia/Tokyo", 2, true },
            PlacementCase { "NewYorkAt1_5x", "America/New_York", 1.5, false }),
        [](const ::testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

    TEST(Render, SvgDrawsTheSameOrrery)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("orrery.svg"));
        const CliRun render = runCli({ "render", "--date", date2024, "--time-zone", "UTC", "-o", file });
        ASSERT_EQ(render.status, 0) << render.err.constData();
        QSvgRenderer svg(file);
        ASSERT_TRUE(svg.isValid());
        EXPECT_EQ(svg.viewBoxF(), QRectF(0, 0, 434, 434));

        QImage image(434, 434, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter, QRectF(0, 0, 434, 434));
        painter.end();
        const CliRun positions = runCli({ "positions", "--date", date2024, "--time-zone", "UTC" });
        const std::vector<Expected> planets
            = expectedPlanets(json(positions).value("planets").toArray(), 8, 400, QPointF(217, 217));
        const Expected& mars = planets[3];
        // The SVG's pictures are finer rasters drawn down to size: compare loosely.
        const test::PictureMatch match = test::findPicture(image, mars.name, mars.imageRect, 1, 4);
        EXPECT_LT(match.error, 12.0);
        EXPECT_NEAR(match.centre.x(), mars.centre.x(), 1.0);
        EXPECT_NEAR(match.centre.y(), mars.centre.y(), 1.0);
    }

    TEST(Render, TransparentBackgroundOnRequest)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("clear.png"));
        ASSERT_EQ(runCli({ "render", "--inner-only", "--background", "none", "-o", file }).status, 0);
        const QImage image(file);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255); // the Sun
    }

    TEST(Render, WorksWithoutADisplay)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("headless.png"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            env.remove(QString::fromLatin1(name));
        const CliRun run = runCli({ "render", "-o", file }, env);
        EXPECT_EQ(run.status, 0) << run.err.constData();
        EXPECT_FALSE(QImage(file).isNull());
    }

    TEST(Render, UnwritableFileFailsWithStatusOne)
    {
        const CliRun run = runCli({ "render", "-o", "/nonexistent-folder/orrery.png" });
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("cannot write"));
    }

    struct BadCase {
        std::string name;
        QStringList arguments;
    };

    void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

    class RenderBadArguments : public ::testing::TestWithParam<BadCase> { };

    TEST_P(RenderBadArguments, PrintOneLineAndExitWithTwo)
    {
        QTemporaryDir dir;
        QStringList arguments { "render" };
        arguments << GetParam().arguments;
        arguments.replaceInStrings(QStringLiteral("DIR"), dir.path());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("heliora-cli: ")) << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderBadArguments,
        ::testing::Values(BadCase { "NoOutput", {} }, BadCase { "UnknownFormat", { "-o", "DIR/orrery.jpg" } },
            BadCase { "ScaleTooLarge", { "--scale", "9", "-o", "DIR/o.png" } },
            BadCase { "ScaleNotANumber", { "--scale", "big", "-o", "DIR/o.png" } },
            BadCase { "NegativeDiameter", { "--diameter", "-1", "-o", "DIR/o.png" } },
            BadCase { "NaNDiameter", { "--diameter", "nan", "-o", "DIR/o.png" } },
            BadCase { "HugeDiameter", { "--diameter", "1e6", "-o", "DIR/o.png" } },
            BadCase { "UnknownBackground", { "--background", "red", "-o", "DIR/o.png" } },
            BadCase { "PlutoBothWays", { "--pluto", "--no-pluto", "-o", "DIR/o.png" } },
            BadCase { "BadDate", { "--date", "yesterday", "-o", "DIR/o.png" } },
            BadCase { "UnknownZone", { "--time-zone", "Mars/Olympus_Mons", "-o", "DIR/o.png" } },
            BadCase { "StrayArgument", { "extra", "-o", "DIR/o.png" } }),
        [](const ::testing::TestParamInfo<BadCase>& info) { return info.param.name; });

} // namespace
} // namespace heliora
