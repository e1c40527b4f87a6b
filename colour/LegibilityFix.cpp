#include "LegibilityFix.h"

#include "Oklab.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>

namespace {

// The device's colours, each with its luminance and OKLab coordinates.
struct Palette {
    std::array<TColor, 65536> color;
    std::array<double, 65536> luminance;
    std::array<Oklab, 65536> lab;
};

const Palette& DeviceColors()
{
    static const std::unique_ptr<Palette> palette = [] {
        auto p = std::make_unique<Palette>();
        for (std::uint32_t word = 0; word < 65536; ++word) {
            p->color[word] = RGB565ToColor(word);
            p->luminance[word] = RelativeLuminance(p->color[word]);
            p->lab[word] = ToOklab(p->color[word]);
        }
        return p;
    }();
    return *palette;
}

struct Partner {
    int slot;
    double need;
};

// The slots `slot` is drawn with or on, each with the strictest need.
std::vector<Partner> PartnersOf(int slot, const std::vector<ContrastNeed>& needs)
{
    std::map<int, double> strictest;
    for (const ContrastNeed& n : needs) {
        const int fg = SlotIndex(n.fg), bg = SlotIndex(n.bg);
        if (fg == slot || bg == slot) {
            double& need = strictest[fg == slot ? bg : fg];
            need = std::max(need, n.need);
        }
    }
    std::vector<Partner> partners;
    for (const auto& [other, need] : strictest)
        partners.push_back({other, need});
    return partners;
}

double Worst(TColor color, const std::vector<Partner>& partners, const TThemeColorTable& colors)
{
    double worst = std::numeric_limits<double>::infinity();
    for (const Partner& p : partners)
        worst = std::min(worst, ContrastRatio(color, colors[static_cast<std::size_t>(p.slot)]));
    return worst;
}

// The device colour nearest to the slot's own that gives every partner its
// need plus the margin; false when there is none.
bool NearestLegible(int slot, const std::vector<Partner>& partners, const TThemeColorTable& colors, TColor& found)
{
    const Palette& palette = DeviceColors();
    const Oklab own = ToOklab(colors[static_cast<std::size_t>(slot)]);
    std::vector<std::pair<double, double>> limits;  // partner luminance, need
    for (const Partner& p : partners)
        limits.push_back({RelativeLuminance(colors[static_cast<std::size_t>(p.slot)]), p.need + ContrastMargin});
    double best = std::numeric_limits<double>::infinity();
    std::uint32_t bestWord = 0;
    for (std::uint32_t word = 0; word < 65536; ++word) {
        // Squared: the order is the same, without a root per colour. A step
        // across hue and chroma counts four times one in lightness, so a
        // grey stays grey and a blue stays blue where lightness can do it:
        // contrast is a matter of lightness, and the designer chose the hue.
        const Oklab& lab = palette.lab[word];
        const double dL = lab.L - own.L, da = lab.a - own.a, db = lab.b - own.b;
        const double distance = dL * dL + 4 * (da * da + db * db);
        if (distance >= best)
            continue;
        bool legible = true;
        for (const auto& [luminance, need] : limits)
            if (LuminanceContrast(palette.luminance[word], luminance) < need) {
                legible = false;
                break;
            }
        if (legible) {
            best = distance;
            bestWord = word;
        }
    }
    if (!std::isfinite(best))
        return false;
    found = palette.color[bestWord];
    return true;
}

// With `index` given its new colour in `trial`, each partner that then fails
// takes the colour nearest its own that suits all its pairs, and is added to
// `moved`; false where a failing partner is locked or no colour suits it.
bool MendPartners(int index, const std::vector<Partner>& partners, TThemeColorTable& trial, const std::set<SlotId>& locked,
                  const std::vector<ContrastNeed>& needs, std::vector<int>& moved)
{
    const TColor color = trial[static_cast<std::size_t>(index)];
    for (const Partner& p : partners) {
        const auto other = static_cast<std::size_t>(p.slot);
        if (ContrastRatio(trial[other], color) >= p.need + ContrastMargin)
            continue;
        TColor mended = 0;
        if (locked.count(static_cast<SlotId>(p.slot)) || !NearestLegible(p.slot, PartnersOf(p.slot, needs), trial, mended))
            return false;
        trial[other] = mended;
        moved.push_back(p.slot);
    }
    return true;
}

// `trial` becomes the theme, each slot of `moved` reported as a change.
void TakeMended(const std::vector<int>& moved, const TThemeColorTable& trial, TThemeColorTable& colors,
                const std::vector<ContrastNeed>& needs, std::vector<ColorFix>& changes)
{
    for (int slot : moved) {
        const std::vector<Partner> of = PartnersOf(slot, needs);
        const auto at = static_cast<std::size_t>(slot);
        changes.push_back({static_cast<SlotId>(slot), colors[at], trial[at], Worst(colors[at], of, colors), Worst(trial[at], of, trial)});
    }
    colors = trial;
}

// When neither slot of a pair can be mended alone because one of them is
// locked: the other takes the colour nearest its own that suits its locked
// partners, and each unlocked partner that then fails is mended in turn.
// All of it or nothing, so a pair that passed never ends failing.
bool MendAroundLocked(const ContrastNeed& pair, TThemeColorTable& colors, const std::vector<ContrastNeed>& needs,
                      const std::set<SlotId>& locked, std::vector<ColorFix>& changes)
{
    for (SlotId pivot : {pair.bg, pair.fg}) {
        if (locked.count(pivot))
            continue;
        const int index = SlotIndex(pivot);
        const std::vector<Partner> partners = PartnersOf(index, needs);
        std::vector<Partner> lockedPartners;
        for (const Partner& p : partners)
            if (locked.count(static_cast<SlotId>(p.slot)))
                lockedPartners.push_back(p);
        TColor chosen = 0;
        if (lockedPartners.empty() || !NearestLegible(index, lockedPartners, colors, chosen))
            continue;
        TThemeColorTable trial = colors;
        trial[static_cast<std::size_t>(index)] = chosen;
        std::vector<int> moved = {index};
        // Its locked partners are suited: the others follow.
        if (!MendPartners(index, partners, trial, locked, needs, moved))
            continue;
        TakeMended(moved, trial, colors, needs, changes);
        return true;
    }
    return false;
}

// When neither slot of a pair can be mended alone (a text on two
// backgrounds that are too far apart, say): one of them moves in lightness,
// its hue and chroma kept, and each of its partners that then fails takes
// the colour nearest its own that suits all its pairs. Of every way that
// mends the pair, the one of the smallest total change (in OKLab) is taken.
bool MendTogether(const ContrastNeed& pair, TThemeColorTable& colors, const std::vector<ContrastNeed>& needs,
                  const std::set<SlotId>& locked, std::vector<ColorFix>& changes)
{
    double bestCost = std::numeric_limits<double>::infinity();
    TThemeColorTable best{};
    std::vector<int> bestMoved;
    // The pivot at lightness L: what it costs to mend everything around it,
    // kept when it is the least so far.
    const auto tryAt = [&](int index, const Oklch& own, const std::vector<Partner>& partners, double L) {
        const auto at = static_cast<std::size_t>(index);
        const TColor candidate = RGB565ToColor(ColorToRGB565(OklchToColorInGamut({L, own.C, own.h})));
        double cost = OklabDistance(ToOklab(candidate), ToOklab(colors[at]));
        if (cost >= bestCost)
            return;
        TThemeColorTable trial = colors;
        trial[at] = candidate;
        std::vector<int> moved = {index};
        if (!MendPartners(index, partners, trial, locked, needs, moved))
            return;
        for (std::size_t k = 1; k < moved.size(); ++k) {
            const auto other = static_cast<std::size_t>(moved[k]);
            cost += OklabDistance(ToOklab(trial[other]), ToOklab(colors[other]));
        }
        if (cost >= bestCost)
            return;
        bestCost = cost;
        best = trial;
        bestMoved = moved;
    };
    for (SlotId pivot : {pair.bg, pair.fg}) {
        // A page's background stays the page it was: a box or a text moves.
        if (locked.count(pivot) || ThemeSlots[static_cast<std::size_t>(SlotIndex(pivot))].role == SlotRole::Background)
            continue;
        const int index = SlotIndex(pivot);
        const Oklch own = ToOklch(ToOklab(colors[static_cast<std::size_t>(index)]));
        const std::vector<Partner> partners = PartnersOf(index, needs);
        // Coarse steps up to MaxMove either way, then fine ones around the best.
        constexpr double MaxMove = 0.4;
        double bestL = -1;
        for (int step = -8; step <= 8; ++step) {
            const double L = own.L + step * MaxMove / 8, cost = bestCost;
            if (step == 0 || L < 0 || L > 1)
                continue;
            tryAt(index, own, partners, L);
            if (bestCost < cost)
                bestL = L;
        }
        if (bestL >= 0)
            for (int step = -4; step <= 4; ++step) {
                const double L = bestL + step * 0.0125;
                if (step != 0 && L >= 0 && L <= 1)
                    tryAt(index, own, partners, L);
            }
    }
    if (bestMoved.empty())
        return false;
    TakeMended(bestMoved, best, colors, needs, changes);
    return true;
}

}  // namespace

