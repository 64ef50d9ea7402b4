#include "quitsignals.h"
#include "screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace heliora {
namespace {

    // Ends a test's event loop with status 99 if nothing else ends it first.
    void failAfter(int ms)
    {
        QTimer::singleShot(ms, qApp, [] { QCoreApplication::exit(99); });
    }

    struct SignalCase {
        int signal;
        const char* name;
    };

    void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.name; }

    class TerminationSignal : public ::testing::TestWithParam<SignalCase> { };

    TEST_P(TerminationSignal, EndsTheEventLoopNormally)
    {
        ASSERT_TRUE(quitOnTerminationSignals());
        QTimer::singleShot(0, qApp, [] { std::raise(GetParam().signal); });
        failAfter(10000);
        EXPECT_EQ(QCoreApplication::exec(), 0);
    }

    INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal,
        ::testing::Values(SignalCase { SIGTERM, "SIGTERM" }, SignalCase { SIGINT, "SIGINT" }),
        [](const auto& info) { return std::string(info.param.name); });

    TEST(Screenshot, WritesTheFirstFrameAndEndsTheLoop)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("window.png"));
        QLabel window(QStringLiteral("Heliora"));
        window.setAutoFillBackground(true);
        window.resize(120, 80);
        new FirstFrameScreenshot(&window, path);
        window.show();
        failAfter(10000);
        EXPECT_EQ(QCoreApplication::exec(), 0);
        const QImage picture(path);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(120, 80) * window.devicePixelRatio());
        EXPECT_EQ(picture.pixelColor(1, 1), window.palette().color(QPalette::Window));
    }

    TEST(Screenshot, UnwritableFileEndsTheLoopWithAFailure)
    {
        QLabel window(QStringLiteral("Heliora"));
        new FirstFrameScreenshot(&window, QStringLiteral("/nonexistent-folder/window.png"));
        window.show();
        failAfter(10000);
        EXPECT_EQ(QCoreApplication::exec(), 1);
    }

    TEST(Screenshot, WindowThatNeverPaintsEndsTheLoopWithAFailure)
    {
        QLabel window(QStringLiteral("Heliora"));
        new FirstFrameScreenshot(&window, QStringLiteral("never.png"), 50);
        failAfter(10000);
        EXPECT_EQ(QCoreApplication::exec(), 1);
    }

} // namespace
} // namespace heliora
