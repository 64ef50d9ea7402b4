#include "orrerylayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace heliora {
namespace {

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z
    constexpr double pi = 3.141592653589793;

    // The rings of one orrery, from the examples the orrery is known by.
    struct RingCase {
        std::string name;
        OrreryInputs inputs;
        double sunSide;
        std::vector<double> ringDiameters; // innermost first; the planets follow their fixed order
        double planetSide; // the 1/12 planets
        double smallPlanetSide; // Jupiter and Uranus, 1/14
    };

    void PrintTo(const RingCase& c, std::ostream* os) { *os << c.name; }

    const std::vector<double> eightRingsOf80 { 17.778, 26.667, 35.556, 44.444, 53.333, 62.222, 71.111, 80 };

    const RingCase ringCases[] = {
        { "D400", {}, 44.444, { 88.889, 133.333, 177.778, 222.222, 266.667, 311.111, 355.556, 400 }, 33.333, 28.571 },
        { "D400Pluto", { .showPluto = true }, 40, { 80, 120, 160, 200, 240, 280, 320, 360, 400 }, 33.333, 28.571 },
        { "D135_2", { .diameter = 135.2 }, 15.022, { 30.044, 45.067, 60.089, 75.111, 90.133, 105.156, 120.178, 135.2 },
            11.267, 9.657 },
        // At D = 80 the planets' 6.667 and 5.714 are raised to the minimum length.
        { "D80", { .diameter = 80 }, 8.889, eightRingsOf80, 8, 8 },
        { "D80NoMinimum", { .diameter = 80, .minLength = 0 }, 8.889, eightRingsOf80, 6.667, 5.714 },
        // The Sun never shrinks below the minimum length either: 30 / 9 = 3.333.
        { "D30", { .diameter = 30 }, 8, { 6.667, 10, 13.333, 16.667, 20, 23.333, 26.667, 30 }, 8, 8 },
        { "InnerOnly", { .showOnlyInnerPlanets = true }, 80, { 160, 240, 320, 400 }, 33.333, 28.571 },
        { "InnerOnlyWinsOverPluto", { .showPluto = true, .showOnlyInnerPlanets = true }, 80, { 160, 240, 320, 400 },
            33.333, 28.571 },
    };

    class OrreryRings : public ::testing::TestWithParam<RingCase> { };

