#include "app/appoptions.h"
#include "app/screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    struct OptionsCase {
        QStringList arguments;
        bool accepted;
        QString screenshot = {};
        const char* detail = ""; // the body's key
        QStringList links = {};
    };

    void PrintTo(const OptionsCase& c, std::ostream* os) { *os << '[' << c.arguments.join(' ').toStdString() << ']'; }

    class CommandLine : public ::testing::TestWithParam<OptionsCase> { };

    TEST_P(CommandLine, IsReadOrRefusedWithAMessage)
    {
        QString error;
        const std::optional<AppOptions> options = parseAppOptions(GetParam().arguments, &error);
        ASSERT_EQ(options.has_value(), GetParam().accepted) << error.toStdString();
        if (!options) {
            EXPECT_FALSE(error.isEmpty());
            return;
        }
        EXPECT_EQ(options->screenshotPath.value_or(QString()), GetParam().screenshot);
        EXPECT_EQ(options->detail ? options->detail->localizationKey() : "", GetParam().detail);
        EXPECT_EQ(options->links, GetParam().links);
    }

    INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine,
        ::testing::Values(OptionsCase { { "--screenshot", "a.png" }, true, "a.png" },
            OptionsCase { { "--screenshot=a.png", "--detail", "sun" }, true, "a.png", "sun" },
            OptionsCase { { "heliora://?date=20240131" }, true, {}, "", { "heliora://?date=20240131" } },
            OptionsCase { { "--", "--screenshot" }, true, {}, "", { "--screenshot" } },
            // No file, an option where the file should be, a misspelt body or option.
            OptionsCase { { "--screenshot" }, false }, OptionsCase { { "--screenshot=" }, false },
            OptionsCase { { "--screenshot", "--detail", "mars" }, false },
            OptionsCase { { "--detail", "Mars" }, true, {}, "mars" }, OptionsCase { { "--detail", "vulcan" }, false },
            OptionsCase { { "--screenshots", "a.png" }, false }));

    // Runs the event loop until the screenshot ends it (or 10 s pass: status 99).
    int runLoop()
    {
        QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });
        return QCoreApplication::exec();
    }

    TEST(Screenshot, WritesTheFirstFrameThenEndsTheLoopOrFailsWithStatusOne)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("window.png"));
        QLabel window(QStringLiteral("Heliora"));
        window.setAutoFillBackground(true);
        window.resize(120, 80);
        screenshotAfterFirstFrame(&window, path);
        window.show();
        EXPECT_EQ(runLoop(), 0);
        const QImage picture(path);
        EXPECT_EQ(picture.size(), QSize(120, 80) * window.devicePixelRatio());
        EXPECT_EQ(picture.pixelColor(1, 1), window.palette().color(QPalette::Window));

        // It fails when the file cannot be written or nothing paints.
        QLabel shown(QStringLiteral("Heliora"));
        screenshotAfterFirstFrame(&shown, QStringLiteral("/nonexistent-folder/window.png"));
        shown.show();
        EXPECT_EQ(runLoop(), 1);

        QLabel hidden(QStringLiteral("Heliora"));
        screenshotAfterFirstFrame(&hidden, QStringLiteral("never.png"), 50);
        EXPECT_EQ(runLoop(), 1);
    }

} // namespace
} // namespace heliora
