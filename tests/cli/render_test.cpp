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

#include <algorithm>
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
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
            run.status = process.exitCode();
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    // The picture as pixels: a PNG as it is, an SVG drawn at the given scale.
    QImage loadPicture(const QString& file, double scale)
    {
        if (!file.endsWith(QLatin1String(".svg")))
            return QImage(file);
        QSvgRenderer svg(file);
        const QSize size = (svg.viewBoxF().size() * scale).toSize();
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter, QRectF(QPointF(0, 0), size));
        return image;
    }

    struct PlacementCase {
        std::string name;
        QString zone;
        double scale;
        bool pluto;
        QString file;
        double worstError; // mean channel difference allowed between the picture and the artwork
    };

    void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

    class RenderPlacement : public ::testing::TestWithParam<PlacementCase> { };

    TEST_P(RenderPlacement, PlanetsSitWherePositionsSays)
    {
        const PlacementCase& c = GetParam();
        QTemporaryDir dir;
        const QString file = dir.filePath(c.file);
        QStringList args { "render", "--date", date2024, "--time-zone", c.zone, "--scale", QString::number(c.scale),
            "-o", file };
        if (c.pluto)
            args << "--pluto";
        const CliRun render = runCli(args);
        ASSERT_EQ(render.status, 0) << render.err.constData();
        const CliRun positions = runCli({ "positions", "--date", date2024, "--time-zone", c.zone });
        ASSERT_EQ(positions.status, 0);

        const QImage image = loadPicture(file, c.scale);
        // D plus half a planet's picture on every side, on black.
        const int side = static_cast<int>(std::ceil((400 + 400.0 / 12) * c.scale - 1e-9));
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
        const int shown = c.pluto ? 9 : 8;
        EXPECT_EQ(QJsonDocument::fromJson(render.out).object().value("rings").toInt(), shown);

        // Every planet's picture stands on a ring of diameter D·(i + 1)/n around the middle, in the direction that
        // `positions` gives; check those that no other picture overlaps.
        const QPointF c0(image.width() / c.scale / 2, image.height() / c.scale / 2);
        const double sunSide = 400.0 / (shown + 1);
        std::vector<std::pair<std::string, QRectF>> pictures { { "Sun",
            QRectF(c0.x() - sunSide / 2, c0.y() - sunSide / 2, sunSide, sunSide) } };
        const QJsonArray planets = QJsonDocument::fromJson(positions.out).object().value("planets").toArray();
        for (int k = 0; k < shown; ++k) {
            const QJsonObject planet = planets.at(k).toObject();
            std::string name = planet.value("planet").toString().toStdString();
            const double ratio = (name == "jupiter" || name == "uranus") ? 1.0 / 14 : 1.0 / 12;
            name[0] = static_cast<char>(std::toupper(name[0]));
            const double r = 400 * ((k + 2) / (shown + 1.0)) / 2;
            const double phi = planet.value("screenAngle").toDouble() * pi / 180;
            const QPointF centre = c0 + QPointF(r * std::cos(phi), -r * std::sin(phi));
            const QRectF square(centre.x() - 200 * ratio, centre.y() - 200 * ratio, 400 * ratio, 400 * ratio);
            pictures.emplace_back(name, artwork::fittedRect(square, artwork::naturalSize(name)));
        }
        int checked = 0;
        for (const auto& [name, rect] : pictures) {
            const auto overlaps
                = [&](const auto& other) { return other.first != name && other.second.intersects(rect); };
            if (std::any_of(pictures.begin(), pictures.end(), overlaps))
                continue;
            const test::PictureMatch match = test::findPicture(image, name, rect, c.scale, 4);
            EXPECT_LT(match.error, c.worstError) << name;
            EXPECT_NEAR(match.centre.x(), rect.center().x(), 1.0) << name;
            EXPECT_NEAR(match.centre.y(), rect.center().y(), 1.0) << name;
            ++checked;
        }
        EXPECT_GE(checked, shown - 3);
    }

    // The SVG's pictures are finer rasters drawn down to size, so they match the artwork only loosely.
    INSTANTIATE_TEST_SUITE_P(Table, RenderPlacement,
        ::testing::Values(PlacementCase { "UtcAt1x", "UTC", 1, false, "o.png", 2 },
            PlacementCase { "TokyoAt2xWithPluto", "Asia/Tokyo", 2, true, "o.png", 2 },
            PlacementCase { "NewYorkAt1_5x", "America/New_York", 1.5, false, "o.png", 2 },
            PlacementCase { "SvgWithPluto", "UTC", 1, true, "o.svg", 12 }),
        [](const ::testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

    TEST(Render, WorksWithoutADisplay)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("headless.png"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            env.remove(QString::fromLatin1(name));
        const CliRun run = runCli({ "render", "--inner-only", "--background", "none", "-o", file }, env);
        EXPECT_EQ(run.status, 0) << run.err.constData();
        const QImage image(file);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255); // the Sun
    }

    struct BadCase {
        std::string name;
        QStringList arguments;
        int status;
    };

    void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

    class RenderBadArguments : public ::testing::TestWithParam<BadCase> { };

    TEST_P(RenderBadArguments, PrintOneLineAndWriteNothing)
    {
        QTemporaryDir dir;
        QStringList arguments { "render" };
        arguments << GetParam().arguments;
        arguments.replaceInStrings(QStringLiteral("DIR"), dir.path());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, GetParam().status);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("heliora-cli: ")) << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderBadArguments,
        ::testing::Values(BadCase { "NoOutput", {}, 2 }, BadCase { "UnknownFormat", { "-o", "DIR/o.jpg" }, 2 },
            BadCase { "ScaleTooLarge", { "--scale", "9", "-o", "DIR/o.png" }, 2 },
            BadCase { "HugeDiameter", { "--diameter", "1e6", "-o", "DIR/o.png" }, 2 },
            BadCase { "UnknownBackground", { "--background", "red", "-o", "DIR/o.png" }, 2 },
            BadCase { "PlutoBothWays", { "--pluto", "--no-pluto", "-o", "DIR/o.png" }, 2 },
            BadCase { "UnwritableFolder", { "-o", "DIR/missing/o.png" }, 1 }),
        [](const ::testing::TestParamInfo<BadCase>& info) { return info.param.name; });

} // namespace
} // namespace heliora
