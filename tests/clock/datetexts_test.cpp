#include "clock/datetexts.h"

#include "model/environment.h"
#include "strings/stringtable.h"
#include "support/utcseconds.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <random>

namespace heliora {
namespace {

    using test::utcSeconds;

    std::unique_ptr<icu::TimeZone> zone(const char* id)
    {
        auto result = timeZoneFromId(id);
        EXPECT_NE(result, nullptr) << id;
        return result;
    }

    struct DisplayCase {
        const char* expected;
        double date;
        const char* locale = "en_US";
        const char* zone = "UTC";
    };

    void PrintTo(const DisplayCase& c, std::ostream* os) { *os << c.locale << ' ' << c.date << ' ' << c.expected; }

    class DisplayDate : public ::testing::TestWithParam<DisplayCase> { };

    TEST_P(DisplayDate, WritesTheLocalDayInTheLocalesPattern)
    {
        const DisplayCase& c = GetParam();
        EXPECT_EQ(displayDateText(c.date, icu::Locale(c.locale), *zone(c.zone)), QString::fromUtf8(c.expected));
    }

    const double lateJan31 = utcSeconds(2024, 1, 31, 20);

    INSTANTIATE_TEST_SUITE_P(Table, DisplayDate,
        ::testing::Values(DisplayCase { "01/31/2024", lateJan31 }, DisplayCase { "31/01/2024", lateJan31, "en_GB" },
            DisplayCase { "31.01.2024", lateJan31, "de_DE" }, DisplayCase { "2024/01/31", lateJan31, "ja_JP" },
            DisplayCase { "02/01/2024", lateJan31, "en_US", "Asia/Tokyo" }, // already 1 February there
            DisplayCase { "12/31/0001 BC", utcSeconds(0, 12, 31, 12) },
            // Proleptic Gregorian: the ten days that the switch of 1582 skipped exist.
            DisplayCase { "10/10/1582", utcSeconds(1582, 10, 10, 12) },
            // Either side of the span that ICU is asked about directly, and beyond ICU's reach (5.8 million years).
            DisplayCase { "01/01/11970", utcSeconds(11'970, 1, 1, 0, 0, 1) },
            DisplayCase { "12/31/8032 BC", utcSeconds(-8'031, 12, 31, 23, 59, 59) },
            DisplayCase { "04.07.100000000000", utcSeconds(100'000'000'000, 7, 4, 12), "de_DE" },
            // Year and day from one local instant, east of UTC far ahead, at Berlin's first offset (+0:53:28) far back.
            DisplayCase { "01/01/10000001", utcSeconds(10'000'000, 12, 31, 12), "en_US", "Pacific/Kiritimati" },
            DisplayCase { "01/01/9999999 BC", utcSeconds(-9'999'999, 12, 31, 23, 30), "en_US", "Europe/Berlin" },
            // Another calendar gives way to the Gregorian one far out, and says so with the era.
            DisplayCase { "06/05/ค.ศ. 20000", utcSeconds(20'000, 5, 6, 12), "th_TH" },
            // Too far to count, or not a number: nothing rather than a wrong date.
            DisplayCase { "", 0x1p62 }, DisplayCase { "", NAN }));

    constexpr double day = 86'400;
    constexpr double now = utcSeconds(2024, 1, 31, 12);

    struct CaptionCase {
        double date;
        const char* expected; // empty: no caption
        double from = now;
        const char* zone = "UTC";
    };

    void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.date - c.from << " s " << c.expected; }

    class Caption : public ::testing::TestWithParam<CaptionCase> { };

    TEST_P(Caption, CountsWholeDaysThenYears)
    {
        const CaptionCase& c = GetParam();
        const auto caption = relativeDateText(c.date, c.from, icu::Locale("en"), *zone(c.zone), Strings("en"));
        EXPECT_EQ(caption, *c.expected ? std::optional(QString::fromUtf8(c.expected)) : std::nullopt);
    }

    INSTANTIATE_TEST_SUITE_P(Table, Caption,
        ::testing::Values(CaptionCase { now, "" }, CaptionCase { now + day - 1, "" },
            CaptionCase { now + day, "1 DAY" }, CaptionCase { now - day, "-1 DAY" },
            CaptionCase { now + 364 * day, "364 DAYS" },
            // 365 days after 31 January of a leap year is 30 January: not yet a whole year.
            CaptionCase { now + 365 * day, "0 YEARS" }, CaptionCase { now - 365 * day, "-1 YEAR" },
            // Calendar days in the zone: 23 hours across the spring change are one whole day.
            CaptionCase { utcSeconds(2024, 3, 31, 10), "1 DAY", utcSeconds(2024, 3, 30, 11), "Europe/Berlin" },
            CaptionCase { utcSeconds(-1, 6, 1), "-2 YEARS", utcSeconds(1, 6, 1) },
            // Exact far beyond ICU's year counts (4.1 million years) and its reach (5.8 million).
            CaptionCase { utcSeconds(10'002'024, 1, 31, 12), "10000000 YEARS" },
            CaptionCase { utcSeconds(10'002'024, 1, 31, 12) - 1, "9999999 YEARS" },
            CaptionCase { utcSeconds(-4'997'976, 1, 31, 12), "-5000000 YEARS" },
            CaptionCase { utcSeconds(-20'000, 1, 3), "2 DAYS", utcSeconds(-20'000, 1, 1) }, CaptionCase { 0x1p62, "" },
            CaptionCase { NAN, "" }));

    const QString prefix = QStringLiteral("heliora://?date=");

    // What a link opens, and a date whose link it is. A date outside the years 1 to 9999 gives a link that is ignored.
    struct LinkCase {
        QString link;
        std::optional<double> opens;
        std::optional<double> builtFrom = std::nullopt;
        const char* zone = "UTC";
    };

    void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.link.toStdString() << ' ' << c.zone; }

    class DateLink : public ::testing::TestWithParam<LinkCase> { };

    TEST_P(DateLink, OpensTheFirstInstantOfItsDayOrNothing)
    {
        const LinkCase& c = GetParam();
        EXPECT_EQ(parseDateLink(c.link, *zone(c.zone)), c.opens);
        if (c.builtFrom) {
            EXPECT_EQ(buildDateLink(*c.builtFrom, *zone(c.zone)), c.link);
        }
    }

    const double berlinMidnight = utcSeconds(2024, 1, 30, 23);
    const std::nullopt_t none = std::nullopt;

    INSTANTIATE_TEST_SUITE_P(Table, DateLink,
        ::testing::Values(LinkCase { prefix + "20240131", berlinMidnight, berlinMidnight + 1800, "Europe/Berlin" },
            LinkCase { prefix + "20240131=", berlinMidnight, none, "Europe/Berlin" },
            LinkCase { prefix + "00010101", utcSeconds(1, 1, 1), utcSeconds(1, 1, 1) },
            LinkCase { prefix + "99991231", utcSeconds(9999, 12, 31), utcSeconds(9999, 12, 31, 23, 59, 59) },
            LinkCase { prefix + "100000101", none, utcSeconds(10'000, 1, 1) },
            LinkCase { prefix + "00010601BC", none, utcSeconds(0, 6, 1) },
            LinkCase { prefix + "05000315BC", none, utcSeconds(-499, 3, 15) }, // not 500 AD
            LinkCase { prefix + "100000000101BC", none, utcSeconds(-9'999'999, 1, 1, 12) },
            LinkCase { prefix, none, NAN }, LinkCase { prefix + "2024013", none },
            LinkCase { prefix + "abcdefgh", none }, LinkCase { prefix + "20241341", none },
            LinkCase { prefix + "20230229", none }, LinkCase { prefix + "00000131", none },
            LinkCase { prefix + "2024=0131", none }, LinkCase { "orrery://?date=20240131", none },
            LinkCase { "heliora://?Date=20240131", none },
            // Text around the digits, and digits that are not ASCII: ICU would read several as a date if asked.
            LinkCase { prefix + "2024013x", none }, LinkCase { prefix + " 2024013", none },
            LinkCase { prefix + QString::fromUtf8("２０２４０１３１"), none },
            LinkCase { prefix + QString::fromUtf8("٢٠٢٤٠١٣١"), none },
            // Sao Paulo skipped midnight (the day begins at 01:00, -02:00), Havana repeated it (the first one counts,
            // -04:00), and Samoa skipped 30 December 2011 altogether.
            LinkCase { prefix + "20181104", utcSeconds(2018, 11, 4, 3), none, "America/Sao_Paulo" },
            LinkCase { prefix + "20231105", utcSeconds(2023, 11, 5, 4), none, "America/Havana" },
            LinkCase { prefix + "20111230", none, none, "Pacific/Apia" }));

    // The link of any instant (random ones, and every hour around the skipped and repeated midnights of Sao Paulo and
    // Havana in November 2018 and Apia's skipped day) opens the first instant of its local day. Mutated links (run
    // under the asan preset) never crash, and each one accepted is the very link of the day that it opens.
    TEST(DateLink, RoundTripsAndFuzzedLinksOpenOnlyTheirOwnDay)
    {
        std::mt19937_64 random(31);
        const auto pick = [&random](qsizetype n) { return static_cast<int>(random() % static_cast<quint64>(n)); };
        std::vector<double> samples;
        for (int i = 0; i < 100; ++i)
            samples.push_back(utcSeconds(2 + pick(9997), 1 + pick(12), 1 + pick(28), pick(24), pick(60)));
        for (const double from : { utcSeconds(2018, 11, 1), utcSeconds(2011, 12, 28) })
            for (double hour = from; hour < from + 7 * 86'400; hour += 3'600)
                samples.push_back(hour);
        const std::u16string odd = u"=09 +-a?\u0301\uFF11\u0661"; // and any UTF-16 unit, lone surrogates too
        int accepted = 0;
        for (const char* id : { "UTC", "America/Sao_Paulo", "America/Havana", "Pacific/Apia", "Asia/Kathmandu" }) {
            const auto tz = zone(id);
            for (const double date : samples) {
                const QString link = buildDateLink(date, *tz);
                const auto opened = parseDateLink(link, *tz);
                ASSERT_TRUE(opened && *opened <= date && buildDateLink(*opened, *tz) == link) << id << ' ' << date;
                ASSERT_NE(buildDateLink(*opened - 1, *tz), link) << id << " not the first instant of the day " << date;
            }
            for (int i = 0; i < 600; ++i) {
                // Eight digits, mostly of a real date (months 0 to 13, days 0 to 32), often with a character replaced.
                QString link = prefix + QString::asprintf("%04d%02d%02d", pick(10'000), pick(14), pick(33));
                if (pick(2) == 0)
                    link[pick(link.size())] = pick(2) ? QChar(odd[pick(odd.size())]) : QChar(char16_t(pick(0x10000)));
                const auto opened = parseDateLink(link, *tz);
                if (!opened)
                    continue;
                ++accepted;
                ASSERT_EQ(buildDateLink(*opened, *tz), link);
            }
        }
        EXPECT_GT(accepted, 1'000); // the accepting path must be reached often for the check to mean something
    }

} // namespace
} // namespace heliora
