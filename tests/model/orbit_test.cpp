#include "model/orbit.h"

#include "support/scopedenv.h"
#include "support/zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace heliora {
namespace {

    using test::zone;

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z

    struct AngleCase {
        Planet planet;
        double date;
        double expected;
    };

    void PrintTo(const AngleCase& c, std::ostream* os) { *os << rawValue(c.planet) << " at " << c.date; }

    class OrbitalAngleUtc : public ::testing::TestWithParam<AngleCase> { };

    TEST_P(OrbitalAngleUtc, MatchesKnownValues)
    {
        const auto& c = GetParam();
        EXPECT_NEAR(orbitalAngle(c.planet, c.date, 0.0, 100.0, *zone("UTC")), c.expected, 1e-5);
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrbitalAngleUtc,
        ::testing::Values(AngleCase { Planet::earth, epochUtc, 11157.43589 },
            AngleCase { Planet::mercury, epochUtc, 45170.93210 }, AngleCase { Planet::pluto, epochUtc, 369.25087 },
            AngleCase { Planet::mercury, start2024, 81048.57993 }, AngleCase { Planet::earth, start2024, 19796.78266 },
            AngleCase { Planet::pluto, start2024, 412.50992 }));

    TEST(OrbitalAngle, PresetPeriodGivesQuarterDegreeSteps)
    {
        const auto utc = zone("UTC");
        for (const Planet p : allPlanets) {
            const double nu = orbitalAngle(p, start2024, presetPeriod, 100.0, *utc);
            EXPECT_NEAR(nu, 1.135284647e15, 1e7) << rawValue(p);
            EXPECT_EQ(std::fmod(std::fmod(nu, 360.0), 0.25), 0.0) << rawValue(p);
        }
        EXPECT_EQ(std::fmod(orbitalAngle(Planet::earth, start2024, presetPeriod, 100.0, *utc), 360.0), 356.75);
    }

    // The epoch is 2000-01-01 11:58:55 on the user's wall clock: nine hours east, Earth is about 0.38° further.
    TEST(OrbitalAngle, TheUsersZoneMovesTheEpoch)
    {
        const test::ScopedEnv env { { "TZ", "Asia/Tokyo" } };
        const double utc = orbitalAngle(Planet::earth, start2024, 0.0, 100.0, *zone("UTC"));
        EXPECT_NEAR(orbitalAngle(Planet::earth, start2024, 0.0, 100.0) - utc, 0.38, 0.01);
    }

    // Two centuries either side of today, a step a little under a Mercury orbit; and the end of a Mercury turn in
    // March 2024, where θ/π rounded to a double says so about an hour before sine and cosine do: the unwrapped angle
    // moves on smoothly, never back and never a turn ahead.
    TEST(OrbitalAngle, NeverStepsBackAsTheDateAdvances)
    {
        const auto expectSmooth = [](Planet p, double from, double to, double step, double largestMove) {
            double previous = orbitalAngleFromEpoch(p, from, presetPeriod, 100.0, epochUtc);
            for (double date = from + step; date <= to; date += step) {
                const double nu = orbitalAngleFromEpoch(p, date, presetPeriod, 100.0, epochUtc);
                ASSERT_GE(nu, previous) << rawValue(p) << " at " << date;
                ASSERT_LT(nu - previous, largestMove) << rawValue(p) << " at " << date;
                previous = nu;
            }
        };
        for (const Planet p : allPlanets)
            expectSmooth(p, -6.3e9, 6.3e9, 7.0e6, INFINITY);
        expectSmooth(Planet::mercury, 1710823000.0, 1710828000.0, 10.0, 1.0);
    }

    struct WildCase {
        double date;
        double presetPeriod;
    };

    void PrintTo(const WildCase& c, std::ostream* os) { *os << c.date << " preset " << c.presetPeriod; }

    class OrbitalAngleOutsideTheModel : public ::testing::TestWithParam<WildCase> { };

    TEST_P(OrbitalAngleOutsideTheModel, HasADefinedResultWithoutTurns)
    {
        // Phases whose turn count does not fit 64 bits keep the angle within one turn (and UBSan sees no
        // out-of-range conversion); non-finite dates give NaN.
        const double nu = orbitalAngle(Planet::venus, GetParam().date, GetParam().presetPeriod, 100.0, *zone("UTC"));
        if (std::isfinite(GetParam().date) && std::isfinite(GetParam().presetPeriod)) {
            EXPECT_GT(nu, 0.0);
            EXPECT_LE(nu, 360.0);
        } else {
            EXPECT_TRUE(std::isnan(nu));
        }
    }

    INSTANTIATE_TEST_SUITE_P(Table, OrbitalAngleOutsideTheModel,
        ::testing::Values(WildCase { 1e300, presetPeriod }, WildCase { -1e300, presetPeriod }, WildCase { 1e30, 0.0 },
            WildCase { 0.0, 1e300 }, WildCase { std::numeric_limits<double>::infinity(), presetPeriod },
            WildCase { std::numeric_limits<double>::quiet_NaN(), presetPeriod }));

    TEST(ScreenAngle, ReducesHugeAnglesWithoutLosingTheLongitude)
    {
        const double nu = orbitalAngle(Planet::earth, epochUtc, 0.0, 100.0, *zone("UTC"));
        EXPECT_NEAR(screenAngle(Planet::earth, nu), 100.38, 0.005);
        EXPECT_NEAR(screenAngle(Planet::earth, 1135284647059796.75), std::fmod(356.75 + 102.94719, 360.0), 1e-9);
        EXPECT_NEAR(screenAngle(Planet::mercury, -10.0), 77.45645 - 10.0, 1e-12);
    }

} // namespace
} // namespace heliora
