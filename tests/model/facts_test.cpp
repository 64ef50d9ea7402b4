#include "model/facts.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    SolarSystemObject planet(Planet p) { return SolarSystemObject::planet(p); }

    // What the fact rows take for granted of every body: ranges that are ordered, a diameter of twice the radius,
    // the retrograde note exactly on the negative rotations, and nothing seen from Earth of Earth.
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
            EXPECT_EQ(showsRetrogradeNote(o), f.rotationPeriodHours < 0) << o.name();
            EXPECT_EQ(o.isEarth(), !f.maximumApparentMagnitude.has_value()) << o.name();
            EXPECT_EQ(o.isSun(), !orbitalPeriodDisplay(o).has_value()) << o.name();
        }
    }

    struct PeriodCase {
        Planet planet;
        std::int64_t count;
        PeriodUnit unit;
    };

    void PrintTo(const PeriodCase& c, std::ostream* os) { *os << rawValue(c.planet); }

    class OrbitalPeriod : public ::testing::TestWithParam<PeriodCase> { };

    // Whole days for the terrestrial planets, whole years for the others, rounded half away from zero.
    TEST_P(OrbitalPeriod, SplitsByBody)
    {
        const auto& c = GetParam();
        EXPECT_EQ(orbitalPeriodDisplay(planet(c.planet)), (OrbitalPeriodDisplay { c.count, c.unit }));
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrbitalPeriod,
        ::testing::Values(PeriodCase { Planet::mercury, 88, PeriodUnit::days },
            PeriodCase { Planet::earth, 365, PeriodUnit::days }, PeriodCase { Planet::mars, 687, PeriodUnit::days },
            PeriodCase { Planet::jupiter, 12, PeriodUnit::years }, PeriodCase { Planet::saturn, 29, PeriodUnit::years },
            PeriodCase { Planet::neptune, 165, PeriodUnit::years },
            PeriodCase { Planet::pluto, 248, PeriodUnit::years }));

} // namespace
} // namespace heliora