    TEST_P(OrreryRings, MatchTheKnownGeometry)
    {
        const RingCase& c = GetParam();
        OrreryInputs in = c.inputs;
        in.date = start2024;
        const OrreryLayout layout = layoutOrrery(in, epochUtc);
        const double d = in.diameter;
        const QPointF centre(d / 2, d / 2);
        EXPECT_EQ(layout.ringCount, static_cast<int>(c.ringDiameters.size()) + 1);
        EXPECT_NEAR(layout.sunSquare.width(), c.sunSide, 1e-3);
        EXPECT_EQ(layout.sunSquare.center(), centre);
        // While D/n is above the minimum, the Sun is half the innermost ring.
        if (d / layout.ringCount >= in.minLength) {
            EXPECT_NEAR(layout.sunSquare.width(), layout.rings.back().ringDiameter / 2, 1e-9);
        }
        // A planet on the outermost ring, whose diameter is exactly D, may stick out by half its picture.
        EXPECT_EQ(layout.rings.front().ringDiameter, d);
        EXPECT_NEAR(layout.margin, layout.rings.front().square.width() / 2, 1e-9);

        ASSERT_EQ(layout.rings.size(), c.ringDiameters.size());
        for (std::size_t k = 0; k < layout.rings.size(); ++k) {
            // Drawing order runs from the outermost ring inwards.
            const OrrerySlot& slot = layout.rings[layout.rings.size() - 1 - k];
            SCOPED_TRACE(std::string(rawValue(slot.planet)));
            EXPECT_EQ(slot.planet, allPlanets[k]);
            EXPECT_NEAR(slot.ringDiameter, c.ringDiameters[k], 1e-3);
            const bool small = slot.planet == Planet::jupiter || slot.planet == Planet::uranus;
            EXPECT_NEAR(slot.square.width(), small ? c.smallPlanetSide : c.planetSide, 1e-3);
            // On its ring, upright, at C + (r·cos φ, −r·sin φ).
            const double r = slot.ringDiameter / 2;
            EXPECT_NEAR(slot.centre.x(), centre.x() + r * std::cos(slot.phi * pi / 180), 1e-9);
            EXPECT_NEAR(slot.centre.y(), centre.y() - r * std::sin(slot.phi * pi / 180), 1e-9);
            EXPECT_EQ(slot.imageRect.center(), slot.centre);
            // The stroke lies inside the ring's circle: ink from r − w to r.
            EXPECT_NEAR(slot.strokeRect.width(), slot.ringDiameter - 1, 1e-9);
            EXPECT_EQ(slot.strokeRect.center(), centre);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrreryRings, ::testing::ValuesIn(ringCases),
        [](const ::testing::TestParamInfo<RingCase>& info) { return info.param.name; });

    TEST(OrreryLayout, EarthAtTheEpochStandsAtItsKnownAngle)
    {
        // With no preset period, at the epoch itself, Earth's direction is 102.94719 + 357.43589 − 360 degrees.
        const OrreryLayout layout = layoutOrrery({ .date = epochUtc, .presetPeriod = 0 }, epochUtc);
        EXPECT_NEAR(layout.slot(Planet::earth)->phi, 100.38308, 1e-4);
        EXPECT_NEAR(layout.slot(Planet::earth)->nu, 11157.43589, 1e-5);
    }

    TEST(OrreryLayout, ExtraAngleIsNotLostToTheSizeOfTheUnwrappedAngle)
    {
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        OrrerySlot slot = *layout.slot(Planet::mars);
        const double phi = slot.phi;
        placePlanet(slot, layout.centre, slot.nu, 0.1);
        EXPECT_NEAR(slot.phi, phi + 0.1, 1e-9);
        // A quarter turn from the right goes counter-clockwise, to the top.
        placePlanet(slot, layout.centre, 0, 90 - screenAngle(Planet::mars, 0));
        EXPECT_NEAR(slot.centre.y(), layout.centre.y() - slot.ringRadius, 1e-9);
    }

    TEST(OrreryLayout, TheFrontmostDrawnPictureTakesTheClick)
    {
        OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        const QRectF mars = layout.slot(Planet::mars)->imageRect;
        EXPECT_EQ(layout.bodyAt(mars.center()), SolarSystemObject::planet(Planet::mars));
        EXPECT_EQ(layout.bodyAt(mars.bottomRight() - QPointF(0.1, 0.1)), SolarSystemObject::planet(Planet::mars));
        EXPECT_NE(
            layout.bodyAt(mars.center() + QPointF(mars.width() * 0.6, 0)), SolarSystemObject::planet(Planet::mars));
        // Saturn's picture is half as tall as its square: the square's top quarter is not Saturn.
        const OrrerySlot& saturn = *layout.slot(Planet::saturn);
        EXPECT_EQ(layout.bodyAt(saturn.centre + QPointF(saturn.square.width() * 0.48, 0)),
            SolarSystemObject::planet(Planet::saturn));
        EXPECT_NE(layout.bodyAt(saturn.centre - QPointF(0, saturn.square.height() * 0.375)),
            SolarSystemObject::planet(Planet::saturn));
        EXPECT_EQ(layout.bodyAt(layout.centre), SolarSystemObject::sun());
        EXPECT_EQ(layout.bodyAt(QPointF(1, 1)), std::nullopt);

        // Venus and Earth in the same direction overlap; Venus, drawn later, is in front.
        for (OrrerySlot& slot : layout.rings)
            placePlanet(slot, layout.centre, 0, -screenAngle(slot.planet, 0));
        const QPointF venus = layout.slot(Planet::venus)->centre;
        const QPointF between((venus.x() + layout.slot(Planet::earth)->centre.x()) / 2, venus.y());
        ASSERT_TRUE(layout.slot(Planet::earth)->imageRect.contains(between));
        EXPECT_EQ(layout.bodyAt(between), SolarSystemObject::planet(Planet::venus));
    }

    struct BadInputCase {
        std::string name;
        OrreryInputs inputs;
        OrreryInputs sameAs; // the inputs that the bad ones count as
    };

    void PrintTo(const BadInputCase& c, std::ostream* os) { *os << c.name; }

    class OrreryBadInput : public ::testing::TestWithParam<BadInputCase> { };

    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();

    TEST_P(OrreryBadInput, HasTheDocumentedMeaning)
    {
        const OrreryLayout bad = layoutOrrery(GetParam().inputs, epochUtc);
        const OrreryLayout good = layoutOrrery(GetParam().sameAs, epochUtc);
        EXPECT_EQ(bad.sunSquare, good.sunSquare);
        ASSERT_EQ(bad.rings.size(), good.rings.size());
        for (std::size_t k = 0; k < bad.rings.size(); ++k) {
            EXPECT_EQ(bad.rings[k].strokeRect, good.rings[k].strokeRect) << k;
            EXPECT_EQ(bad.rings[k].strokeWidth, good.rings[k].strokeWidth) << k;
            EXPECT_EQ(bad.rings[k].imageRect, good.rings[k].imageRect) << k;
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrreryBadInput,
        ::testing::Values(BadInputCase { "NaNDiameter", { .diameter = nan }, { .diameter = 0 } },
            BadInputCase { "NegativeDiameter", { .diameter = -400 }, { .diameter = 0 } },
            BadInputCase { "NegativeLineWidth", { .lineWidth = -1 }, { .lineWidth = 0 } },
            // A stroke wider than a ring's radius fills its disc and no more.
            BadInputCase { "HugeLineWidth", { .lineWidth = 1e9 }, { .lineWidth = 1000 } },
            BadInputCase { "NaNMinLength", { .minLength = nan }, { .minLength = 0 } },
            BadInputCase { "InfiniteDate", { .date = -inf }, { .date = 0 } },
            BadInputCase { "NaNPresetPeriod", { .presetPeriod = nan }, { .presetPeriod = 0 } }),
        [](const ::testing::TestParamInfo<BadInputCase>& info) { return info.param.name; });

} // namespace
} // namespace heliora
