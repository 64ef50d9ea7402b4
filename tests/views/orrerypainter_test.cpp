#include "orrerypainter.h"

#include "picturematch.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace heliora {
namespace {

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z
    constexpr double day = 86400;

    struct Frame {
        QImage image;
        QPointF origin; // where the layout's (0, 0) is, in logical pixels
    };

    Frame paintFrame(
        const OrreryLayout& layout, qreal ratio, const QColor& background, const OrreryPaintOptions& options = {})
    {
        const int side = static_cast<int>(std::ceil(layout.bounds().width() * ratio));
        Frame frame { QImage(side, side, QImage::Format_ARGB32_Premultiplied), QPointF(layout.margin, layout.margin) };
        frame.image.setDevicePixelRatio(ratio);
        frame.image.fill(background);
        QPainter painter(&frame.image);
        painter.translate(frame.origin);
        paintOrrery(painter, layout, options);
        return frame;
    }

    // Whether any picture covers the band of `halfWidth` around the ray from C in direction (dx, dy).
    bool rayIsFree(const OrreryLayout& layout, int dx, int dy)
    {
        const QPointF c = layout.centre;
        const double reach = layout.diameter / 2 + 2;
        const QRectF band = QRectF(c, c + QPointF(dx * reach, dy * reach)).normalized().adjusted(-2, -2, 2, 2);
        for (const OrrerySlot& slot : layout.rings) {
            if (slot.square.intersects(band))
                return false;
        }
        return true;
    }

    // Pictures whose square meets no other body's square; their pixels are the picture's alone.
    bool standsAlone(const OrreryLayout& layout, const OrrerySlot& slot)
    {
        if (slot.square.intersects(layout.sunSquare))
            return false;
        for (const OrrerySlot& other : layout.rings) {
            if (other.planet != slot.planet && other.square.intersects(slot.square))
                return false;
        }
        return true;
    }

    class OrreryPainting : public ::testing::TestWithParam<double> { };

    TEST_P(OrreryPainting, RingsAreOneLineWidthOfGreyInsideTheirCircle)
    {
        const qreal ratio = GetParam();
        constexpr std::array<std::array<int, 2>, 4> directions { { { 1, 0 }, { 0, -1 }, { -1, 0 }, { 0, 1 } } };
        // Find a date at which one of the four axes from the Sun crosses every ring away from any planet.
        OrreryLayout layout;
        std::array<int, 2> direction {};
        bool found = false;
        for (int k = 0; k < 60 && !found; ++k) {
            layout = layoutOrrery({ .date = start2024 + k * 7 * day }, epochUtc);
            for (const auto& d : directions) {
                if (rayIsFree(layout, d[0], d[1])) {
                    direction = d;
                    found = true;
                    break;
                }
            }
        }
        ASSERT_TRUE(found);
        const Frame frame = paintFrame(layout, ratio, Qt::black);
        const QPointF c = (layout.centre + frame.origin) * ratio;
        const bool horizontal = direction[1] == 0;
        const int across = static_cast<int>(std::floor(horizontal ? c.y() : c.x()));
        const int length = horizontal ? frame.image.width() : frame.image.height();

        for (const OrrerySlot& slot : layout.rings) {
            SCOPED_TRACE(std::string(rawValue(slot.planet)));
            const double r = slot.ringRadius * ratio;
            const double w = slot.strokeWidth * ratio;
            double ink = 0;
            double weighted = 0;
            for (int i = 0; i < length; ++i) {
                const double along = horizontal ? (i + 0.5 - c.x()) * direction[0] : (i + 0.5 - c.y()) * direction[1];
                if (along < r - w - 2 || along > r + 2)
                    continue;
                const QColor pixel = frame.image.pixelColor(horizontal ? i : across, horizontal ? across : i);
                EXPECT_EQ(pixel.red(), pixel.green());
                EXPECT_EQ(pixel.red(), pixel.blue());
                EXPECT_LE(pixel.red(), 65);
                const double coverage = pixel.red() / 64.0;
                ink += coverage;
                weighted += coverage * along;
            }
            // The ink adds up to the line width (give or take what the rasteriser's antialiasing loses on a
            // one-pixel line) and is centred half a line inside the ring's radius.
            EXPECT_NEAR(ink, w, 0.25);
            ASSERT_GT(ink, 0);
            EXPECT_NEAR(weighted / ink, r - w / 2, 0.2);
        }
    }

