#include "orrerypainter.h"

#include "artwork.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace heliora {
namespace {

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z

    struct Frame {
        QImage image;
        QPointF origin; // where the layout's (0, 0) is, in logical pixels
    };

    Frame paintFrame(const OrreryLayout& layout, qreal ratio, const QColor& background,
        const OrreryPaintOptions& options = {}, const QPointF& offset = {})
    {
        const int side = static_cast<int>(std::ceil((layout.bounds().width() + 1) * ratio));
        const QPointF origin = QPointF(layout.margin, layout.margin) + offset;
        Frame frame { QImage(side, side, QImage::Format_ARGB32_Premultiplied), origin };
        frame.image.setDevicePixelRatio(ratio);
        frame.image.fill(background);
        QPainter painter(&frame.image);
        painter.translate(frame.origin);
        paintOrrery(painter, layout, options);
        return frame;
    }

    class OrreryPainting : public ::testing::TestWithParam<double> { };

    TEST_P(OrreryPainting, RingsAreOneLineWidthOfGreyInsideTheirCircle)
    {
        const qreal ratio = GetParam();
        OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        // Every planet straight above the Sun, so the rings to its right are bare.
        for (OrrerySlot& slot : layout.rings)
            placePlanet(slot, layout.centre, 0, 90 - screenAngle(slot.planet, 0));
        const Frame frame = paintFrame(layout, ratio, Qt::black);
        const QPointF c = (layout.centre + frame.origin) * ratio;
        const int row = static_cast<int>(std::floor(c.y()));
        for (const OrrerySlot& slot : layout.rings) {
            SCOPED_TRACE(std::string(rawValue(slot.planet)));
            const double r = slot.ringRadius * ratio;
            const double w = slot.strokeWidth * ratio;
            double ink = 0;
            double weighted = 0;
            for (int x = static_cast<int>(c.x() + r - w - 2); x <= static_cast<int>(c.x() + r + 2); ++x) {
                const QColor pixel = frame.image.pixelColor(x, row);
                EXPECT_EQ(pixel.red(), pixel.green());
                EXPECT_EQ(pixel.red(), pixel.blue());
                EXPECT_LE(pixel.red(), 65);
                ink += pixel.red() / 64.0;
                weighted += pixel.red() / 64.0 * (x + 0.5 - c.x());
            }
            // The ink adds up to the line width (give or take what the rasteriser's antialiasing loses on a
            // one-pixel line) and is centred half a line inside the ring's radius.
            EXPECT_NEAR(ink, w, 0.25);
            ASSERT_GT(ink, 0);
            EXPECT_NEAR(weighted / ink, r - w / 2, 0.2);
        }
    }

    INSTANTIATE_TEST_SUITE_P(DeviceRatios, OrreryPainting, ::testing::Values(1.0, 1.5, 2.0),
        [](const ::testing::TestParamInfo<double>& info) {
            return "Ratio" + std::to_string(static_cast<int>(info.param * 10));
        });

    struct LayerCase {
        std::string name;
        OrreryInputs inputs;
        double ratio;
        QPointF offset; // a fraction of a pixel at which the layout's corner falls
    };

    void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.name; }

    class OrreryRingLayer : public ::testing::TestWithParam<LayerCase> { };

    TEST_P(OrreryRingLayer, GivesThePixelsOfStrokingEveryRingInOrder)
    {
        const LayerCase& c = GetParam();
        const OrreryLayout layout = layoutOrrery(c.inputs, epochUtc);
        OrreryPaintOptions stroked;
        stroked.cacheRings = false;
        const QImage direct = paintFrame(layout, c.ratio, Qt::black, stroked, c.offset).image;
        // Twice through the cache: once filling it, once reading it.
        for (int pass = 0; pass < 2; ++pass) {
            const QImage cached = paintFrame(layout, c.ratio, Qt::black, {}, c.offset).image;
            int worst = 0;
            for (int y = 0; y < direct.height(); ++y) {
                for (int x = 0; x < direct.width(); ++x) {
                    const QRgb a = direct.pixel(x, y);
                    const QRgb b = cached.pixel(x, y);
                    worst = std::max({ worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b)) });
                }
            }
            EXPECT_LE(worst, 2) << "pass " << pass;
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrreryRingLayer,
        ::testing::Values(LayerCase { "D400At1x", { .date = start2024 }, 1, {} },
            LayerCase { "D400PlutoAt2x", { .date = start2024, .showPluto = true }, 2, {} },
            LayerCase { "D400At1_5xOffAPixel", { .date = start2024 }, 1.5, { 0.37, 0.81 } },
            LayerCase { "D135_2At2x", { .diameter = 135.2, .date = start2024 }, 2, { 0.5, 0 } },
            // Rings so close that inner ones cross the pictures further out: strokes in order are the only way.
            LayerCase { "D30At2x", { .diameter = 30, .date = start2024, .showPluto = true }, 2, {} }),
        [](const ::testing::TestParamInfo<LayerCase>& info) { return info.param.name; });

    // Drawing the rings before the planets relies on this: nothing of a picture lies beyond half its longer side
    // from its centre, so a ring clear of that circle is clear of the picture.
    TEST(OrreryPainting, PlanetPicturesAreRound)
    {
        for (const Planet planet : allPlanets) {
            const QImage picture = artwork::body(imageName(planet), QSizeF(100, 100), 1);
            const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
            const double reach = std::max(picture.width(), picture.height()) / 2.0 + 0.75;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    const double distance = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y());
                    ASSERT_TRUE(qAlpha(picture.pixel(x, y)) == 0 || distance <= reach) << rawValue(planet);
                }
            }
        }
    }

    TEST(OrreryPainting, PressedBodyIsDimmedAndAnExposedRectangleIsPaintedInFull)
    {
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        const QRectF mars = layout.slot(Planet::mars)->imageRect;
        const Frame plain = paintFrame(layout, 1, Qt::black);
        OrreryPaintOptions options;
        options.pressed = SolarSystemObject::planet(Planet::mars);
        const Frame pressed = paintFrame(layout, 1, Qt::black, options);
        options.pressed.reset();
        options.exposed = mars;
        const Frame exposed = paintFrame(layout, 1, Qt::black, options);
        const QRect marsPixels = mars.translated(plain.origin).toAlignedRect();
        long long before = 0;
        long long after = 0;
        for (int y = 0; y < plain.image.height(); ++y) {
            for (int x = 0; x < plain.image.width(); ++x) {
                const QRgb a = plain.image.pixel(x, y);
                const QRgb b = pressed.image.pixel(x, y);
                if (!marsPixels.contains(x, y)) {
                    ASSERT_EQ(a, b) << x << "," << y; // nothing else changes
                    continue;
                }
                before += qRed(a) + qGreen(a) + qBlue(a);
                after += qRed(b) + qGreen(b) + qBlue(b);
                ASSERT_EQ(a, exposed.image.pixel(x, y)) << x << "," << y;
            }
        }
        // Dimmed, yet still plainly there.
        EXPECT_LT(after, before * 0.8);
        EXPECT_GT(after, before * 0.3);
    }

} // namespace
} // namespace heliora
