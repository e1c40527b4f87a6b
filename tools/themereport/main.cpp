// How good generated themes are, measured: for a fixed set of seed sets and
// of pictures, in every style, dark and light, it prints
//   - the share of themes with no hard-to-read pair at either display size;
//   - how far the hero's arc is from the hero seed (ΔE_OK after rounding);
//   - how much of each seed's chroma its accent keeps;
//   - how many text slots of the light themes read as olive or brown;
//   - how far apart the styles of one seed set are, and the variations of one style;
//   - the slowest Generate of each style;
// and, with --sheets DIR, writes contact sheets to look at:
//   styles-dark.png, styles-light.png  a row per seed set, a column per style (page 0)
//   pages.png                          every page of the fidelity theme of a few seed sets
//   variations.png                     a row per style, a column per variation
//   pictures.png                       each picture, then its themes in every style
//
//   build/tools/theme-report [--sheets DIR]

#include "DrawerClock.h"
#include "Legibility.h"
#include "Oklab.h"
#include "PictureSeeds.h"
#include "PngWriter.h"
#include "SlotCatalogue.h"
#include "ThemeGenerator.h"
#include "Unit2.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

TColor Hex(unsigned rgb) { return MakeColor(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Brand colours, neon, pastels, earth tones, greys and near-blacks: one to
// three seeds each.
const std::vector<std::vector<unsigned>> SeedSets = {
    {0xE53935},           {0x1E88E5},           {0xFDD835},           {0x43A047},           {0x8E24AA},
    {0xFF00FF},           {0x39FF14},           {0xE4002B},           {0xFFCC00},           {0xFF6F00},
    {0x00BCD4},           {0x795548},           {0x9E9E9E},           {0x212121},           {0xF8BBD0},
    {0xB3E5FC},           {0x3F51B5, 0xFF4081}, {0x1E88E5, 0xF48FB1}, {0x004D40, 0xFFB300}, {0xD32F2F, 0x212121},
    {0x6200EE, 0x03DAC6}, {0xFF5722, 0x607D8B}, {0x2E7D32, 0xC0CA33}, {0x000080, 0xFFD700}, {0xC2185B, 0x00796B},
    {0xFFEB3B, 0x3E2723}, {0x00E5FF, 0xFF1744, 0xFFEA00},            {0x7B1FA2, 0xFFA000, 0x00897B},
    {0x1565C0, 0xEF6C00, 0x2E7D32},            {0xF06292, 0xBA68C8, 0x4DD0E1},
    {0x5D4037, 0xA1887F, 0xFFCC80},            {0x263238, 0x80CBC4, 0xFF8A65},
};

// A picture of a few colour areas, each a share of its rows, with a little
// noise, so the seeds come from what a photograph would give.
struct Area {
    unsigned rgb;
    double share;
};
struct Picture {
    const char* name;
    std::vector<Area> areas;
};
const std::vector<Picture> Pictures = {
    {"sunset", {{0x2B1B4A, 0.30}, {0x7A2E5A, 0.15}, {0xFF8C1A, 0.20}, {0xFFD23F, 0.05}, {0x140C14, 0.30}}},
    {"forest", {{0x1F4D2B, 0.35}, {0x2E6B3A, 0.25}, {0x5A3D2B, 0.20}, {0x7FBF4D, 0.12}, {0xC9D8A8, 0.08}}},
    {"ocean", {{0x0B3D91, 0.35}, {0x1E88E5, 0.25}, {0xE8D3A2, 0.25}, {0xF4F8FA, 0.15}}},
    {"neon city", {{0x0D1030, 0.60}, {0xFF2BD6, 0.10}, {0x00F0FF, 0.08}, {0x2A2F4F, 0.22}}},
    {"desert", {{0xD8B27A, 0.55}, {0x7EC8E3, 0.30}, {0xB5502E, 0.15}}},
    {"flowers", {{0x2F6B2F, 0.50}, {0xE0243A, 0.20}, {0xFFD000, 0.05}, {0xF5F5F0, 0.10}, {0x1A3A1A, 0.15}}},
};

constexpr int PictureWidth = 120, PictureHeight = 160;

std::vector<std::uint8_t> PicturePixelsOf(const Picture& picture)
{
    std::vector<std::uint8_t> rgb(std::size_t(PictureWidth) * PictureHeight * 3);
    std::uint32_t noise = 12345;
    int row = 0;
    for (const Area& area : picture.areas) {
        const int rows = int(std::lround(area.share * PictureHeight));
        for (int y = row; y < std::min(PictureHeight, row + rows); ++y)
            for (int x = 0; x < PictureWidth; ++x) {
                std::uint8_t* p = rgb.data() + (std::size_t(y) * PictureWidth + std::size_t(x)) * 3;
                for (int c = 0; c < 3; ++c) {
                    noise = noise * 1664525u + 1013904223u;
                    const int value = int((area.rgb >> (16 - 8 * c)) & 0xFF) + int(noise >> 29) - 4;
                    p[c] = std::uint8_t(std::clamp(value, 0, 255));
                }
            }
        row += rows;
    }
    return rgb;
}

std::vector<TColor> PictureSeeds(const Picture& picture)
{
    const std::vector<std::uint8_t> rgb = PicturePixelsOf(picture);
    return SeedsFromPicture({rgb.data(), PictureWidth, PictureHeight, 3, std::size_t(PictureWidth) * 3});
}

TColor Device(TColor c) { return RGB565ToColor(ColorToRGB565(c)); }
double Distance(TColor a, TColor b) { return OklabDistance(ToOklab(a), ToOklab(b)); }
TColor At(const TThemeColorTable& t, SlotId s) { return t[std::size_t(SlotIndex(s))]; }

// The slot that shows each seed: the hero's arc, the second's and the third's value accents.
constexpr SlotId SeedSlots[3] = {SlotId::Main_AccentVW, SlotId::Main_Fixed_Acc, SlotId::Main_PuffTime_Acc};

double MeanDistance(const TThemeColorTable& a, const TThemeColorTable& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += Distance(a[i], b[i]);
    return sum / double(a.size());
}

double AccentDistance(const TThemeColorTable& a, const TThemeColorTable& b)
{
    double sum = 0;
    for (SlotId s : SeedSlots)
        sum += Distance(At(a, s), At(b, s));
    return sum / 3;
}

Bitmap Page(const TThemeColorTable& colors, int page, bool small)
{
    TLSDrawer drawer(colors, small);
    std::tm at{};
    at.tm_year = 126, at.tm_mon = 11, at.tm_mday = 8, at.tm_hour = 9, at.tm_min = 5;
    drawer.SetClock(FixedClock(at));
    drawer.DrawPage(page);
    return drawer.Bitmap();
}

bool PassesLint(const TThemeColorTable& colors)
{
    for (bool small : {false, true}) {
        TThemeColorTable shown = colors;
        TLSDrawer drawer(shown, small);
        if (!FailingPairs(drawer, shown).empty())
            return false;
    }
    return true;
}

// A sheet of cells of 240 x 320, with a gap of 8 between them.
class Sheet {
public:
    Sheet(int columns, int rows) : bitmap_(columns * 248 + 8, rows * 328 + 8)
    {
        std::memset(bitmap_.Data(), 0x80, std::size_t(bitmap_.Stride()) * std::size_t(bitmap_.Height()));
    }
    void Put(int column, int row, const Bitmap& page)
    {
        for (int y = 0; y < page.Height(); ++y)
            std::memcpy(bitmap_.Row(8 + row * 328 + y) + (8 + column * 248) * 3, page.Row(y), std::size_t(page.Stride()));
    }
    bool Write(const std::string& path) const { return WritePngFile(path, bitmap_); }

private:
    Bitmap bitmap_;
};

Bitmap PictureCell(const Picture& picture)
{
    const std::vector<std::uint8_t> rgb = PicturePixelsOf(picture);
    Bitmap cell(240, 320);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            const std::uint8_t* p = rgb.data() + (std::size_t(y / 2) * PictureWidth + std::size_t(x / 2)) * 3;
            std::uint8_t* q = cell.Row(y) + x * 3;
            q[0] = p[2], q[1] = p[1], q[2] = p[0];
        }
    return cell;
}

struct Input {
    std::string name;
    std::vector<TColor> seeds;
};

}  // namespace