std::vector<ContrastNeed> ContrastNeeds()
{
    TThemeColorTable colors{};
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = static_cast<TColor>(i + 1);
    std::map<std::pair<int, int>, double> strictest;
    for (bool small : {false, true}) {
        TLSDrawer drawer(colors, small);
        for (const LegibilityPair& p : LegibilityPairs(drawer, colors)) {
            double& need = strictest[{SlotIndex(p.fg), SlotIndex(p.bg)}];
            need = std::max(need, p.required);
        }
    }
    std::vector<ContrastNeed> needs;
    for (const auto& [pair, need] : strictest)
        needs.push_back({static_cast<SlotId>(pair.first), static_cast<SlotId>(pair.second), need});
    return needs;
}

LegibilityFixResult FixLegibility(TThemeColorTable& colors, const std::vector<ContrastNeed>& needs,
                                  const std::set<SlotId>& locked, const ContrastNeed* only)
{
    LegibilityFixResult result;
    const auto ratioOf = [&](const ContrastNeed& n) {
        return ContrastRatio(colors[static_cast<std::size_t>(SlotIndex(n.fg))],
                             colors[static_cast<std::size_t>(SlotIndex(n.bg))]);
    };
    std::set<std::pair<int, int>> givenUp;
    // Worst first; each mend can change what fails, so the list is made anew.
    // A pair given up on is tried again once others have been mended, since
    // their new colours may leave room for it.
    bool mendedSinceGivingUp = false;
    for (;;) {
        const ContrastNeed* worst = nullptr;
        for (const ContrastNeed& n : needs) {
            if (only && (n.fg != only->fg || n.bg != only->bg))
                continue;
            if (ratioOf(n) >= n.need || givenUp.count({SlotIndex(n.fg), SlotIndex(n.bg)}))
                continue;
            if (!worst || ratioOf(n) < ratioOf(*worst))
                worst = &n;
        }
        if (!worst && mendedSinceGivingUp && !givenUp.empty()) {
            givenUp.clear();
            result.unmendable.clear();
            mendedSinceGivingUp = false;
            continue;
        }
        if (!worst)
            break;
        bool mended = false;
        for (SlotId slot : {worst->fg, worst->bg}) {
            if (locked.count(slot))
                continue;
            const int index = SlotIndex(slot);
            const std::vector<Partner> partners = PartnersOf(index, needs);
            TColor chosen = 0;
            if (!NearestLegible(index, partners, colors, chosen))
                continue;
            const TColor before = colors[static_cast<std::size_t>(index)];
            const double worstBefore = Worst(before, partners, colors);
            colors[static_cast<std::size_t>(index)] = chosen;
            result.changes.push_back({slot, before, chosen, worstBefore, Worst(chosen, partners, colors)});
            mended = true;
            mendedSinceGivingUp = true;
            break;
        }
        if (!mended && (MendAroundLocked(*worst, colors, needs, locked, result.changes) ||
                        MendTogether(*worst, colors, needs, locked, result.changes))) {
            mended = true;
            mendedSinceGivingUp = true;
        }
        if (!mended) {
            const bool bothLocked = locked.count(worst->fg) && locked.count(worst->bg);
            result.unmendable.push_back(
                {worst->fg, worst->bg,
                 bothLocked ? std::string("both slots are locked")
                            : std::string("no colours the device shows give these slots (where not locked) the "
                                          "contrast all their pairs need")});
            givenUp.insert({SlotIndex(worst->fg), SlotIndex(worst->bg)});
        }
    }
    return result;
}
