#include "artwork/artwork.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>

#include <gtest/gtest.h>

namespace heliora {
namespace {

    class BodyPicture : public ::testing::TestWithParam<const char*> { };

    TEST_P(BodyPicture, IsOpaqueInTheMiddleAndClearInTheCorners)
    {
        const QImage image = artwork::body(GetParam(), QSizeF(40, 40), 2.0);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.devicePixelRatio(), 2.0);
        const QSize pixels = image.size();
        EXPECT_EQ(std::max(pixels.width(), pixels.height()), 80);
        EXPECT_GT(qAlpha(image.pixel(pixels.width() / 2, pixels.height() / 2)), 200);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(pixels.width() - 1, pixels.height() - 1)), 0);
    }

    // A picture asked for ahead, made on another thread, has the pixels that body() makes on its own: the same
    // device pixels at ratio 1 and at ratio 2 (half the logical size), the one made ahead, the other not.
    TEST_P(BodyPicture, MadeAheadIsTheSamePicture)
    {
        int argc = 1;
        char name[] = "artwork_tests";
        char* argv[] = { name, nullptr };
        const QCoreApplication app(argc, argv); // for Qt's thread pool
        const QImage direct = artwork::body(GetParam(), QSizeF(62, 62), 1.0);
        artwork::prepareBody(GetParam(), QSizeF(31, 31), 2.0);
        artwork::prepareBody(GetParam(), QSizeF(31, 31), 2.0); // already on its way: nothing more
        QImage ahead = artwork::body(GetParam(), QSizeF(31, 31), 2.0);
        ASSERT_FALSE(direct.isNull());
        EXPECT_EQ(ahead.devicePixelRatio(), 2.0);
        ahead.setDevicePixelRatio(1.0);
        EXPECT_TRUE(ahead == direct);
    }

    INSTANTIATE_TEST_SUITE_P(Bodies, BodyPicture,
        ::testing::Values(
            "Sun", "Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"));

    // Pictures keep their proportions; an unknown name or an unusable size gives nothing rather than a huge picture.
    TEST(Artwork, FittedRectAndUnusableSizes)
    {
        const QSizeF saturn = artwork::naturalSize("Saturn");
        EXPECT_GT(saturn.width(), 1.5 * saturn.height());
        EXPECT_EQ(artwork::fittedRect(QRectF(10, 10, 40, 40), QSizeF(200, 100)), QRectF(10, 20, 40, 20));
        EXPECT_TRUE(artwork::naturalSize("Vulcan").isEmpty());
        EXPECT_TRUE(artwork::body("Vulcan", QSizeF(10, 10), 1).isNull());
        EXPECT_TRUE(artwork::body("Sun", QSizeF(1e9, 1e9), 1).isNull());
        EXPECT_TRUE(artwork::body("Sun", QSizeF(qQNaN(), 10), 1).isNull());
        // Asked for ahead, they are refused the same way.
        artwork::prepareBody("Vulcan", QSizeF(10, 10), 1);
        artwork::prepareBody("Sun", QSizeF(1e9, 1e9), 1);
        EXPECT_TRUE(artwork::body("Vulcan", QSizeF(10, 10), 1).isNull());
        EXPECT_TRUE(artwork::body("Sun", QSizeF(1e9, 1e9), 1).isNull());
    }

    TEST(Artwork, GlyphTakesTheTint)
    {
        const QColor orange(255, 149, 0);
        const QImage image = artwork::glyph("pause.fill", 32, 1.0, orange);
        ASSERT_FALSE(image.isNull());
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 255) {
                    ++opaque;
                    EXPECT_EQ(c.rgb(), orange.rgb());
                }
            }
        }
        EXPECT_GT(opaque, 50);
        EXPECT_TRUE(artwork::glyph("no.such.glyph", 16, 1, orange).isNull());
    }

    TEST(Artwork, IconsPaint)
    {
        int argc = 1;
        char name[] = "artwork_tests";
        char* argv[] = { name, nullptr };
        QGuiApplication app(argc, argv);
        // Drawn at each size asked for, from small window icons to large ones: sharp and whole at every one.
        const QIcon icon = artwork::applicationIcon();
        for (const int side : { 16, 24, 32, 48, 128, 512 }) {
            const QImage image = icon.pixmap(side, side).toImage();
            ASSERT_EQ(image.size(), QSize(side, side));
            EXPECT_EQ(qAlpha(image.pixel(side / 2, side / 2)), 255) << side; // the Sun
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << side; // the rounded corner
            EXPECT_EQ(qAlpha(image.pixel(side / 8, side / 2)), 255) << side; // the field, near the left edge
        }
        const QImage pixels = artwork::glyphIcon("play.fill", Qt::white).pixmap(24, 24).toImage();
        EXPECT_GT(qAlpha(pixels.pixel(12, 12)), 200);
        EXPECT_EQ(qAlpha(pixels.pixel(0, 0)), 0);
    }

} // namespace
} // namespace heliora
