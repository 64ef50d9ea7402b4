#include "clock/isodate.h"

#include "support/utcseconds.h"
#include "support/zone.h"

#include <gtest/gtest.h>

namespace heliora {
namespace {

    using test::utcSeconds;

    struct IsoCase {
        const char* text;
        std::optional<double> date;
        const char* zone = "UTC";
    };

    void PrintTo(const IsoCase& c, std::ostream* os) { *os << '"' << c.text << "\" in " << c.zone; }

    class IsoDate : public ::testing::TestWithParam<IsoCase> { };

    TEST_P(IsoDate, NamesAnInstantOrNothing)
    {
        EXPECT_EQ(parseIsoDate(QString::fromUtf8(GetParam().text), *test::zone(GetParam().zone)), GetParam().date);
    }

    const std::nullopt_t none = std::nullopt;

    INSTANTIATE_TEST_SUITE_P(Table, IsoDate,
        ::testing::Values(IsoCase { "@-1.5", -1.5 }, IsoCase { "@1e300", 1e300 }, IsoCase { "@inf", none },
            IsoCase { "@", none }, IsoCase { "2024-01-31T10:00:00+09:00", utcSeconds(2024, 1, 31, 1) },
            IsoCase { "2024-01-31T10:00:00.5Z", utcSeconds(2024, 1, 31, 10) + 0.5, "Asia/Tokyo" },
            // Without an offset the wall clock of the zone counts, also for a day that ICU would count as Julian.
            IsoCase { "2024-01-31T10:00", utcSeconds(2024, 1, 31, 1), "Asia/Tokyo" },
            IsoCase { "2024-07-01", utcSeconds(2024, 6, 30, 22), "Europe/Berlin" },
            IsoCase { "1000-03-01", utcSeconds(1000, 3, 1) }, IsoCase { "0001-01-01", utcSeconds(1, 1, 1) },
            // A time that a daylight-saving change skips moves on by the gap.
            IsoCase { "2024-03-31T02:30", utcSeconds(2024, 3, 31, 1, 30), "Europe/Berlin" },
            IsoCase { "2024-02-30", none }, IsoCase { "2024-01-31T25:00", none }, IsoCase { "tomorrow", none },
            IsoCase { "2024-01-31T10:00:00+99:00", none }));

} // namespace
} // namespace heliora
