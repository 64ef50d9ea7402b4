// heliora-cli render: where the bodies go, how large the picture is, and what it refuses to write to.

#include "inprocess.h"
#include "support/picturematch.h"
#include "support/runcli.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineF>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <numbers>
#include <string>
#include <tuple>

#include <sys/resource.h>
#include <sys/stat.h>

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
        // Half a planet around the D × D square, rounded up to whole logical pixels, times the scale.
        ASSERT_EQ(image.size(), QSize(1, 1) * std::ceil(400 + 400.0 / 12) * scale);
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
        for (const char* suffix : { "png", "svg" }) {
            const QString file = dir.filePath(QStringLiteral("o.") + suffix);
            const auto result = test::runInProcess(QStringList { "render", "--no-pluto", "--diameter",
                QString::number(c.diameter), "--scale", QString::number(c.scale), "-o", file });
            ASSERT_EQ(result.status, 0) << result.err.constData();
            EXPECT_EQ(QJsonDocument::fromJson(result.out)["width"].toInt(), c.pixels) << suffix;
            if (suffix == std::string("png")) {
                EXPECT_EQ(QImage(file).size(), QSize(c.pixels, c.pixels));
                continue;
            }
            QFile svg(file);
            ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
            const QString head = QString::fromUtf8(svg.read(400));
            const auto width = QRegularExpression(QStringLiteral("width=\"([0-9.]+)mm\"")).match(head);
            ASSERT_TRUE(width.hasMatch()) << qPrintable(head);
            EXPECT_NEAR(width.captured(1).toDouble() * 96 / 25.4, c.pixels, 0.01);
            const auto viewBox = QRegularExpression(QStringLiteral("viewBox=\"0 0 ([0-9.]+) ")).match(head);
            ASSERT_TRUE(viewBox.hasMatch()) << qPrintable(head);
            EXPECT_NEAR(viewBox.captured(1).toDouble(), c.pixels / c.scale, 1e-3);
        }
    }

    // D = 400 is 433.3 logical pixels with its margin, so 434; D = 10 has planets of the smallest side, 8.
    INSTANTIATE_TEST_SUITE_P(Table, RenderSize,
        ::testing::Values(SizeCase { 400, 1, 434 }, SizeCase { 400, 2, 868 }, SizeCase { 400, 0.5, 217 },
            SizeCase { 400, 1.5, 651 }, SizeCase { 400, 1.1, 478 }, SizeCase { 100, 3, 327 }, SizeCase { 10, 4, 72 }));

    struct RefusalCase {
        std::string name;
        QString output; ///< the -o argument, in the test's folder
        QStringList extra;
        int status;
    };

    void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

    class RenderRefusal : public ::testing::TestWithParam<RefusalCase> { };

    // Outputs that would block, swallow the picture or are no picture are refused before anything is written, with
    // one line, and the folder is left as it was. The real program, so that a FIFO that blocks ends the test.
    TEST_P(RenderRefusal, PrintsOneLineAndChangesNothing)
    {
        QTemporaryDir dir;
        ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("fifo.png")).constData(), 0600), 0);
        ASSERT_TRUE(QDir(dir.path()).mkdir("folder.svg"));
        ASSERT_TRUE(QFile::link("/dev/full", dir.filePath("full.svg")));
        ASSERT_TRUE(QFile::link("/dev/full", dir.filePath("full.png")));
        ASSERT_TRUE(QFile::link("/dev/null", dir.filePath("null.png")));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        const auto [status, out, err]
            = runCli(QStringList { "render", "-o", dir.filePath(GetParam().output) } + GetParam().extra);
        EXPECT_EQ(status, GetParam().status);
        EXPECT_TRUE(out.isEmpty());
        EXPECT_TRUE(err.startsWith("heliora-cli: render: ") && err.count('\n') == 1) << err.constData();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderRefusal,
        ::testing::Values(RefusalCase { "Fifo", "fifo.png", {}, 1 }, RefusalCase { "Folder", "folder.svg", {}, 1 },
            RefusalCase { "LinkToDevFullSvg", "full.svg", {}, 1 },
            RefusalCase { "LinkToDevFullPng", "full.png", {}, 1 }, RefusalCase { "LinkToDevNull", "null.png", {}, 1 },
            RefusalCase { "MissingFolder", "missing/o.png", {}, 1 },
            RefusalCase { "TooManyPixels", "o.png", { "--diameter", "4096", "--scale", "4" }, 2 }),
        [](const auto& info) { return info.param.name; });

    class RenderFullDisk : public ::testing::TestWithParam<const char*> { };

    // A disk that fills during the write: the process may write only a few kilobytes (a file size limit, the
    // kernel's EFBIG, as ENOSPC would stop it). One line, status 1, and the old picture left whole.
    TEST_P(RenderFullDisk, KeepsTheOldFileAndLeavesNoPart)
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("o.") + GetParam());
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QProcess process;
        process.setProcessEnvironment(test::environmentWithoutDisplay());
        process.setChildProcessModifier([] {
            const rlimit small { 16 * 1024, 16 * 1024 };
            setrlimit(RLIMIT_FSIZE, &small);
            std::signal(SIGXFSZ, SIG_IGN);
        });
        process.start(QStringLiteral(HELIORA_CLI_PATH), { "render", "--scale", "2", "-o", file });
        ASSERT_TRUE(process.waitForFinished(60'000));
        const QByteArray err = process.readAllStandardError();
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
        EXPECT_TRUE(err.startsWith("heliora-cli: render: cannot write ") && err.count('\n') == 1) << err.constData();
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
    }

    INSTANTIATE_TEST_SUITE_P(Formats, RenderFullDisk, ::testing::Values("png", "svg"));

    struct PlatformCase {
        const char* name;
        const char* platform;
        int status;
    };

    void PrintTo(const PlatformCase& c, std::ostream* os) { *os << c.name; }

    class RenderPlatform : public ::testing::TestWithParam<PlatformCase> { };

    // A platform that cannot start is one line and status 1, not Qt's abort; a list whose later entry starts is
    // fine.
    TEST_P(RenderPlatform, CannotStartIsOneLine)
    {
        QTemporaryDir dir;
        QProcessEnvironment environment = test::environmentWithoutDisplay();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(GetParam().platform));
        const auto result = test::runCli({ "render", "-o", dir.filePath("o.png") }, environment);
        EXPECT_EQ(result.exitCode, GetParam().status) << result.err.constData();
        if (GetParam().status == 0)
            return;
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith("heliora-cli: render: QT_QPA_PLATFORM") && result.err.count('\n') == 1)
            << result.err.constData();
        EXPECT_FALSE(QFile::exists(dir.filePath("o.png")));
    }

    INSTANTIATE_TEST_SUITE_P(Table, RenderPlatform,
        ::testing::Values(PlatformCase { "Unknown", "vulcan", 1 }, PlatformCase { "XcbWithoutDisplay", "xcb", 1 },
            PlatformCase { "WaylandWithoutDisplay", "wayland", 1 },
            PlatformCase { "FallbackThatStarts", "vulcan;offscreen", 0 }),
        [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace heliora
