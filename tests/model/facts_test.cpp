#include "model/facts.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    const SolarSystemObject sun = SolarSystemObject::sun();
    SolarSystemObject planet(Planet p) { return SolarSystemObject::planet(p); }

    TEST(Facts, EarthLacksWhatIsSeenFromEarth)
    {
        const PhysicalFacts& f = facts(planet(Planet::earth));
        EXPECT_FALSE(f.maximumApparentMagnitude);
        EXPECT_FALSE(f.maxDistanceFromEarth);
        EXPECT_FALSE(f.minDistanceFromEarth);
        EXPECT_EQ(f.maxOrbitalVelocity, 30.29);
        EXPECT_EQ(f.minOrbitalVelocity, 29.29);
        EXPECT_EQ(f.naturalSatellites, 1);
        for (auto fact : { EarthComparable::mass, EarthComparable::radius, EarthComparable::rotationPeriodHours })
            EXPECT_FALSE(earthRatio(planet(Planet::earth), fact));
        EXPECT_FALSE(distanceInAstronomicalUnits(planet(Planet::earth), DistanceExtreme::maximum));
    }

    TEST(Facts, TheSunHasNoOrbitButHasRatiosAndDistances)
    {
        const PhysicalFacts& f = facts(sun);
        EXPECT_FALSE(f.naturalSatellites);
        EXPECT_FALSE(f.orbitalPeriodDays);
        EXPECT_FALSE(f.maxOrbitalVelocity);
        EXPECT_FALSE(f.minOrbitalVelocity);
        EXPECT_FALSE(orbitalPeriodDisplay(sun));
        EXPECT_EQ(f.mass, 1988500.0);
        EXPECT_NEAR(*earthRatio(sun, EarthComparable::mass), 332948.2, 0.05);
        EXPECT_NEAR(*distanceInAstronomicalUnits(sun, DistanceExtreme::maximum), 1.0167, 1e-4);
        EXPECT_NEAR(*distanceInAstronomicalUnits(sun, DistanceExtreme::minimum), 0.9833, 1e-4);
    }

    TEST(Facts, ValuesThatAreEasyToMixUp)
    {
        EXPECT_EQ(facts(planet(Planet::mercury)).naturalSatellites, 0);
        EXPECT_EQ(facts(planet(Planet::mercury)).maxOrbitalVelocity, 58.98);
        EXPECT_GT(*facts(planet(Planet::pluto)).maxOrbitalVelocity, *facts(planet(Planet::neptune)).maxOrbitalVelocity);
        EXPECT_LT(
            *facts(planet(Planet::pluto)).minDistanceFromEarth, *facts(planet(Planet::neptune)).minDistanceFromEarth);
    }

    TEST(Facts, EveryBodyIsConsistent)
    {
        for (const SolarSystemObject& o : allSolarSystemObjects()) {
            const PhysicalFacts& f = facts(o);
            if (f.maxOrbitalVelocity) {
                EXPECT_GE(*f.maxOrbitalVelocity, *f.minOrbitalVelocity) << o.name();
            }
            if (f.maxDistanceFromEarth) {
                EXPECT_GT(*f.maxDistanceFromEarth, *f.minDistanceFromEarth) << o.name();
            }
            EXPECT_NEAR(f.diameter, 2 * f.radius, 1e-9) << o.name();
            // The retrograde note is a fixed set of bodies; it coincides with the negative rotations.
            EXPECT_EQ(showsRetrogradeNote(o), f.rotationPeriodHours < 0) << o.name();
            EXPECT_EQ(o.isEarth(), !f.maximumApparentMagnitude.has_value()) << o.name();
        }
    }

    TEST(Facts, RatiosKeepTheirSignAndDistancesUseDoubleArithmetic)
    {
        EXPECT_NEAR(*earthRatio(planet(Planet::venus), EarthComparable::rotationPeriodHours), -244.0377, 1e-4);
        EXPECT_EQ(*distanceInAstronomicalUnits(planet(Planet::neptune), DistanceExtreme::minimum),
            4305899999999.9995 / 149597870700.0);
    }

    struct PeriodCase {
        Planet planet;
        std::int64_t count;
        PeriodUnit unit;
    };

    void PrintTo(const PeriodCase& c, std::ostream* os) { *os << rawValue(c.planet); }

    class OrbitalPeriod : public ::testing::TestWithParam<PeriodCase> { };

    TEST_P(OrbitalPeriod, SplitsByBody)
    {
        const auto& c = GetParam();
        EXPECT_EQ(orbitalPeriodDisplay(planet(c.planet)), (OrbitalPeriodDisplay { c.count, c.unit }));
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrbitalPeriod,
        ::testing::Values(PeriodCase { Planet::mercury, 88, PeriodUnit::days },
            PeriodCase { Planet::venus, 225, PeriodUnit::days }, PeriodCase { Planet::earth, 365, PeriodUnit::days },
            PeriodCase { Planet::mars, 687, PeriodUnit::days }, PeriodCase { Planet::jupiter, 12, PeriodUnit::years },
            PeriodCase { Planet::saturn, 29, PeriodUnit::years }, PeriodCase { Planet::uranus, 84, PeriodUnit::years },
            PeriodCase { Planet::neptune, 165, PeriodUnit::years },
            PeriodCase { Planet::pluto, 248, PeriodUnit::years }));

} // namespace
} // namespace heliora
