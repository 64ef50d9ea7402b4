#include "support/picturematch.h"
#include "support/runcli.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineF>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <tuple>

namespace heliora {
namespace {

    // Runs heliora-cli with no display at all, as on a build server: its exit status, output and errors.
    std::tuple<int, QByteArray, QByteArray> runCli(const QStringList& arguments)
    {
        const test::CliResult result = test::runCli(arguments, test::environmentWithoutDisplay());
        return { result.exitCode, result.out, result.err };
    }

    class RenderPlacement : public ::testing::TestWithParam<double> { };

    // Mercury to Mars, D/12 wide, on rings of diameter D·(i + 1)/5 around the middle C, as `positions` says.
    TEST_P(RenderPlacement, PlanetsSitWherePositionsSays)
    {
        const double scale = GetParam();
        QTemporaryDir dir;
        const QStringList date { "--date", "2024-01-01T00:00:00Z", "--time-zone", "UTC" };
        const auto [status, out, err] = runCli(
            QStringList { "render", "--inner-only", "--scale", QString::number(scale), "-o", dir.filePath("o.png") }
            + date);
        ASSERT_EQ(status, 0) << err.constData();
        const QImage image(dir.filePath("o.png"));
        ASSERT_EQ(image.size(), QSize(1, 1) * std::ceil((400 + 400.0 / 12) * scale - 1e-9)); // half a planet around
        const QByteArray positions = std::get<1>(runCli(QStringList { "positions" } + date));
        const QJsonArray planets = QJsonDocument::fromJson(positions)["planets"].toArray();
        for (int k = 0; k < 4; ++k) {
            std::string name = planets[k]["planet"].toString().toStdString();
            name[0] = static_cast<char>(name[0] - 'a' + 'A');
            const double r = 40.0 * (k + 2), phi = planets[k]["screenAngle"].toDouble() * std::numbers::pi / 180;
            QRectF square(QPointF(), QSizeF(400.0 / 12, 400.0 / 12));
            square.moveCenter(
                QPointF(image.width(), image.height()) / scale / 2 + r * QPointF(std::cos(phi), -std::sin(phi)));
            const QRectF rect = artwork::fittedRect(square, artwork::naturalSize(name));
            const auto [found, error] = test::findPicture(image, name, rect, scale, 4);
            EXPECT_LT(error, 2) << name;
            EXPECT_LE(QLineF(found, rect.center()).length(), 1.0) << name;
        }
    }

    INSTANTIATE_TEST_SUITE_P(Scales, RenderPlacement, ::testing::Values(1.0, 2.0));

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
        QStringList arguments = QStringList { "render" } + GetParam().arguments;
        const auto [status, out, err] = runCli(arguments.replaceInStrings(QStringLiteral("DIR"), dir.path()));
        EXPECT_EQ(status, GetParam().status);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_TRUE(err.startsWith("heliora-cli: ") && err.count('\n') == 1) << err.constData();
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderBadArguments,
        ::testing::Values(BadCase { "NoOutput", {}, 2 }, BadCase { "UnknownFormat", { "-o", "DIR/o.jpg" }, 2 },
            BadCase { "ScaleTooLarge", { "--scale", "9", "-o", "DIR/o.png" }, 2 },
            BadCase { "HugeDiameter", { "--diameter", "1e6", "-o", "DIR/o.png" }, 2 },
            BadCase { "UnknownBackground", { "--background", "red", "-o", "DIR/o.png" }, 2 },
            BadCase { "PlutoBothWays", { "--pluto", "--no-pluto", "-o", "DIR/o.png" }, 2 },
            BadCase { "UnwritableFolder", { "-o", "DIR/missing/o.png" }, 1 }),
        [](const auto& info) { return info.param.name; });

} // namespace
} // namespace heliora
