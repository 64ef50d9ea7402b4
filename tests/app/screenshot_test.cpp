#include "app/screenshot.h"

#include "support/files.h"
#include "support/rows.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace heliora {
namespace {

    using test::PrintTo;

    // What `path` is made into before it is offered as a screenshot's file.
    enum class Made { nothing, file, folder, fifo, linkToFile, linkToNothing };

    struct TargetCase {
        const char* name;
        QString path; // inside a fresh folder
        Made made;
        QString problem; // empty: accepted
    };

    class ScreenshotTarget : public ::testing::TestWithParam<TargetCase> { };

    TEST_P(ScreenshotTarget, IsARegularFileOrANewPathInAFormatQtWrites)
    {
        const TargetCase& c = GetParam();
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(c.path);
        const QByteArray name = QFile::encodeName(path);
        switch (c.made) {
        case Made::nothing:
            break;
        case Made::file:
        case Made::linkToFile: {
            QFile file(dir.filePath(QStringLiteral("target.png")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            if (c.made == Made::file)
                ASSERT_TRUE(file.rename(path));
            else
                ASSERT_TRUE(QFile::link(file.fileName(), path));
            break;
        }
        case Made::folder:
            ASSERT_TRUE(QDir().mkpath(path));
            break;
        case Made::fifo:
            ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
            break;
        case Made::linkToNothing:
            ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.png")), path));
            break;
        }
        QString expected = c.problem;
        expected.replace(QLatin1String("PATH"), path);
        EXPECT_EQ(screenshotTargetProblem(path), expected);
    }

    const QString notRegular = QStringLiteral("--screenshot: \"PATH\" is not a regular file");
    const QString noFormat = QStringLiteral(
        "--screenshot: \"PATH\" does not end in a picture format that Qt writes (.png, .bmp, .jpg, .ppm ...)");

    INSTANTIATE_TEST_SUITE_P(Table, ScreenshotTarget,
        ::testing::Values(TargetCase { "NewFile", "new.png", Made::nothing, {} },
            TargetCase { "ExistingFile", "old.png", Made::file, {} },
            TargetCase { "UpperCaseSuffix", "OLD.PNG", Made::file, {} },
            TargetCase { "OtherFormat", "new.bmp", Made::nothing, {} },
            TargetCase { "LinkToAFile", "link.png", Made::linkToFile, {} },
            // A FIFO would block the open for ever; a folder or a device is no picture either.
            TargetCase { "Fifo", "fifo.png", Made::fifo, notRegular },
            TargetCase { "Folder", "folder.png", Made::folder, notRegular },
            TargetCase { "LinkToNothing", "dangling.png", Made::linkToNothing,
                QStringLiteral("--screenshot: \"PATH\" is a link to nothing") },
            TargetCase { "NoSuffix", "picture", Made::nothing, noFormat },
            TargetCase { "UnknownFormat", "picture.txt", Made::nothing, noFormat }),
        test::rowName);

    TEST(WriteScreenshot, ReplacesTheFileWithTheWholePicture)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("window.png"));
        ASSERT_TRUE(test::writeFile(path, QByteArray(100'000, 'x'))); // longer than the picture: nothing may remain

        QLabel window(QStringLiteral("Heliora"));
        window.setAutoFillBackground(true);
        window.resize(120, 80);
        ASSERT_TRUE(writeScreenshot(&window, path));
        const QImage picture(path);
        EXPECT_EQ(picture.size(), QSize(120, 80));
        EXPECT_EQ(picture.pixelColor(1, 1), window.palette().color(QPalette::Window));
        EXPECT_EQ(test::entriesOf(dir.path()), QStringList { QStringLiteral("window.png") });
    }

    TEST(WriteScreenshot, FailsWithoutLeavingAnything)
    {
        QTemporaryDir dir;
        QLabel window(QStringLiteral("Heliora"));
        window.resize(120, 80);
        EXPECT_FALSE(writeScreenshot(&window, dir.filePath(QStringLiteral("missing/window.png"))));
        EXPECT_TRUE(test::entriesOf(dir.path()).isEmpty());
    }

} // namespace
} // namespace heliora
