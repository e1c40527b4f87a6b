// Loading and saving a typical theme file (43 keys, a comment, a foreign key).
// Run: build/bench/theme_file_bench
#include "ThemeFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string TypicalFile()
{
    char pattern[] = "/tmp/larkspur-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string path = dir + "/typical.lsth";
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    TPackedTheme packed{};
    std::string name;
    SaveTheme(path, colors, packed, false, name);
    return path;
}

void LoadTypicalTheme(benchmark::State& state)
{
    const std::string path = TypicalFile();
    TPackedTheme packed{};
    std::string name;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadTheme(path, packed, [](bool) {}, name));
    unlink(path.c_str());
}
BENCHMARK(LoadTypicalTheme)->Unit(benchmark::kMicrosecond);

void SaveTypicalTheme(benchmark::State& state)
{
    const std::string path = TypicalFile();
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    TPackedTheme packed{};
    std::string name;
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveTheme(path, colors, packed, true, name));
    unlink(path.c_str());
}
BENCHMARK(SaveTypicalTheme)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