int main(int argc, char** argv)
{
    std::string sheets;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sheets") == 0 && i + 1 < argc)
            sheets = argv[++i];
        else {
            std::fprintf(stderr, "usage: theme-report [--sheets DIR]\n");
            return 2;
        }
    }
    std::vector<Input> inputs;
    for (const auto& set : SeedSets) {
        Input in;
        for (unsigned rgb : set) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%06X", rgb);
            in.name += (in.name.empty() ? "" : " ") + std::string(hex);
            in.seeds.push_back(Hex(rgb));
        }
        inputs.push_back(in);
    }
    for (const Picture& picture : Pictures)
        inputs.push_back({std::string("picture: ") + picture.name, PictureSeeds(picture)});

    const TThemeColorTable none{};
    int themes = 0, passing = 0, heroExact = 0, accents = 0, accentsKept90 = 0, lightTexts = 0, muddy = 0;
    double heroSum = 0, heroWorst = 0, chromaSum = 0, faithfulSum = 0;
    int faithful = 0, faithfulExact = 0;
    double slowest[GenerateStyleCount] = {};
    double styleSum = 0, styleMin = 1e9;
    std::string closest;
    int stylePairs = 0;
    double variationAccents[GenerateStyleCount] = {}, variationAll[GenerateStyleCount] = {};
    int variationCount[GenerateStyleCount] = {};
    const std::vector<ContrastNeed> needs = GenerationNeeds(false);

    for (const Input& in : inputs)
        for (bool dark : {true, false}) {
            TThemeColorTable byStyle[GenerateStyleCount];
            for (int s = 0; s < GenerateStyleCount; ++s) {
                GenerateOptions options;
                options.seeds = in.seeds;
                options.dark = dark;
                options.style = static_cast<GenerateStyle>(s);
                const auto start = std::chrono::steady_clock::now();
                const GeneratedTheme theme = GenerateTheme(options, none, {});
                const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                slowest[s] = std::max(slowest[s], ms);
                byStyle[s] = theme.colors;
                ++themes;
                passing += PassesLint(theme.colors);
                const double hero = Distance(Device(in.seeds[0]), At(theme.colors, SlotId::Main_AccentVW));
                heroSum += hero;
                heroWorst = std::max(heroWorst, hero);
                heroExact += hero <= 0.02;
                if (options.style == GenerateStyle::Fidelity) {
                    ++faithful;
                    faithfulSum += hero;
                    faithfulExact += hero <= 0.02;
                }
                for (std::size_t k = 0; k < in.seeds.size() && k < 3; ++k) {
                    const double seedC = ToOklch(ToOklab(Device(in.seeds[k]))).C;
                    if (seedC < 0.05 || options.style == GenerateStyle::Tonal || options.style == GenerateStyle::Monochrome)
                        continue;
                    const double kept = std::min(1.0, ToOklch(ToOklab(At(theme.colors, SeedSlots[k]))).C / seedC);
                    ++accents;
                    chromaSum += kept;
                    accentsKept90 += kept >= 0.9;
                }
                if (!dark)
                    for (int slot = 0; slot < ThemeSlotCount; ++slot)
                        if (std::any_of(needs.begin(), needs.end(), [slot](const ContrastNeed& n) { return SlotIndex(n.fg) == slot; })) {
                            ++lightTexts;
                            muddy += IsMuddy(theme.colors[std::size_t(slot)]);
                        }
                for (std::uint32_t v = 1; v <= 3; ++v) {
                    options.variation = v;
                    const TThemeColorTable varied = GenerateTheme(options, none, {}).colors;
                    variationAccents[s] += AccentDistance(theme.colors, varied);
                    variationAll[s] += MeanDistance(theme.colors, varied);
                    ++variationCount[s];
                }
            }
            for (int a = 0; a < GenerateStyleCount; ++a)
                for (int b = a + 1; b < GenerateStyleCount; ++b) {
                    const double d = MeanDistance(byStyle[a], byStyle[b]);
                    styleSum += d;
                    if (d < styleMin) {
                        styleMin = d;
                        closest = in.name + (dark ? " dark, " : " light, ") + StyleName(static_cast<GenerateStyle>(a)) +
                                  " and " + StyleName(static_cast<GenerateStyle>(b));
                    }
                    ++stylePairs;
                }
        }

    std::printf("themes: %d (%zu seed sets and %zu pictures x %d styles x dark and light)\n", themes, SeedSets.size(),
                Pictures.size(), GenerateStyleCount);
    std::printf("lint passes at both sizes:        %d of %d (%.1f%%)\n", passing, themes, 100.0 * passing / themes);
    std::printf("hero's arc from the hero seed:     mean dE %.3f, worst %.3f, %.1f%% within 0.02\n", heroSum / themes,
                heroWorst, 100.0 * heroExact / themes);
    std::printf("  in the fidelity style:          mean dE %.3f, %.1f%% within 0.02\n", faithfulSum / faithful,
                100.0 * faithfulExact / faithful);
    std::printf("seed chroma kept by its accent:   mean %.1f%%, %.1f%% of accents keep 90%% or more (fidelity, vibrant, expressive)\n",
                100 * chromaSum / std::max(accents, 1), 100.0 * accentsKept90 / std::max(accents, 1));
    std::printf("olive or brown text on light:     %d of %d text slots\n", muddy, lightTexts);
    std::printf("styles of one seed set apart:     mean dE %.3f over all slots, closest pair %.3f (%s)\n",
                styleSum / stylePairs, styleMin, closest.c_str());
    for (int s = 0; s < GenerateStyleCount; ++s)
        std::printf("variations of %-10s          accents dE %.3f, all slots %.3f; slowest Generate %.2f ms\n",
                    StyleName(static_cast<GenerateStyle>(s)), variationAccents[s] / variationCount[s],
                    variationAll[s] / variationCount[s], slowest[s]);
    if (sheets.empty())
        return 0;

    bool ok = true;
    const std::size_t shown = 12;
    for (bool dark : {true, false}) {
        Sheet sheet(GenerateStyleCount, int(shown));
        for (std::size_t i = 0; i < shown; ++i)
            for (int s = 0; s < GenerateStyleCount; ++s) {
                GenerateOptions options;
                options.seeds = inputs[i * 2].seeds;
                options.dark = dark;
                options.style = static_cast<GenerateStyle>(s);
                sheet.Put(s, int(i), Page(GenerateTheme(options, none, {}).colors, 0, false));
            }
        ok = sheet.Write(sheets + (dark ? "/styles-dark.png" : "/styles-light.png")) && ok;
    }
    {
        const std::size_t picks[] = {0, 8, 16, 26};
        Sheet sheet(PageCount, int(std::size(picks)) * 2);
        int row = 0;
        for (std::size_t pick : picks)
            for (bool dark : {true, false}) {
                GenerateOptions options;
                options.seeds = inputs[pick].seeds;
                options.dark = dark;
                const TThemeColorTable colors = GenerateTheme(options, none, {}).colors;
                for (int page = 0; page < PageCount; ++page)
                    sheet.Put(page, row, Page(colors, page, false));
                ++row;
            }
        ok = sheet.Write(sheets + "/pages.png") && ok;
    }
    {
        Sheet sheet(6, GenerateStyleCount);
        for (int s = 0; s < GenerateStyleCount; ++s)
            for (std::uint32_t v = 0; v < 6; ++v) {
                GenerateOptions options;
                options.seeds = inputs[16].seeds;
                options.style = static_cast<GenerateStyle>(s);
                options.variation = v;
                sheet.Put(int(v), s, Page(GenerateTheme(options, none, {}).colors, 0, false));
            }
        ok = sheet.Write(sheets + "/variations.png") && ok;
    }
    {
        Sheet sheet(1 + GenerateStyleCount, int(Pictures.size()));
        for (std::size_t p = 0; p < Pictures.size(); ++p) {
            sheet.Put(0, int(p), PictureCell(Pictures[p]));
            for (int s = 0; s < GenerateStyleCount; ++s) {
                GenerateOptions options;
                options.seeds = PictureSeeds(Pictures[p]);
                options.style = static_cast<GenerateStyle>(s);
                sheet.Put(1 + s, int(p), Page(GenerateTheme(options, none, {}).colors, 0, false));
            }
        }
        ok = sheet.Write(sheets + "/pictures.png") && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "theme-report: the sheets could not be written to %s\n", sheets.c_str());
        return 1;
    }
    return 0;
}
