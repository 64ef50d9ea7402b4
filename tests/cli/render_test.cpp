// heliora-cli render: where the bodies go, how large the picture is, and what it refuses to write to.

#include "inprocess.h"
#include "support/files.h"
#include "support/picturematch.h"
#include "support/rows.h"
#include "support/runcli.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLineF>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <numbers>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>

namespace heliora {
namespace {

    using test::PrintTo;

    // Runs heliora-cli with no display at all, as on a build server.
    test::CliResult runCli(const QStringList& arguments, const QString& platform = {})
    {
        QProcessEnvironment environment = test::environmentWithoutDisplay();
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        return test::runCli(arguments, environment);
    }

    class RenderPlacement : public ::testing::TestWithParam<double> { };

    // Mercury to Mars, D/12 wide, on rings of diameter D·(i + 1)/5 around the middle, as `positions` says; the
    // picture is half a planet around the D × D square, rounded up to whole logical pixels, times the scale.
    TEST_P(RenderPlacement, PlanetsSitWherePositionsSays)
    {
        const double scale = GetParam();
        QTemporaryDir dir;
        const QStringList date { "--date", "2024-01-01T00:00:00Z", "--time-zone", "UTC" };
        const auto rendered = runCli(
            QStringList { "render", "--inner-only", "--scale", QString::number(scale), "-o", dir.filePath("o.png") }
            + date);
        ASSERT_EQ(rendered.exitCode, 0) << rendered.err.constData();
        const QImage image(dir.filePath("o.png"));
        ASSERT_EQ(image.size(), QSize(1, 1) * std::ceil(400 + 400.0 / 12) * scale);
        const QJsonArray planets = runCli(QStringList { "positions" } + date).json()["planets"].toArray();
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

    struct SizeCase {
        double diameter;
        double scale;
        int pixels; ///< the logical side rounded up once, times the scale, rounded up only when that is not whole
    };

    void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.diameter << " at " << c.scale; }

    class RenderSize : public ::testing::TestWithParam<SizeCase> { };

    // The PNG, the SVG's size (96 dpi) and the JSON agree on the size; the SVG's viewBox is the logical size.
    TEST_P(RenderSize, IsTheLogicalSideRoundedOnceTimesTheScale)
    {
        const SizeCase& c = GetParam();
        QTemporaryDir dir;
        for (const QString& file : { dir.filePath("o.png"), dir.filePath("o.svg") }) {
            const auto result = test::runInProcess(QStringList { "render", "--no-pluto", "--diameter",
                QString::number(c.diameter), "--scale", QString::number(c.scale), "-o", file });
            ASSERT_EQ(result.status, 0) << result.err.constData();
            EXPECT_EQ(QJsonDocument::fromJson(result.out)["width"].toInt(), c.pixels) << qPrintable(file);
        }
        EXPECT_EQ(QImage(dir.filePath("o.png")).size(), QSize(c.pixels, c.pixels));
        QFile svg(dir.filePath("o.svg"));
        ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
        const QString head = QString::fromUtf8(svg.read(400));
        const auto size
            = QRegularExpression(QStringLiteral("(?s)width=\"([0-9.]+)mm\".*viewBox=\"0 0 ([0-9.]+) ")).match(head);
        ASSERT_TRUE(size.hasMatch()) << qPrintable(head);
        EXPECT_NEAR(size.captured(1).toDouble() * 96 / 25.4, c.pixels, 0.01);
        EXPECT_NEAR(size.captured(2).toDouble(), c.pixels / c.scale, 1e-3);
    }

    // D = 400 is 433.3 logical pixels with its margin, so 434; D = 10 has planets of the smallest side, 8.
    INSTANTIATE_TEST_SUITE_P(Table, RenderSize,
        ::testing::Values(SizeCase { 400, 1, 434 }, SizeCase { 400, 0.5, 217 }, SizeCase { 400, 1.1, 478 },
            SizeCase { 100, 3, 327 }, SizeCase { 10, 4, 72 }));

    struct RefusalCase {
        std::string name;
        QString output; ///< the -o argument, in the test's folder
        QStringList extra;
        int status;
    };

