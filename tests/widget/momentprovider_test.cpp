#include "widget/momentprovider.h"

#include "support/rows.h"
#include "support/scopedenv.h"
#include "support/utcseconds.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

namespace heliora {
namespace {

    using test::PrintTo;
    using test::utcSeconds;
    using widgetkit::Timeline;
    using widgetkit::TimelineContext;
    using widgetkit::TimelineEntry;
    using widgetkit::WidgetFamily;

    // A clock that answers with the given readings in turn (and repeats the last one).
    WidgetClock readings(std::deque<double> values)
    {
        return [values = std::move(values)]() mutable {
            const double value = values.front();
            if (values.size() > 1)
                values.pop_front();
            return value;
        };
    }

    struct ReloadCase {
        std::string name;
        const char* zone;
        const char* locale;
        double request;
        double expected;
    };

    class Reload : public ::testing::TestWithParam<ReloadCase> { };

    // Fifteen minutes by the calendar are fifteen minutes of time, also where the wall clock jumps or the year,
    // the calendar's era or its leap rules change; a calendar that cannot give a date falls back to the instant.
    TEST_P(Reload, IsAQuarterOfAnHourAfterTheRequest)
    {
        const test::ScopedEnv env { { "TZ", GetParam().zone }, { "LC_ALL", GetParam().locale } };
        EXPECT_DOUBLE_EQ(quarterHourAfter(GetParam().request), GetParam().expected);
    }

    constexpr double quarter = 15 * 60;
    const double farFuture = 1e16; // beyond the calendar's range of about 5.8 million years

    INSTANTIATE_TEST_SUITE_P(Table, Reload,
        ::testing::Values(
            // 01:55 CET is 5 minutes before the clocks jump from 02:00 to 03:00.
            ReloadCase { "SpringForwardBerlin", "Europe/Berlin", "de_DE.UTF-8", utcSeconds(2024, 3, 31, 0, 55),
                utcSeconds(2024, 3, 31, 0, 55) + quarter },
            // 02:50 CEST, ten minutes before the clocks fall back from 03:00 to 02:00: the reload is 02:05 CET.
            ReloadCase { "FallBackBerlin", "Europe/Berlin", "de_DE.UTF-8", utcSeconds(2024, 10, 27, 0, 50),
                utcSeconds(2024, 10, 27, 0, 50) + quarter },
            ReloadCase { "YearEndBuddhistCalendar", "Asia/Bangkok", "th_TH@calendar=buddhist",
                utcSeconds(2023, 12, 31, 16, 55), utcSeconds(2023, 12, 31, 17, 10) },
            // Julian 1582-10-04 23:50, the last evening before the calendar reform: the next day is the 15th.
            ReloadCase { "GregorianReform", "UTC", "en_US.UTF-8", utcSeconds(1582, 10, 14, 23, 50),
                utcSeconds(1582, 10, 15, 0, 5) },
            ReloadCase { "BeyondTheCalendar", "UTC", "en_US.UTF-8", farFuture, farFuture }),
        test::rowName);

    // The three requests give the same entry apart from the instant: each reads the clock once, when it is made, and
    // the timeline reads it again for its reload.
    TEST(MomentProvider, PlaceholderSnapshotAndTimelineDifferOnlyByTheirInstant)
    {
        MomentProvider provider(readings({ 100, 200, 300, 400 }));
        const TimelineContext context { QSizeF(169, 169), WidgetFamily::small };
        const TimelineEntry placeholder = provider.placeholder(context);
        TimelineEntry snapshot;
        provider.snapshot(context, [&](const TimelineEntry& entry) { snapshot = entry; });
        Timeline timeline;
        provider.timeline(context, [&](const Timeline& answer) { timeline = answer; });

        EXPECT_EQ(placeholder.date, 100);
        EXPECT_EQ(snapshot.date, 200);
        ASSERT_EQ(timeline.entries.size(), 1);
        EXPECT_EQ(timeline.entries.first().date, 300);
        EXPECT_DOUBLE_EQ(timeline.reloadAfter, 400 + quarter); // the clock read again for the reload
        for (const TimelineEntry& entry : { placeholder, snapshot, timeline.entries.first() })
            EXPECT_EQ(entry.displaySize, context.displaySize);
    }

} // namespace
} // namespace heliora
