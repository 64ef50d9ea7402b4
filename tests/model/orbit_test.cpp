#include "model/orbit.h"

#include "model/environment.h"
#include "support/scopedenv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace heliora {
namespace {

    constexpr double epochUtc = 946727935.0; // 2000-01-01T11:58:55Z
    constexpr double start2024 = 1704067200.0; // 2024-01-01T00:00:00Z

    std::unique_ptr<icu::TimeZone> zone(const char* id)
    {
        auto z = timeZoneFromId(id);
        EXPECT_NE(z, nullptr) << id;
        return z;
    }

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
            const double remainder = std::fmod(nu, 360.0);
            EXPECT_EQ(std::fmod(remainder, 0.25), 0.0) << rawValue(p);
        }
        EXPECT_EQ(std::fmod(orbitalAngle(Planet::earth, start2024, presetPeriod, 100.0, *utc), 360.0), 356.75);
    }

    TEST(OrbitalAngle, EpochFollowsTheTimeZone)
    {
        EXPECT_EQ(referenceEpoch(*zone("UTC")), epochUtc);
        EXPECT_EQ(referenceEpoch(*zone("Asia/Tokyo")), epochUtc - 9 * 3600);
        EXPECT_EQ(referenceEpoch(*zone("Pacific/Kiritimati")), epochUtc - 14 * 3600);
        // January is winter time in New York (UTC-5).
        EXPECT_EQ(referenceEpoch(*zone("America/New_York")), epochUtc + 5 * 3600);
    }

    TEST(OrbitalAngle, NineHoursEastMovesEarthAboutPointThreeEightDegrees)
    {
        const double utc = orbitalAngle(Planet::earth, start2024, 0.0, 100.0, *zone("UTC"));
        EXPECT_NEAR(orbitalAngle(Planet::earth, start2024, 0.0, 100.0, *zone("Asia/Tokyo")) - utc, 0.38, 0.01);
    }

    TEST(OrbitalAngle, DefaultZoneIsTheUsersZone)
    {
        test::ScopedEnv env { { "TZ", "Asia/Tokyo" } };
        EXPECT_EQ(referenceEpoch(), epochUtc - 9 * 3600);
        EXPECT_EQ(orbitalAngle(Planet::mars, start2024, presetPeriod, 100.0),
            orbitalAngle(Planet::mars, start2024, presetPeriod, 100.0, *zone("Asia/Tokyo")));
    }

    TEST(OrbitalAngle, NeverStepsBackAsTheDateAdvances)
    {
        const double epoch = referenceEpoch(*zone("UTC"));
        for (const Planet p : allPlanets) {
            double previous = -std::numeric_limits<double>::infinity();
            // Two centuries either side of today, a step a little under a Mercury orbit.
            for (double date = -6.3e9; date <= 6.3e9; date += 7.0e6) {
                const double nu = orbitalAngleFromEpoch(p, date, presetPeriod, 100.0, epoch);
                ASSERT_GE(nu, previous) << rawValue(p) << " at " << date;
                previous = nu;
            }
        }
    }

    TEST(OrbitalAngle, TurnCountAgreesWithThePhaseAtTheEndOfATurn)
    {
        // In March 2024 Mercury finishes a turn; θ/π rounded to a double says so about an hour before sine and
        // cosine do. The unwrapped angle must move on smoothly, not leap a turn ahead and back.
        const double epoch = epochUtc;
        double previous = orbitalAngleFromEpoch(Planet::mercury, 1710823000.0, presetPeriod, 100.0, epoch);
        for (double date = 1710823000.0; date <= 1710828000.0; date += 10.0) {
            const double nu = orbitalAngleFromEpoch(Planet::mercury, date, presetPeriod, 100.0, epoch);
            ASSERT_GE(nu, previous) << date;
            ASSERT_LT(nu - previous, 1.0) << date;
            previous = nu;
        }
    }

    TEST(OrbitalAngle, RadiusZeroLandsOnTheAxis)
    {
        // atan2 sees a pair of signed zeros: the angle without turns is 360 or 180, by the sign of cos θ.
        const auto utc = zone("UTC");
        bool sawFull = false;
        for (double date = 0; date < 4e8; date += 1.3e7) {
            const double nu = orbitalAngle(Planet::earth, date, 0.0, 0.0, *utc);
            const double part = std::fmod(nu, 360.0);
            EXPECT_TRUE(part == 0.0 || part == 180.0) << nu;
            sawFull = sawFull || part == 0.0;
        }
        EXPECT_TRUE(sawFull);
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
