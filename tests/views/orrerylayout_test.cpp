#include "orrerylayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
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
        double diameter;
        bool showPluto;
        bool innerOnly;
        double minLength;
        int ringCount;
        double sunSide;
        std::vector<double> ringDiameters; // innermost first
        std::vector<Planet> planets; // innermost first
        double planetSide; // the 1/12 planets
        double smallPlanetSide; // Jupiter and Uranus, 1/14
    };

    void PrintTo(const RingCase& c, std::ostream* os) { *os << c.name; }

    const std::vector<Planet> eight(eightPlanets.begin(), eightPlanets.end());
    const std::vector<Planet> nine(allPlanets.begin(), allPlanets.end());
    const std::vector<Planet> inner(innerPlanets.begin(), innerPlanets.end());

    const RingCase ringCases[] = {
        { "D400", 400, false, false, 8, 9, 44.444,
            { 88.889, 133.333, 177.778, 222.222, 266.667, 311.111, 355.556, 400 }, eight, 33.333, 28.571 },
        { "D400Pluto", 400, true, false, 8, 10, 40, { 80, 120, 160, 200, 240, 280, 320, 360, 400 }, nine, 33.333,
            28.571 },
        { "D135_2", 135.2, false, false, 8, 9, 15.022,
            { 30.044, 45.067, 60.089, 75.111, 90.133, 105.156, 120.178, 135.2 }, eight, 11.267, 9.657 },
        // At D = 80 the planets' 6.667 and 5.714 are raised to the minimum length.
        { "D80", 80, false, false, 8, 9, 8.889, { 17.778, 26.667, 35.556, 44.444, 53.333, 62.222, 71.111, 80 }, eight,
            8, 8 },
        { "D80NoMinimum", 80, false, false, 0, 9, 8.889, { 17.778, 26.667, 35.556, 44.444, 53.333, 62.222, 71.111, 80 },
            eight, 6.667, 5.714 },
        // The Sun never shrinks below the minimum length either: 30 / 9 = 3.333.
        { "D30", 30, false, false, 8, 9, 8, { 6.667, 10, 13.333, 16.667, 20, 23.333, 26.667, 30 }, eight, 8, 8 },
        { "InnerOnly", 400, false, true, 8, 5, 80, { 160, 240, 320, 400 }, inner, 33.333, 28.571 },
        // Inner-only wins over Pluto.
        { "InnerOnlyWithPluto", 400, true, true, 8, 5, 80, { 160, 240, 320, 400 }, inner, 33.333, 28.571 },
    };

    OrreryInputs inputsFor(const RingCase& c)
    {
        OrreryInputs in;
        in.diameter = c.diameter;
        in.showPluto = c.showPluto;
        in.showOnlyInnerPlanets = c.innerOnly;
        in.minLength = c.minLength;
        in.date = start2024;
        return in;
    }

    class OrreryRings : public ::testing::TestWithParam<RingCase> { };

    TEST_P(OrreryRings, MatchTheKnownGeometry)
    {
        const RingCase& c = GetParam();
        const OrreryLayout layout = layoutOrrery(inputsFor(c), epochUtc);
        EXPECT_EQ(layout.ringCount, c.ringCount);
        EXPECT_NEAR(layout.sunSquare.width(), c.sunSide, 1e-3);
        EXPECT_NEAR(layout.sunSquare.height(), c.sunSide, 1e-3);
        EXPECT_EQ(layout.sunSquare.center(), QPointF(c.diameter / 2, c.diameter / 2));
        ASSERT_EQ(layout.rings.size(), c.ringDiameters.size());
        // Drawing order runs from the outermost ring inwards.
        for (std::size_t k = 0; k < layout.rings.size(); ++k) {
            const OrrerySlot& slot = layout.rings[layout.rings.size() - 1 - k];
            SCOPED_TRACE(std::string(rawValue(slot.planet)));
            EXPECT_EQ(slot.index, static_cast<int>(k) + 1);
            EXPECT_EQ(slot.planet, c.planets[k]);
            EXPECT_NEAR(slot.ringDiameter, c.ringDiameters[k], 1e-3);
            const bool small = slot.planet == Planet::jupiter || slot.planet == Planet::uranus;
            EXPECT_NEAR(slot.square.width(), small ? c.smallPlanetSide : c.planetSide, 1e-3);
            EXPECT_NEAR(slot.square.height(), slot.square.width(), 1e-9);
        }
        // The outermost ring is exactly D.
        EXPECT_EQ(layout.rings.front().ringDiameter, c.diameter);
    }

    TEST_P(OrreryRings, PlacesEveryPlanetOnItsRingUpright)
    {
        const RingCase& c = GetParam();
        const OrreryLayout layout = layoutOrrery(inputsFor(c), epochUtc);
        const QPointF centre(c.diameter / 2, c.diameter / 2);
        for (const OrrerySlot& slot : layout.rings) {
            SCOPED_TRACE(std::string(rawValue(slot.planet)));
            const double r = slot.ringDiameter / 2;
            const double phi = slot.phi * pi / 180;
            EXPECT_NEAR(slot.centre.x(), centre.x() + r * std::cos(phi), 1e-9);
            EXPECT_NEAR(slot.centre.y(), centre.y() - r * std::sin(phi), 1e-9);
            EXPECT_GE(slot.phi, 0.0);
            EXPECT_LT(slot.phi, 360.0);
            EXPECT_EQ(slot.square.center(), slot.centre);
            EXPECT_EQ(slot.imageRect.center(), slot.centre);
            // The stroke lies inside the ring's circle: ink from r − w to r.
            EXPECT_NEAR(slot.strokeRect.width(), slot.ringDiameter - 1, 1e-9);
            EXPECT_EQ(slot.strokeRect.center(), centre);
            EXPECT_EQ(slot.strokeWidth, 1.0);
        }
    }

    TEST_P(OrreryRings, MarginCoversTheFarthestPictureAtAnyAngle)
    {
        const RingCase& c = GetParam();
        const OrreryLayout layout = layoutOrrery(inputsFor(c), epochUtc);
        const double outerSide = layout.rings.front().square.width();
        EXPECT_NEAR(layout.margin, outerSide / 2, 1e-9);
        EXPECT_NEAR(layout.bounds().width(), c.diameter + outerSide, 1e-9);
        // Whatever the angles, every picture stays inside the bounds.
        for (OrrerySlot slot : layout.rings) {
            for (int degrees = 0; degrees < 360; degrees += 15) {
                placePlanet(slot, layout.centre, 0, degrees - screenAngle(slot.planet, 0));
                EXPECT_TRUE(layout.bounds().adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(slot.square))
                    << rawValue(slot.planet) << " at " << degrees;
            }
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrreryRings, ::testing::ValuesIn(ringCases),
        [](const ::testing::TestParamInfo<RingCase>& info) { return info.param.name; });

    TEST(OrreryLayout, SunIsHalfTheInnermostRing)
    {
        for (const double d : { 400.0, 300.0, 135.2, 80.0 }) {
            for (const bool pluto : { false, true }) {
                OrreryInputs in;
                in.diameter = d;
                in.showPluto = pluto;
                const OrreryLayout layout = layoutOrrery(in, epochUtc);
                EXPECT_NEAR(layout.sunSquare.width(), layout.rings.back().ringDiameter / 2, 1e-9) << d << " " << pluto;
            }
        }
    }

    TEST(OrreryLayout, PictureSquaresDoNotDependOnTheRingCount)
    {
        OrreryInputs in;
        const OrreryLayout eightRings = layoutOrrery(in, epochUtc);
        in.showPluto = true;
        const OrreryLayout nineRings = layoutOrrery(in, epochUtc);
        for (const Planet p : eightPlanets)
            EXPECT_EQ(eightRings.slot(p)->square.size(), nineRings.slot(p)->square.size()) << rawValue(p);
        EXPECT_EQ(eightRings.slot(Planet::pluto), nullptr);
        EXPECT_NE(nineRings.slot(Planet::pluto), nullptr);
    }

    TEST(OrreryLayout, SaturnsPictureIsTwiceAsWideAsTall)
    {
        const OrreryLayout layout = layoutOrrery({}, epochUtc);
        const OrrerySlot* saturn = layout.slot(Planet::saturn);
        ASSERT_NE(saturn, nullptr);
        EXPECT_NEAR(saturn->imageRect.width(), saturn->square.width(), 1e-9);
        EXPECT_NEAR(saturn->imageRect.height(), saturn->square.width() / 2, 1e-9);
        EXPECT_EQ(layout.sunImageRect, layout.sunSquare);
    }

    TEST(OrreryLayout, EarthAtTheEpochStandsAtItsKnownAngle)
    {
        // With no preset period, at the epoch itself, Earth's direction is 102.94719 + 357.43589 − 360 degrees.
        OrreryInputs in;
        in.presetPeriod = 0;
        in.date = epochUtc;
        const OrreryLayout layout = layoutOrrery(in, epochUtc);
        const OrrerySlot* earth = layout.slot(Planet::earth);
        ASSERT_NE(earth, nullptr);
        EXPECT_NEAR(earth->phi, 100.38308, 1e-4);
        EXPECT_NEAR(earth->nu, 11157.43589, 1e-5);
        // Up and a little to the left of the Sun.
        EXPECT_NEAR(earth->centre.x(), 200 + 88.888889 * std::cos(100.38308 * pi / 180), 1e-4);
        EXPECT_NEAR(earth->centre.y(), 200 - 88.888889 * std::sin(100.38308 * pi / 180), 1e-4);
    }

    TEST(OrreryLayout, AnglesWithThePresetStepByQuarterDegrees)
    {
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        for (const OrrerySlot& slot : layout.rings) {
            EXPECT_GT(slot.nu, 1.1e15) << rawValue(slot.planet);
            EXPECT_EQ(std::fmod(std::fmod(slot.nu, 360.0), 0.25), 0.0) << rawValue(slot.planet);
        }
        EXPECT_NEAR(layout.slot(Planet::earth)->phi, std::fmod(356.75 + 102.94719, 360.0), 1e-9);
    }

    TEST(OrreryLayout, ExtraAngleIsNotLostToTheSizeOfTheUnwrappedAngle)
    {
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        OrrerySlot slot = *layout.slot(Planet::mars);
        const double phi = slot.phi;
        placePlanet(slot, layout.centre, slot.nu, 0.1);
        EXPECT_NEAR(slot.phi, phi + 0.1, 1e-9);
        // Whole turns of extra angle land in the same place; a quarter turn goes counter-clockwise.
        placePlanet(slot, layout.centre, slot.nu, -720.0);
        EXPECT_NEAR(slot.phi, phi, 1e-9);
        OrrerySlot atRight = slot;
        placePlanet(atRight, layout.centre, 0, -screenAngle(Planet::mars, 0));
        EXPECT_NEAR(atRight.centre.x(), layout.centre.x() + atRight.ringRadius, 1e-9);
        OrrerySlot atTop = slot;
        placePlanet(atTop, layout.centre, 0, 90 - screenAngle(Planet::mars, 0));
        EXPECT_NEAR(atTop.centre.y(), layout.centre.y() - atTop.ringRadius, 1e-9);
    }

    OrrerySlot& slotOf(OrreryLayout& layout, Planet planet)
    {
        for (OrrerySlot& slot : layout.rings) {
            if (slot.planet == planet)
                return slot;
        }
        throw std::logic_error("planet not shown");
    }

    struct HitCase {
        std::string name;
        // The point relative to a planet's picture: fractions of its width and height from its centre.
        Planet planet;
        double dx;
        double dy;
        bool hits;
    };

    void PrintTo(const HitCase& c, std::ostream* os) { *os << c.name; }

    class OrreryHitTest : public ::testing::TestWithParam<HitCase> { };

    TEST_P(OrreryHitTest, TheDrawnPictureTakesTheClick)
    {
        const HitCase& c = GetParam();
        const OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        const OrrerySlot* slot = layout.slot(c.planet);
        ASSERT_NE(slot, nullptr);
        const QPointF point = slot->centre + QPointF(c.dx * slot->imageRect.width(), c.dy * slot->imageRect.height());
        const auto body = layout.bodyAt(point);
        if (c.hits) {
            ASSERT_TRUE(body.has_value());
            EXPECT_EQ(*body, SolarSystemObject::planet(c.planet));
        } else {
            EXPECT_NE(body, SolarSystemObject::planet(c.planet));
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrreryHitTest,
        ::testing::Values(HitCase { "MarsCentre", Planet::mars, 0, 0, true },
            HitCase { "MarsEdge", Planet::mars, 0.49, 0.49, true },
            HitCase { "BesideMars", Planet::mars, 0.6, 0, false },
            HitCase { "SaturnRingTip", Planet::saturn, 0.48, 0, true },
            // Saturn's picture is half as tall as its square: the square's top quarter is not Saturn.
            HitCase { "AboveSaturnInItsSquare", Planet::saturn, 0, -0.75, false }),
        [](const ::testing::TestParamInfo<HitCase>& info) { return info.param.name; });

    TEST(OrreryLayout, InnerPlanetCoversOuterAndNothingIsHitOnEmptySpace)
    {
        OrreryLayout layout = layoutOrrery({ .date = start2024 }, epochUtc);
        // Put Venus and Earth in the same direction: their pictures overlap and Venus, drawn later, is in front.
        OrrerySlot& venus = slotOf(layout, Planet::venus);
        OrrerySlot& earth = slotOf(layout, Planet::earth);
        placePlanet(venus, layout.centre, 0, -screenAngle(Planet::venus, 0));
        placePlanet(earth, layout.centre, 0, -screenAngle(Planet::earth, 0));
        const QPointF between((venus.centre.x() + earth.centre.x()) / 2, layout.centre.y());
        ASSERT_TRUE(earth.imageRect.contains(between));
        EXPECT_EQ(layout.bodyAt(between), SolarSystemObject::planet(Planet::venus));
        EXPECT_EQ(layout.bodyAt(layout.centre), SolarSystemObject::sun());
        EXPECT_EQ(layout.bodyAt(QPointF(-5, -5)), std::nullopt);
        EXPECT_EQ(layout.bodyAt(QPointF(1, 1)), std::nullopt);
    }

    TEST(OrreryLayout, BodiesAreTheSunThenThePlanetsInOrder)
    {
        const std::vector<SolarSystemObject> bodies = layoutOrrery({ .showPluto = true }, epochUtc).bodies();
        ASSERT_EQ(bodies.size(), 10u);
        EXPECT_EQ(bodies[0], SolarSystemObject::sun());
        for (const Planet p : allPlanets)
            EXPECT_EQ(bodies[indexOf(p) + 1], SolarSystemObject::planet(p));
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
        const BadInputCase& c = GetParam();
        const OrreryLayout bad = layoutOrrery(c.inputs, epochUtc);
        const OrreryLayout good = layoutOrrery(c.sameAs, epochUtc);
        EXPECT_EQ(bad.diameter, good.diameter);
        EXPECT_EQ(bad.sunSquare, good.sunSquare);
        EXPECT_EQ(bad.margin, good.margin);
        ASSERT_EQ(bad.rings.size(), good.rings.size());
        for (std::size_t k = 0; k < bad.rings.size(); ++k) {
            SCOPED_TRACE(std::string(rawValue(bad.rings[k].planet)));
            EXPECT_EQ(bad.rings[k].strokeRect, good.rings[k].strokeRect);
            EXPECT_EQ(bad.rings[k].strokeWidth, good.rings[k].strokeWidth);
            EXPECT_EQ(bad.rings[k].phi, good.rings[k].phi);
            EXPECT_EQ(bad.rings[k].imageRect, good.rings[k].imageRect);
            EXPECT_TRUE(std::isfinite(bad.rings[k].centre.x()) && std::isfinite(bad.rings[k].centre.y()));
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrreryBadInput,
        ::testing::Values(BadInputCase { "NaNDiameter", { .diameter = nan }, { .diameter = 0 } },
            BadInputCase { "NegativeDiameter", { .diameter = -400 }, { .diameter = 0 } },
            BadInputCase { "InfiniteDiameter", { .diameter = inf }, { .diameter = 0 } },
            BadInputCase { "NegativeLineWidth", { .lineWidth = -1 }, { .lineWidth = 0 } },
            BadInputCase { "NaNMinLength", { .minLength = nan }, { .minLength = 0 } },
            BadInputCase { "NaNDate", { .date = nan }, { .date = 0 } },
            BadInputCase { "InfiniteDate", { .date = -inf }, { .date = 0 } },
            BadInputCase { "NaNPresetPeriod", { .presetPeriod = nan }, { .presetPeriod = 0 } }),
        [](const ::testing::TestParamInfo<BadInputCase>& info) { return info.param.name; });

    TEST(OrreryLayout, FarDatesAndHugePresetsStillGiveFiniteAngles)
    {
        for (const double date : { 1e300, -1e300, 1e18 }) {
            for (const double preset : { presetPeriod, 1e300 }) {
                const OrreryLayout layout = layoutOrrery({ .date = date, .presetPeriod = preset }, epochUtc);
                for (const OrrerySlot& slot : layout.rings) {
                    EXPECT_TRUE(slot.phi >= 0 && slot.phi < 360)
                        << date << " " << preset << " " << rawValue(slot.planet);
                    EXPECT_NEAR(std::hypot(slot.centre.x() - 200, slot.centre.y() - 200), slot.ringRadius, 1e-6);
                }
            }
        }
    }

    TEST(OrreryLayout, ZeroLineWidthDrawsNoRingAndAHugeOneFillsTheDisc)
    {
        const OrreryLayout none = layoutOrrery({ .lineWidth = 0 }, epochUtc);
        for (const OrrerySlot& slot : none.rings)
            EXPECT_EQ(slot.strokeWidth, 0.0);
        const OrreryLayout thick = layoutOrrery({ .lineWidth = 1000 }, epochUtc);
        for (const OrrerySlot& slot : thick.rings) {
            EXPECT_EQ(slot.strokeWidth, slot.ringRadius) << rawValue(slot.planet);
            EXPECT_NEAR(slot.strokeRect.width(), slot.ringRadius, 1e-9);
        }
    }

} // namespace
} // namespace heliora