    class RenderRefusal : public ::testing::TestWithParam<RefusalCase> { };

    // Outputs that would block, swallow the picture or are no picture are refused before anything is written, with
    // one line, and the folder is left as it was. The real program, so that a FIFO that blocks ends the test.
    TEST_P(RenderRefusal, PrintsOneLineAndChangesNothing)
    {
        QTemporaryDir dir;
        ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("fifo.png")).constData(), 0600), 0);
        ASSERT_TRUE(QDir(dir.path()).mkdir("folder.svg"));
        ASSERT_TRUE(QFile::link("/dev/full", dir.filePath("full.svg")));
        ASSERT_TRUE(QFile::link("/dev/null", dir.filePath("null.png")));
        const QStringList before = test::entriesOf(dir.path());
        const auto result = runCli(QStringList { "render", "-o", dir.filePath(GetParam().output) } + GetParam().extra);
        EXPECT_EQ(result.exitCode, GetParam().status);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("heliora-cli: render: ") && result.err.count('\n') == 1) << result.err.data();
        EXPECT_EQ(test::entriesOf(dir.path()), before);
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderRefusal,
        ::testing::Values(RefusalCase { "Fifo", "fifo.png", {}, 1 }, RefusalCase { "Folder", "folder.svg", {}, 1 },
            RefusalCase { "LinkToDevFull", "full.svg", {}, 1 }, RefusalCase { "LinkToDevNull", "null.png", {}, 1 },
            RefusalCase { "MissingFolder", "missing/o.png", {}, 1 },
            RefusalCase { "TooManyPixels", "o.png", { "--diameter", "4096", "--scale", "4" }, 2 }),
        test::rowName);

    class RenderFullDisk : public ::testing::TestWithParam<const char*> { };

    // A disk that fills during the write: the process may write only a few kilobytes (a file size limit, the
    // kernel's EFBIG, as ENOSPC would stop it). One line, status 1, and the old picture left whole.
    TEST_P(RenderFullDisk, KeepsTheOldFileAndLeavesNoPart)
    {
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("o.") + GetParam());
        ASSERT_TRUE(test::writeFile(old, "old"));
        const auto result = test::runProgram(QStringLiteral(HELIORA_CLI_PATH), { "render", "--scale", "2", "-o", old },
            test::environmentWithoutDisplay(), [] {
                const rlimit small { 16 * 1024, 16 * 1024 };
                setrlimit(RLIMIT_FSIZE, &small);
                std::signal(SIGXFSZ, SIG_IGN);
            });
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("heliora-cli: render: cannot write ") && result.err.count('\n') == 1)
            << result.err.data();
        EXPECT_EQ(test::readFile(old), "old");
        EXPECT_EQ(test::entriesOf(dir.path()).size(), 1);
    }

    INSTANTIATE_TEST_SUITE_P(Formats, RenderFullDisk, ::testing::Values("png", "svg"));

    class RenderPlatform : public ::testing::TestWithParam<const char*> { };

    // A platform that cannot start is one line and status 1, not Qt's abort.
    TEST_P(RenderPlatform, CannotStartIsOneLine)
    {
        QTemporaryDir dir;
        const auto result = runCli({ "render", "-o", dir.filePath("o.png") }, QString::fromLatin1(GetParam()));
        EXPECT_EQ(result.exitCode, 1) << result.err.constData();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("heliora-cli: render: QT_QPA_PLATFORM") && result.err.count('\n') == 1)
            << result.err.constData();
        EXPECT_TRUE(test::entriesOf(dir.path()).isEmpty());
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderPlatform, ::testing::Values("vulcan", "xcb", "wayland"));

    // A list of platforms whose later entry starts is fine.
    TEST(RenderPlatform, AFallbackThatStartsDraws)
    {
        QTemporaryDir dir;
        EXPECT_EQ(runCli({ "render", "-o", dir.filePath("o.png") }, QStringLiteral("vulcan;offscreen")).exitCode, 0);
    }

} // namespace
} // namespace heliora
