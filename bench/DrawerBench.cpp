// Drawer primitives and pages against the cheapest possible full repaint: a
// memset of the 230,400-byte bitmap. Run: build/bench/drawer_bench
#include "Unit2.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Setup {
    TThemeColorTable colors{};
    bool small = false;
    TLSDrawer drawer{colors, small};
};

void MemsetBaseline(benchmark::State& state)
{
    Setup s;
    for (auto _ : state) {
        std::memset(s.drawer.Bitmap().Data(), 0x5A, static_cast<std::size_t>(PreviewWidth) * PreviewHeight * 3);
        benchmark::DoNotOptimize(s.drawer.Bitmap().Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(MemsetBaseline);

void FillWholeBitmap(benchmark::State& state)
{
    Setup s;
    for (auto _ : state) {
        s.drawer.FillBox(0, 0, PreviewWidth, PreviewHeight, SlotId::Main_Divider);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FillWholeBitmap);

void LongTextBox(benchmark::State& state)
{
    Setup s;
    const std::string text = "PROFILE1 0.000@ 235*C 42.0W 99% ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (auto _ : state) {
        s.drawer.DrawTextBox(text, 0, 100, 240, 30, SlotId::Main_Background, SlotId::Main_Batts, 6, 0x22);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(LongTextBox);

// Every page variant: args are the page and the display size (0 large, 1 small).
// The machine's speed drifts while a bench runs, so each iteration also times
// a memset of the bitmap next to the page: "x_memset" compares the two within
// the same moments.
void DrawPageVariant(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    Setup s;
    LoadDefaultTheme(s.colors);
    s.small = state.range(1) != 0;
    s.drawer.SetClock(LocalClockNow);
    const int page = static_cast<int>(state.range(0));
    Clock::duration pages{}, memsets{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memset(s.drawer.Bitmap().Data(), 0x5A, static_cast<std::size_t>(PreviewWidth) * PreviewHeight * 3);
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        s.drawer.DrawPage(page);
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        memsets += t1 - t0;
        pages += t2 - t1;
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    state.counters["x_memset"] = static_cast<double>(pages.count()) / static_cast<double>(memsets.count());
}
BENCHMARK(DrawPageVariant)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// The editor's case after a colour edit: the big value's colour changes before
// every draw, so its ramp is built anew each time.
void DrawPageAfterColourEdit(benchmark::State& state)
{
    Setup s;
    LoadDefaultTheme(s.colors);
    s.drawer.SetClock(LocalClockNow);
    unsigned edit = 0;
    for (auto _ : state) {
        s.colors[8] = MakeColor(edit & 0xFF, (edit >> 8) & 0xFF, 200);
        ++edit;
        s.drawer.DrawPage(0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawPageAfterColourEdit)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    // Timings on shared virtual machines wander by tens of percent between
    // runs; unless told otherwise, run everything five times and compare medians.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    bool repeated = false;
    for (int i = 1; i < argc; ++i)
        repeated = repeated || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!repeated) {
        args.push_back(repetitions.data());
        args.push_back(aggregates.data());
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    // Print each result as a multiple of the memset baseline: medians when
    // repeated, else the single run.
    class RatioReporter : public benchmark::ConsoleReporter {
    public:
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            for (const Run& run : runs) {
                const bool aggregate = run.run_type == Run::RT_Aggregate;
                if (aggregate && run.aggregate_name != "median")
                    continue;
                const std::string name =
                    run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
                const auto measured = run.counters.find("x_memset");
                const double ns = run.real_accumulated_time / static_cast<double>(run.iterations);
                if (name == "MemsetBaseline")
                    baseline_ = ns;
                else if (measured != run.counters.end())
                    GetOutputStream() << "  " << name << ": " << measured->second.value
                                      << "x a memset timed beside it, " << ns / baseline_
                                      << "x the separate baseline\n";
                else if (baseline_ > 0)
                    GetOutputStream() << "  " << name << ": " << ns / baseline_ << "x the memset baseline\n";
            }
        }

    private:
        double baseline_ = 0;
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
