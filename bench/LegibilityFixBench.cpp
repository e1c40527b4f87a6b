// Fix All on the default theme and on random ones: the pairs of every page at
// both display sizes found, then every failing pair mended.

#include "LegibilityFix.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

void FixAllDefaultTheme(benchmark::State& state)
{
    TThemeColorTable start{};
    LoadDefaultTheme(start);
    for (auto _ : state) {
        TThemeColorTable colors = start;
        const LegibilityFixResult result = FixLegibility(colors, ContrastNeeds(), {});
        benchmark::DoNotOptimize(result.changes.size());
    }
}
BENCHMARK(FixAllDefaultTheme)->Unit(benchmark::kMillisecond);

void FixAllRandomTheme(benchmark::State& state)
{
    std::mt19937 random(7);
    const std::vector<ContrastNeed> needs = ContrastNeeds();
    for (auto _ : state) {
        TThemeColorTable colors{};
        for (TColor& c : colors)
            c = RGB565ToColor(random() & 0xFFFF);
        const LegibilityFixResult result = FixLegibility(colors, needs, {});
        benchmark::DoNotOptimize(result.changes.size());
    }
}
BENCHMARK(FixAllRandomTheme)->Unit(benchmark::kMillisecond);

void PairsOfBothSizes(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ContrastNeeds().size());
}
BENCHMARK(PairsOfBothSizes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
