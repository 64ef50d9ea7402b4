// Costs of the model's hot paths: one orbital angle, the nine angles of one orrery frame, one fact number.
#include "model/factformat.h"
#include "model/orbit.h"

#include <benchmark/benchmark.h>

namespace {

using namespace heliora;

constexpr double date2024 = 1704067200.0;

void orbitalAngleOneCall(benchmark::State& state)
{
    double date = date2024;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orbitalAngle(Planet::mars, date, presetPeriod, 100.0));
        date += 0.5;
    }
}
BENCHMARK(orbitalAngleOneCall);

void orbitalAngleNinePlanetsOneFrame(benchmark::State& state)
{
    double date = date2024;
    for (auto _ : state) {
        // One frame asks for every planet's angle with the epoch of the user's zone, as the orrery does.
        const double epoch = referenceEpoch();
        for (const Planet p : allPlanets)
            benchmark::DoNotOptimize(orbitalAngleFromEpoch(p, date, presetPeriod, 100.0, epoch));
        date += 0.5;
    }
}
BENCHMARK(orbitalAngleNinePlanetsOneFrame);

void referenceEpochUserZone(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(referenceEpoch());
}
BENCHMARK(referenceEpochUserZone);

void formatFactNumberOneCall(benchmark::State& state)
{
    double value = 1988500.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatFactNumber(value));
        value += 0.25;
    }
}
BENCHMARK(formatFactNumberOneCall);

void factRowsOfTheSun(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(factRows(SolarSystemObject::sun()));
}
BENCHMARK(factRowsOfTheSun);

} // namespace
