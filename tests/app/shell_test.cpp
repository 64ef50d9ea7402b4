#include "screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    // Runs the event loop until the screenshot ends it (or 10 s pass: status 99).
    int runLoop()
    {
        QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });
        return QCoreApplication::exec();
    }

    TEST(Screenshot, WritesTheFirstFrameThenEndsTheLoop)
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
    }

    TEST(Screenshot, FailsWhenTheFileCannotBeWrittenOrNothingPaints)
    {
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
