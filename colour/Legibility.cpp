#include "Legibility.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

double RelativeLuminance(TColor color)
{
    const auto linear = [](unsigned channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(ColorRed(color)) + 0.7152 * linear(ColorGreen(color)) + 0.0722 * linear(ColorBlue(color));
}

double LuminanceContrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

double ContrastRatio(TColor a, TColor b) { return LuminanceContrast(RelativeLuminance(a), RelativeLuminance(b)); }

std::vector<LegibilityPair> LegibilityPairs(TLSDrawer& drawer, const TThemeColorTable& colors)
{
    std::vector<LegibilityPair> pairs;
    for (int page = 0; page < 8; ++page) {
        drawer.DrawPage(page);
        // Only pairs whose marks are still to be seen when the page is done.
        std::set<std::pair<int, int>> shown;
        const SlotMap& map = drawer.Slots();
        for (int y = 0; y < map.Height(); ++y)
            for (int x = 0; x < map.Width(); ++x) {
                const PixelSlots p = map.At(x, y);
                if (p.level > 0 && p.fg != p.bg)
                    shown.insert({SlotIndex(p.fg), SlotIndex(p.bg)});
            }
        std::map<std::pair<int, int>, double> required;
        for (const TextRun& run : drawer.TextRuns()) {
            const std::pair<int, int> key{SlotIndex(run.fg), SlotIndex(run.bg)};
            if (!shown.count(key))
                continue;
            const double need = run.kind == TextRun::Kind::Text ? 4.5 : 3.0;
            double& r = required[key];
            r = std::max(r, need);
        }
        for (const auto& [key, need] : required)
            pairs.push_back({page, static_cast<SlotId>(key.first), static_cast<SlotId>(key.second),
                             ContrastRatio(colors[static_cast<std::size_t>(key.first)],
                                           colors[static_cast<std::size_t>(key.second)]),
                             need});
    }
    return pairs;
}

std::vector<LegibilityPair> FailingPairs(TLSDrawer& drawer, const TThemeColorTable& colors)
{
    std::vector<LegibilityPair> failing;
    for (const LegibilityPair& p : LegibilityPairs(drawer, colors))
        if (p.Fails())
            failing.push_back(p);
    std::stable_sort(failing.begin(), failing.end(),
                     [](const LegibilityPair& a, const LegibilityPair& b) { return a.ratio < b.ratio; });
    return failing;
}