    TEST_P(OrreryPainting, PicturesSitSharpAtTheirCentres)
    {
        const qreal ratio = GetParam();
        for (const bool pluto : { false, true }) {
            const OrreryLayout layout = layoutOrrery({ .date = start2024, .showPluto = pluto }, epochUtc);
            const Frame frame = paintFrame(layout, ratio, Qt::black);
            int checked = 0;
            for (const OrrerySlot& slot : layout.rings) {
                if (!standsAlone(layout, slot))
                    continue;
                SCOPED_TRACE(std::string(rawValue(slot.planet)));
                const test::PictureMatch match = test::findPicture(
                    frame.image, imageName(slot.planet), slot.imageRect.translated(frame.origin), ratio);
                // Copied pixel for pixel (no resampling blur), at most half a device pixel from the layout's centre.
                EXPECT_LT(match.error, 2.0);
                EXPECT_NEAR(match.centre.x(), slot.centre.x() + frame.origin.x(), 0.5 / ratio + 1e-9);
                EXPECT_NEAR(match.centre.y(), slot.centre.y() + frame.origin.y(), 0.5 / ratio + 1e-9);
                ++checked;
            }
            EXPECT_GE(checked, 5);
            const test::PictureMatch sun
                = test::findPicture(frame.image, "Sun", layout.sunImageRect.translated(frame.origin), ratio);
            EXPECT_LT(sun.error, 2.0);
            EXPECT_NEAR(sun.centre.x(), layout.centre.x() + frame.origin.x(), 0.5 / ratio + 1e-9);
        }
    }

    INSTANTIATE_TEST_SUITE_P(DeviceRatios, OrreryPainting, ::testing::Values(1.0, 1.5, 2.0),
        [](const ::testing::TestParamInfo<double>& info) {
            return "Ratio" + std::to_string(static_cast<int>(info.param * 10));
        });

    struct LayerCase {
        std::string name;
        double diameter;
        bool pluto;
        double ratio;
        QPointF offset; // where the layout's corner falls, in logical pixels
    };

