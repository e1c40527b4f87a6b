// A whole Generate (every page at both display sizes checked and mended),
// with and without locks, and the seeds of a 12-megapixel photo: its JPEG
// decoded line by line, keeping a grid of samples.
// Run: build/bench/generate_bench

#include "FileIo.h"
#include "PictureMaker.h"
#include "PictureSeeds.h"
#include "ThemeGenerator.h"
#include "Unit2.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

void GenerateWhole(benchmark::State& state)
{
    TThemeColorTable current{};
    LoadDefaultTheme(current);
    std::set<SlotId> locked;
    if (state.range(0))
        locked = {SlotId::Main_Dom, SlotId::Main_AccentVW, SlotId::Menu_Cursor};
    std::uint32_t variation = 0;
    for (auto _ : state) {
        GenerateOptions options{{MakeColor(0x30, 0x80, 0xFF), MakeColor(0xFF, 0x80, 0x20)}, (variation & 1) != 0,
                                (variation & 2) != 0, variation};
        ++variation;
        benchmark::DoNotOptimize(GenerateTheme(options, current, locked).colors);
    }
}
BENCHMARK(GenerateWhole)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What one change in the Generate Theme dialog costs before it is painted:
// a Generate in each style, then its page drawn at both display sizes.
void GenerateAndDrawEachStyle(benchmark::State& state)
{
    TThemeColorTable current{};
    LoadDefaultTheme(current);
    GenerateOptions options;
    options.seeds = {MakeColor(0xE5, 0x39, 0x35), MakeColor(0x1E, 0x88, 0xE5)};
    options.style = static_cast<GenerateStyle>(state.range(0));
    std::uint32_t variation = 0;
    for (auto _ : state) {
        options.variation = variation++;
        const TThemeColorTable colors = GenerateTheme(options, current, {}).colors;
        for (const bool small : {false, true}) {
            TLSDrawer drawer(colors, small);
            drawer.DrawPage(0);
            benchmark::DoNotOptimize(drawer.Bitmap().Data());
        }
    }
    state.SetLabel(StyleName(options.style));
}
BENCHMARK(GenerateAndDrawEachStyle)->DenseRange(0, GenerateStyleCount - 1)->Unit(benchmark::kMillisecond);

// A photo-like 4000 x 3000 picture: soft gradients with a small vivid spot.
std::string MakePhoto()
{
    const int w = 4000, h = 3000;
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    std::mt19937 random(3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[(std::size_t(y) * w + x) * 3];
            const bool spot = std::hypot(x - 3000, y - 800) < 250;
            p[0] = spot ? 230 : std::uint8_t(60 + 80 * x / w + random() % 8);
            p[1] = spot ? 40 : std::uint8_t(90 + 60 * y / h + random() % 8);
            p[2] = spot ? 30 : std::uint8_t(120 + random() % 8);
        }
    const std::string file = "/tmp/larkspur-generate-bench-photo.jpg";
    WriteFileAtomically(file, EncodeTestJpeg(w, h, 3, rgb, 90));
    return file;
}

void SeedsFromPhoto(benchmark::State& state)
{
    static const std::string file = MakePhoto();
    for (auto _ : state) {
        std::vector<TColor> seeds;
        std::string error;
        if (!SeedsFromPictureFile(file, seeds, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(seeds);
    }
}
BENCHMARK(SeedsFromPhoto)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
