#include "clock/datetexts.h"

#include "strings/stringtable.h"
#include "support/scopedenv.h"
#include "support/utcseconds.h"
#include "support/zone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include <unicode/basictz.h>
#include <unicode/calendar.h>
#include <unicode/tztrans.h>

namespace heliora {
namespace {

    using test::utcSeconds;
    using test::zone;

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
        ::testing::Values(DisplayCase { "01/31/2024", lateJan31 }, DisplayCase { "31.01.2024", lateJan31, "de_DE" },
            DisplayCase { "2024/01/31", lateJan31, "ja_JP" },
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
        ::testing::Values(CaptionCase { now + day - 1, "" }, CaptionCase { now + day, "1 DAY" },
            CaptionCase { now - day, "-1 DAY" }, CaptionCase { now + 364 * day, "364 DAYS" },
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
            LinkCase { prefix + "05000315BC", none, utcSeconds(-499, 3, 15) }, // not 500 AD
            LinkCase { prefix, none, NAN }, LinkCase { prefix + "2024013", none },
            LinkCase { prefix + "20241341", none }, LinkCase { prefix + "20230229", none },
            LinkCase { prefix + "00000131", none }, LinkCase { prefix + "2024=0131", none },
            LinkCase { "orrery://?date=20240131", none }, LinkCase { "heliora://?Date=20240131", none },
            // Text around the digits, and digits that are not ASCII: ICU would read several as a date if asked.
            LinkCase { prefix + " 2024013", none }, LinkCase { prefix + QString::fromUtf8("٢٠٢٤٠١٣١"), none },
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

    // Instants where a kept text could go stale if the local day were counted wrongly: around every offset change
    // of the zone in 2010 to 2016 (a millisecond, a second, half an hour, an hour and a day either side), and every
    // 37 minutes over the days around the first one.
    std::vector<double> trickyInstants(const icu::TimeZone& zone)
    {
        std::vector<double> instants;
        const auto& basic = dynamic_cast<const icu::BasicTimeZone&>(zone);
        icu::TimeZoneTransition transition;
        UDate from = utcSeconds(2010, 1, 1) * 1000;
        while (
            basic.getNextTransition(from, false, transition) && transition.getTime() < utcSeconds(2016, 1, 1) * 1000) {
            from = transition.getTime();
            for (const double away : { 0.0, 0.001, 1.0, 1800.0, 3600.0, 86'400.0 }) {
                instants.push_back(from / 1000 - away);
                instants.push_back(from / 1000 + away);
            }
        }
        const double start = instants.empty() ? utcSeconds(2012, 6, 1) : instants.front() - 2 * day;
        for (double t = start; t < start + 4 * day; t += 37 * 60)
            instants.push_back(t);
        return instants;
    }

    std::u16string u16(const icu::UnicodeString& text) { return { text.getBuffer(), size_t(text.length()) }; }

    // The texts of whole days are kept per local day; whatever is kept, each text is the one that ICU's own
    // formatters give for that instant, and the caption's day count is ICU's fieldDifference from it (pairs of
    // instants a millisecond, a second, an hour, 23 and 25 hours either side of a day apart): in zones with skipped
    // and repeated midnights, a skipped day, a quarter-hour offset and half-hour daylight saving.
    TEST(DateTexts, KeptTextsAreIcusOwnAroundEveryOffsetChange)
    {
        const Strings english("en");
        for (const char* id : { "Europe/Berlin", "America/Sao_Paulo", "America/Havana", "Pacific/Apia",
                 "Asia/Kathmandu", "Australia/Lord_Howe" }) {
            const auto tz = zone(id);
            UErrorCode status = U_ZERO_ERROR;
            icu::SimpleDateFormat linkDigits(u"yyyyMMdd", icu::Locale("en_US_POSIX"), status);
            linkDigits.setTimeZone(*tz);
            const icu::Locale german("de_DE");
            std::unique_ptr<icu::DateFormat> display(
                icu::DateFormat::createInstanceForSkeleton(u"yyyyMMdd", german, status));
            display->setTimeZone(*tz);
            std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(*tz, icu::Locale("en"), status));
            ASSERT_TRUE(U_SUCCESS(status));
            int captions = 0;
            for (const double t : trickyInstants(*tz)) {
                icu::UnicodeString shown, digits;
                ASSERT_EQ(displayDateText(t, german, *tz).toStdU16String(), u16(display->format(t * 1000, shown)))
                    << id << ' ' << t;
                ASSERT_EQ(
                    buildDateLink(t, *tz), prefix + QString::fromStdU16String(u16(linkDigits.format(t * 1000, digits))))
                    << id << ' ' << t;
                for (const double apart : { 0.001, 3'600.0, 86'400.0 - 3'600, 86'400.0 - 1, 86'400.0 - 0.001, 86'400.0,
                         86'401.0, 90'000.0 }) {
                    for (const double date : { t + apart, t - apart }) {
                        calendar->setTime(t * 1000, status);
                        const std::int32_t count = calendar->fieldDifference(date * 1000, UCAL_DATE, status);
                        const auto caption = relativeDateText(date, t, icu::Locale("en"), *tz, english);
                        ASSERT_EQ(caption ? caption->section(QLatin1Char(' '), 0, 0).toInt() : 0, count)
                            << id << ' ' << t << " to " << date;
                        captions += caption ? 1 : 0;
                    }
                }
            }
            EXPECT_GT(captions, 100) << id; // the counting path is reached, not only the "less than a day" one
        }
    }

    // The overloads that read the environment answer for the environment of the moment, also right after it changed.
    TEST(DateTexts, FollowTheEnvironmentAtOnce)
    {
        struct Step {
            const char* tz;
            const char* locale;
            const char* display;
            const char* link;
            const char* caption; // from 2024-03-30 12:00 in Berlin to 23 hours later, across the spring change
        };
        const Step steps[] = {
            { "UTC", "en_US.UTF-8", "01/31/2024", "20240131", "" },
            { "Asia/Tokyo", "de_DE.UTF-8", "01.02.2024", "20240201", "" },
            { "Europe/Berlin", "ja_JP.UTF-8", "2024/01/31", "20240131", "1 DAY" },
        };
        test::ScopedEnv env;
        test::pinLocale(env, "en_US.UTF-8");
        setStringsLanguage(QStringLiteral("en"));
        const double from = utcSeconds(2024, 3, 30, 11), to = utcSeconds(2024, 3, 31, 10);
        for (const Step& step : steps) {
            env.set("TZ", step.tz);
            env.set("LC_ALL", step.locale);
            SCOPED_TRACE(std::string(step.tz) + ' ' + step.locale);
            EXPECT_EQ(displayDateText(lateJan31), QString::fromUtf8(step.display));
            EXPECT_EQ(buildDateLink(lateJan31), prefix + step.link);
            EXPECT_EQ(relativeDateText(to, from).value_or(QString()), QString::fromUtf8(step.caption));
        }
    }

} // namespace
} // namespace heliora