    void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.name; }

    class OrreryRingLayer : public ::testing::TestWithParam<LayerCase> { };

    TEST_P(OrreryRingLayer, GivesThePixelsOfStrokingEveryRingInOrder)
    {
        const LayerCase& c = GetParam();
        OrreryInputs in;
        in.diameter = c.diameter;
        in.showPluto = c.pluto;
        in.date = start2024;
        const OrreryLayout layout = layoutOrrery(in, epochUtc);
        const int side = static_cast<int>(std::ceil((layout.bounds().width() + 2) * c.ratio));
        const auto paint = [&](bool cacheRings) {
            QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(c.ratio);
            image.fill(Qt::black);
            QPainter painter(&image);
            painter.translate(QPointF(layout.margin, layout.margin) + c.offset);
            OrreryPaintOptions options;
            options.cacheRings = cacheRings;
            paintOrrery(painter, layout, options);
            return image;
        };
        // Twice through the cache: once filling it, once reading it.
        const QImage direct = paint(false);
        for (int pass = 0; pass < 2; ++pass) {
            const QImage cached = paint(true);
            int worst = 0;
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
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
        ::testing::Values(LayerCase { "D400At1x", 400, false, 1, {} }, LayerCase { "D400PlutoAt2x", 400, true, 2, {} },
            LayerCase { "D400At1_5xOffAPixel", 400, false, 1.5, { 0.37, 0.81 } },
            LayerCase { "D135_2At2x", 135.2, false, 2, { 0.5, 0 } },
            // Rings so close that inner ones cross the pictures further out: strokes in order are the only way.
            LayerCase { "D30At2x", 30, true, 2, {} }),
        [](const ::testing::TestParamInfo<LayerCase>& info) { return info.param.name; });

    class BodyPictureShape : public ::testing::TestWithParam<const char*> { };

    // Drawing the rings before the planets relies on this: nothing of a picture lies beyond half its longer side
    // from its centre, so a ring clear of that circle is clear of the picture.
    TEST_P(BodyPictureShape, IsRound)
    {
        for (const double side : { 33.0, 100.0 }) {
            const QImage picture
                = artwork::body(GetParam(), QSizeF(side, side), 1).convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(picture.isNull());
            const QPointF centre(picture.width() / 2.0, picture.height() / 2.0);
            const double reach = std::max(picture.width(), picture.height()) / 2.0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    if (qAlpha(picture.pixel(x, y)) == 0)
                        continue;
                    const double distance = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y());
                    ASSERT_LE(distance, reach + 0.75) << side << " px, pixel " << x << "," << y;
                }
            }
        }
    }

    INSTANTIATE_TEST_SUITE_P(Planets, BodyPictureShape,
        ::testing::Values("Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"));

    TEST(OrreryPainting, HasNoBackgroundOfItsOwn)
    {
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        const Frame frame = paintFrame(layout, 1, Qt::transparent);
        EXPECT_EQ(qAlpha(frame.image.pixel(0, 0)), 0);
        // Between the Sun and the first ring, and between two rings, nothing is painted.
        const QPointF c = layout.centre + frame.origin;
        const OrrerySlot& innermost = layout.rings.back();
        for (const double radius : { layout.sunSquare.width() / 2 + 4, innermost.ringRadius + 8 }) {
            for (int degrees = 0; degrees < 360; degrees += 30) {
                const QPointF p
                    = c + QPointF(radius * std::cos(degrees * 0.0174533), radius * std::sin(degrees * 0.0174533));
                if (layout.bodyAt(p - frame.origin))
                    continue;
                EXPECT_EQ(qAlpha(frame.image.pixel(p.toPoint())), 0) << radius << " at " << degrees;
            }
        }
    }

    TEST(OrreryPainting, PressedBodyIsDimmedAndNothingElseChanges)
    {
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        const Frame plain = paintFrame(layout, 1, Qt::black);
        OrreryPaintOptions marsPressed;
        marsPressed.pressed = SolarSystemObject::planet(Planet::mars);
        const Frame pressed = paintFrame(layout, 1, Qt::black, marsPressed);
        const QRect mars = layout.slot(Planet::mars)->imageRect.translated(plain.origin).toAlignedRect();
        long long before = 0;
        long long after = 0;
        for (int y = 0; y < plain.image.height(); ++y) {
            for (int x = 0; x < plain.image.width(); ++x) {
                const QRgb a = plain.image.pixel(x, y);
                const QRgb b = pressed.image.pixel(x, y);
                if (mars.contains(x, y)) {
                    before += qRed(a) + qGreen(a) + qBlue(a);
                    after += qRed(b) + qGreen(b) + qBlue(b);
                } else {
                    ASSERT_EQ(a, b) << x << "," << y;
                }
            }
        }
        // Dimmed, yet still plainly there.
        EXPECT_LT(after, before * 0.8);
        EXPECT_GT(after, before * 0.3);
    }

    TEST(OrreryPainting, ExposedRectangleSkipsWhatItDoesNotTouch)
    {
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        const OrrerySlot& mars = *layout.slot(Planet::mars);
        const Frame full = paintFrame(layout, 1, Qt::black);
        OrreryPaintOptions onlyMars;
        onlyMars.exposed = mars.imageRect;
        const Frame part = paintFrame(layout, 1, Qt::black, onlyMars);
        const QRect marsPixels = mars.imageRect.translated(full.origin).toAlignedRect();
        for (int y = marsPixels.top(); y <= marsPixels.bottom(); ++y) {
            for (int x = marsPixels.left(); x <= marsPixels.right(); ++x)
                ASSERT_EQ(full.image.pixel(x, y), part.image.pixel(x, y)) << x << "," << y;
        }
        // Mercury's ring and Neptune's picture are far from Mars and are left out.
        const OrrerySlot& mercury = *layout.slot(Planet::mercury);
        const double side = mars.centre.y() > layout.centre.y() ? -1 : 1; // the side of the Sun away from Mars
        const auto brightest = [&](const QImage& image) {
            const QPointF c = layout.centre + full.origin;
            int most = 0;
            for (int dy = -3; dy <= 3; ++dy) {
                const QPoint p = (c + QPointF(0, side * mercury.ringRadius)).toPoint() + QPoint(0, dy);
                most = std::max(most, qRed(image.pixel(p)));
            }
            return most;
        };
        EXPECT_GT(brightest(full.image), 40);
        EXPECT_EQ(brightest(part.image), 0);
        const QPoint neptune = (layout.slot(Planet::neptune)->centre + full.origin).toPoint();
        EXPECT_NE(full.image.pixel(neptune), part.image.pixel(neptune));
    }

} // namespace
} // namespace heliora
