// The clock's text paths, per call: what the main window pays on every 0.5 s tick (the big date and the
// caption) and what a received or copied link costs. ICU's formatters and calendars are kept per locale and zone,
// and the texts of the same local day are kept, so most benchmarks below measure the warm path that a running
// window takes. The shared setting's costs are in settings_bench.

#include "clock/datetexts.h"
#include "model/environment.h"
#include "strings/stringtable.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace heliora;

constexpr double lateJanuary2024 = 1'706'731'200.0; // 2024-01-31T20:00:00Z
constexpr double tenMillionYears = 3.155e14;

struct Fixture {
    Fixture()
    {
        setenv("TZ", "Europe/Berlin", 1);
        setenv("LC_ALL", "de_DE.UTF-8", 1);
    }
    std::unique_ptr<icu::TimeZone> zone = timeZoneFromId("Europe/Berlin");
    icu::Locale locale { "de_DE" };
    Strings strings { QStringLiteral("de") };
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

void parseLink(benchmark::State& state)
{
    const QString link = QStringLiteral("heliora://?date=20240131");
    for (auto _ : state)
        benchmark::DoNotOptimize(parseDateLink(link, *fixture().zone));
}
BENCHMARK(parseLink);

void parseLinkIgnored(benchmark::State& state)
{
    const QString link = QStringLiteral("heliora://?date=2024013x");
    for (auto _ : state)
        benchmark::DoNotOptimize(parseDateLink(link, *fixture().zone));
}
BENCHMARK(parseLinkIgnored);

void parseLinkUserZone(benchmark::State& state)
{
    fixture();
    const QString link = QStringLiteral("heliora://?date=20240131");
    for (auto _ : state)
        benchmark::DoNotOptimize(parseDateLink(link));
}
BENCHMARK(parseLinkUserZone);

void buildLink(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(buildDateLink(lateJanuary2024, *fixture().zone));
}
BENCHMARK(buildLink);

void displayDate(benchmark::State& state)
{
    const double date = state.range(0) == 0 ? lateJanuary2024 : tenMillionYears;
    for (auto _ : state)
        benchmark::DoNotOptimize(displayDateText(date, fixture().locale, *fixture().zone));
}
BENCHMARK(displayDate)->ArgName("far")->Arg(0)->Arg(1);

// A new day on every call: the clock at top speed, where no day's text can be reused.
void displayDateNewDay(benchmark::State& state)
{
    double date = lateJanuary2024;
    for (auto _ : state) {
        benchmark::DoNotOptimize(displayDateText(date, fixture().locale, *fixture().zone));
        date += 5e7;
    }
}
BENCHMARK(displayDateNewDay);

// What the main window calls on every tick at normal speed: the user's locale and zone from the environment, the
// date half a second on, the caption counted from the present.
void tickTextsUserLocale(benchmark::State& state)
{
    fixture();
    double date = lateJanuary2024;
    for (auto _ : state) {
        benchmark::DoNotOptimize(displayDateText(date));
        benchmark::DoNotOptimize(relativeDateText(date, date - 0.25));
        date += 0.5;
    }
}
BENCHMARK(tickTextsUserLocale);

void caption(benchmark::State& state)
{
    // 0: 12 days, 1: 3 years, 2: ten million years.
    const double offsets[] = { 12 * 86'400.0, 3 * 31'556'952.0, tenMillionYears };
    const double date = lateJanuary2024 + offsets[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(
            relativeDateText(date, lateJanuary2024, fixture().locale, *fixture().zone, fixture().strings));
}
BENCHMARK(caption)->ArgName("case")->Arg(0)->Arg(1)->Arg(2);

} // namespace
