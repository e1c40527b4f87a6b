#include "ThemeGenerator.h"

#include "Legibility.h"
#include "Oklab.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The order slots are given colours in: each is made legible against the
// ones before it, so pages first, the cursor before the text on it.
int Stage(SlotRole role)
{
    switch (role) {
    case SlotRole::Background:
        return 0;
    case SlotRole::Surface:
    case SlotRole::Cursor:
        return 1;
    case SlotRole::OnCursor:
        return 3;
    default:
        return 2;
    }
}

constexpr double MessageHue = 25;  // a warm red
constexpr double BalanceHue = 95;  // a yellow

// A small generator of its own (splitmix64), so a variation number means the
// same on every machine and library.
class Variation {
public:
    explicit Variation(std::uint32_t number) : state_(number), plain_(number == 0) {}
    // A number in [-1, 1); 0 for the plain theme.
    double Next()
    {
        if (plain_)
            return 0;
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) / static_cast<double>(1ull << 52) - 1;
    }

private:
    std::uint64_t state_;
    bool plain_;
};

double Wrap(double hue)
{
    hue = std::fmod(hue, 360);
    return hue < 0 ? hue + 360 : hue;
}

TColor DeviceColor(TColor color) { return RGB565ToColor(ColorToRGB565(color)); }

// Orange through yellow, where a tone dark enough for text on a light page
// reads as olive or brown.
bool WarmYellow(double hue) { return hue >= 40 && hue <= 120; }

// What a style makes of the seeds: the three accents, the page's tint and
// how strongly the neutrals carry it.
struct Palette {
    Oklch accent[3];  // hero, second, third
    double pageHue = 0;
    double pageChroma = 0;   // of the background
    double pageL = 0;        // of the background
    double dividerChroma = 0;
    double neutralHue = 0;
    double neutralTint = 1;  // how strongly text carries the page's hue
    double surfaceHue = 0;
};

Palette PaletteOf(const GenerateOptions& options, Variation& variation)
{
    std::vector<Oklch> seeds;
    for (std::size_t i = 0; i < options.seeds.size() && i < 3; ++i)
        seeds.push_back(ToOklch(ToOklab(DeviceColor(options.seeds[i]))));
    if (seeds.empty())
        seeds.push_back(ToOklch(ToOklab(DeviceColor(MakeColor(0x00, 0xBE, 0xFF)))));
    const Oklch hero = seeds[0];
    const GenerateStyle style = options.style;
    const bool dark = options.dark;
    const double vivid = std::clamp(options.vividness, 0, 150) / 100.0;
    // Where the second and third seeds are missing, the style turns the
    // hero's hue: near for the calm styles, far for the expressive one.
    const double turn = (style == GenerateStyle::Expressive ? 120 : style == GenerateStyle::Tonal ? 55 : 40) +
                        35 * variation.Next();
    Palette p;
    p.accent[0] = hero;
    for (int i = 1; i < 3; ++i) {
        const bool given = seeds.size() > std::size_t(i) && style != GenerateStyle::Monochrome;
        if (given) {
            p.accent[i] = seeds[std::size_t(i)];
        } else if (style == GenerateStyle::Monochrome) {
            // One hue: the others are the hero lighter and darker.
            const double step = (i == 1 ? 1 : -1) * (0.10 + 0.04 * variation.Next());
            p.accent[i] = {hero.L + (dark ? step : -step), hero.C * 0.85, hero.h};
        } else {
            p.accent[i] = {hero.L, std::max(hero.C, 0.06), Wrap(hero.h + (i == 1 ? turn : -turn))};
        }
    }
    // A variation may let the two derived accents change places; a seed the
    // user gave keeps its role.
    if (variation.Next() > 0 && (seeds.size() < 2 || style == GenerateStyle::Monochrome))
        std::swap(p.accent[1], p.accent[2]);
    for (Oklch& a : p.accent) {
        switch (style) {
        case GenerateStyle::Fidelity:
        case GenerateStyle::Monochrome:
            break;
        case GenerateStyle::Vibrant:
            a.C = std::max(a.C, 0.40);  // as far as the gamut goes
            break;
        case GenerateStyle::Tonal:
            a.C = std::min(a.C, 0.09);
            a.L = dark ? 0.80 : 0.55;
            break;
        case GenerateStyle::Expressive:
            a.C = std::max(a.C, 0.16);
            break;
        }
        a.C *= vivid;
        // Every variation but the plain one moves the accents' tones a little;
        // the hero of a faithful theme stays as it was chosen.
        if (&a != &p.accent[0] || style != GenerateStyle::Fidelity)
            a.L = std::clamp(a.L + 0.08 * variation.Next(), 0.05, 0.98);
    }
    // The page: a tint of the hero (of its opposite for the expressive
    // style), never the hero itself; on a light page a warm hero tints it more,
    // since text cannot take it there.
    const double tint = std::min(std::max(hero.C, 0.03) / 0.1, 1.5);
    double pageChroma = 0.012, pageL = dark ? 0.15 : 0.985, dividerChroma = 0.06, neutralTint = 1;
    p.pageHue = hero.h;
    p.surfaceHue = hero.h;
    switch (style) {
    case GenerateStyle::Fidelity:
        break;
    case GenerateStyle::Vibrant:
        // A page of the hero's own hue, deep or pale, and vivid lines.
        pageChroma = 0.06, pageL = dark ? 0.17 : 0.96, dividerChroma = 0.16, neutralTint = 3;
        break;
    case GenerateStyle::Tonal:
        pageChroma = 0.035, pageL = dark ? 0.21 : 0.96, dividerChroma = 0.045, neutralTint = 2.5;
        break;
    case GenerateStyle::Expressive:
        // A page of the hero's opposite; boxes in the second accent's hue.
        pageChroma = 0.06, pageL = dark ? 0.22 : 0.95, dividerChroma = 0.09, neutralTint = 1.5;
        p.pageHue = Wrap(hero.h + 180);
        p.surfaceHue = p.accent[1].h;
        break;
    case GenerateStyle::Monochrome:
        pageChroma = 0.05, pageL = dark ? 0.18 : 0.955, dividerChroma = 0.08, neutralTint = 4;
        break;
    }
    if (!dark && WarmYellow(hero.h) && hero.C > 0.06)
        pageChroma = std::max(pageChroma, 0.045);
    p.pageHue = Wrap(p.pageHue + 20 * variation.Next());
    p.pageChroma = pageChroma * tint * (1 + 0.4 * variation.Next());
    p.pageL = std::clamp(pageL + 0.03 * variation.Next(), 0.0, 1.0);
    p.dividerChroma = dividerChroma * std::min(tint, 1.0);
    p.neutralHue = p.pageHue;
    p.neutralTint = neutralTint * std::min(tint, 1.0) * (1 + 0.3 * variation.Next());
    return p;
}

// The slot's colour as the style would have it, before legibility.
Oklch Wanted(SlotRole role, const Palette& p, const GenerateOptions& options)
{
    const bool dark = options.dark;
    const auto neutral = [&](double darkL, double lightL, double chroma) {
        double L = dark ? darkL : lightL;
        if (options.highContrast)
            L = dark ? L + (1 - L) * 0.4 : L * 0.7;
        // Dark text of an orange or yellow tint would go brown: barely tinted there.
        const double most = !dark && WarmYellow(p.neutralHue) ? 0.035 : 0.1;
        return Oklch{L, std::min(chroma * p.neutralTint, most), p.neutralHue};
    };
    const bool mono = options.style == GenerateStyle::Monochrome;
    switch (role) {
    case SlotRole::Background:
        return {p.pageL, p.pageChroma, p.pageHue};
    case SlotRole::Surface:
        return {p.pageL + (dark ? 0.13 : -0.07), std::max(p.pageChroma * 1.5, 0.02), p.surfaceHue};
    case SlotRole::Divider:
        return {p.pageL + (dark ? 0.24 : -0.2), p.dividerChroma, p.accent[0].h};
    case SlotRole::Text:
        return neutral(0.96, 0.2, 0.008);
    case SlotRole::SecondaryText:
        return neutral(0.83, 0.37, 0.015);
    case SlotRole::Label:
        return neutral(0.68, 0.5, 0.02);
    case SlotRole::Hero:
    case SlotRole::HeroText:
    case SlotRole::Cursor:
        return p.accent[0];
    case SlotRole::OnCursor:
        return {0, 0, 0};  // chosen against the cursor
    case SlotRole::Second:
        return p.accent[1];
    case SlotRole::Third:
        return p.accent[2];
    case SlotRole::Message:
        return mono ? Oklch{p.accent[0].L, p.accent[0].C, p.accent[0].h} : Oklch{dark ? 0.72 : 0.52, 0.16, MessageHue};
    case SlotRole::Balance:
        return mono ? Oklch{dark ? 0.86 : 0.45, p.accent[0].C * 0.7, p.accent[0].h} : Oklch{dark ? 0.86 : 0.46, 0.14, BalanceHue};
    }
    return {};
}

double Apart(TColor x, TColor y) { return OklabDistance(ToOklab(x), ToOklab(y)); }

bool ApartFromAll(int slot, TColor color, const TThemeColorTable& colors)
{
    for (const SlotsApart& pair : SlotsKeptApart()) {
        const int a = SlotIndex(pair.a), b = SlotIndex(pair.b);
        if (a != slot && b != slot)
            continue;
        if (Apart(color, colors[static_cast<std::size_t>(a == slot ? b : a)]) < MinimumApart)
            return false;
    }
    return true;
}

// Whether `color` in `slot` gives each of its pairs whose other slot is
// `given` its need, with the margin.
bool LegibleSoFar(int slot, TColor color, const TThemeColorTable& colors, const std::array<bool, ThemeSlotCount>& given,
                  const std::vector<ContrastNeed>& needs)
{
    for (const ContrastNeed& n : needs) {
        const int fg = SlotIndex(n.fg), bg = SlotIndex(n.bg);
        if (fg != slot && bg != slot)
            continue;
        const int other = fg == slot ? bg : fg;
        if (given[static_cast<std::size_t>(other)] &&
            ContrastRatio(color, colors[static_cast<std::size_t>(other)]) < n.need + ContrastMargin)
            return false;
    }
    return true;
}

// The same against every pair the slot is in.
bool Legible(int slot, TColor color, const TThemeColorTable& colors, const std::vector<ContrastNeed>& needs)
{
    std::array<bool, ThemeSlotCount> all{};
    all.fill(true);
    return LegibleSoFar(slot, color, colors, all, needs);
}

// Where two slots kept apart came out alike (equal seeds, a locked slot
// near a role's tone, a colour the fixer chose), an unlocked one of them
// turns its hue or changes its lightness until it differs from all it is
// kept apart from. With `needs`, only to a colour that keeps its pairs legible.
void KeepApart(TThemeColorTable& colors, const std::set<SlotId>& locked, const std::vector<ContrastNeed>* needs)
{
    for (const SlotsApart& pair : SlotsKeptApart()) {
        const std::size_t a = static_cast<std::size_t>(SlotIndex(pair.a)), b = static_cast<std::size_t>(SlotIndex(pair.b));
        if (Apart(colors[a], colors[b]) >= MinimumApart)
            continue;
        bool moved = false;
        for (SlotId mover : {pair.b, pair.a}) {
            if (locked.count(mover) || moved)
                continue;
            const int slot = SlotIndex(mover);
            const Oklch own = ToOklch(ToOklab(colors[static_cast<std::size_t>(slot)]));
            const double chroma = std::max(own.C, 0.1);
            for (double dL : {0.0, 0.05, -0.05, 0.1, -0.1, 0.15, -0.15, 0.2, -0.2, 0.3, -0.3}) {
                for (int turn = 0; turn < 12 && !moved; ++turn) {
                    const TColor candidate = DeviceColor(
                        OklchToColorInGamut({own.L + dL, turn ? chroma : own.C, Wrap(own.h + 30 * turn)}));
                    if (ApartFromAll(slot, candidate, colors) && (!needs || Legible(slot, candidate, colors, *needs))) {
                        colors[static_cast<std::size_t>(slot)] = candidate;
                        moved = true;
                    }
                }
                if (moved)
                    break;
            }
        }
    }
}

// The wanted colour where it is legible against what it stands on, else the
// nearest tone of its hue that is, with as much of its chroma as the
// device's colours have at that lightness: lighter on a dark page, darker
// on a light one.
TColor LegibleTone(int slot, Oklch want, const TThemeColorTable& colors, const std::array<bool, ThemeSlotCount>& given,
                   const std::vector<ContrastNeed>& needs)
{
    const TColor asIs = DeviceColor(OklchToColorInGamut(want));
    if (LegibleSoFar(slot, asIs, colors, given, needs))
        return asIs;
    double partner = 0;
    int partners = 0;
    for (const ContrastNeed& n : needs) {
        const int fg = SlotIndex(n.fg), bg = SlotIndex(n.bg);
        const int other = fg == slot ? bg : bg == slot ? fg : -1;
        if (other >= 0 && given[static_cast<std::size_t>(other)]) {
            partner += RelativeLuminance(colors[static_cast<std::size_t>(other)]);
            ++partners;
        }
    }
    const double up = partners == 0 || partner / partners < 0.18 ? 1 : -1;
    for (int step = 1; step <= 100; ++step) {
        const Oklch tone{want.L + up * 0.01 * step, want.C, want.h};
        if (tone.L < 0 || tone.L > 1)
            break;
        const TColor candidate = DeviceColor(OklchToColorInGamut(tone));
        if (LegibleSoFar(slot, candidate, colors, given, needs))
            return candidate;
    }
    return asIs;  // the fixer's to mend, or to report
}

bool IsForeground(int slot, const std::vector<ContrastNeed>& needs)
{
    return std::any_of(needs.begin(), needs.end(), [slot](const ContrastNeed& n) { return SlotIndex(n.fg) == slot; });
}

}  // namespace

const std::vector<SlotsApart>& SlotsKeptApart()
{
    // The three modes' arcs all take the hero: they never stand side by side.
    static const std::vector<SlotsApart> pairs = {
        {SlotId::Menu_Background, SlotId::Menu_Cursor},   {SlotId::Menu_Text, SlotId::Menu_TextSelected},
        {SlotId::Main_Background, SlotId::Main_AccentPB}, {SlotId::Main_Background, SlotId::Main_AccentVW},
        {SlotId::Main_Background, SlotId::Main_AccentTC}, {SlotId::Main_Background, SlotId::Main_Fixed_Acc},
        {SlotId::Main_Background, SlotId::Main_PuffTime_Acc},
    };
    return pairs;
}

const char* StyleName(GenerateStyle style)
{
    static const char* const names[GenerateStyleCount] = {"fidelity", "vibrant", "tonal", "expressive", "monochrome"};
    return names[static_cast<int>(style)];
}

bool ParseStyle(const std::string& name, GenerateStyle& style)
{
    for (int i = 0; i < GenerateStyleCount; ++i)
        if (name == StyleName(static_cast<GenerateStyle>(i))) {
            style = static_cast<GenerateStyle>(i);
            return true;
        }
    return false;
}

bool IsMuddy(TColor color)
{
    const Oklch c = ToOklch(ToOklab(color));
    return WarmYellow(c.h) && c.C > 0.04 && c.L < 0.6;
}

std::vector<ContrastNeed> GenerationNeeds(bool highContrast)
{
    // The pairs follow from what the pages draw; finding them draws every
    // page at both sizes, so it is done once.
    static const std::vector<ContrastNeed> standard = ContrastNeeds();
    std::vector<ContrastNeed> needs = standard;
    if (highContrast)
        for (ContrastNeed& n : needs)
            n.need = n.need >= 4.5 ? 7.0 : 4.5;
    return needs;
}

std::array<TColor, 3> ThemeSeeds(const TThemeColorTable& colors)
{
    const auto at = [&](SlotId slot) { return colors[static_cast<std::size_t>(SlotIndex(slot))]; };
    return {at(SlotId::Main_AccentVW), at(SlotId::Main_Fixed_Acc), at(SlotId::Main_PuffTime_Acc)};
}

bool HasDarkPages(const TThemeColorTable& colors)
{
    return RelativeLuminance(colors[static_cast<std::size_t>(SlotIndex(SlotId::Main_Background))]) < 0.5;
}

GeneratedTheme GenerateTheme(const GenerateOptions& options, const TThemeColorTable& current,
                             const std::set<SlotId>& locked)
{
    Variation variation(options.variation);
    const Palette palette = PaletteOf(options, variation);
    const std::vector<ContrastNeed> needs = GenerationNeeds(options.highContrast);
    GeneratedTheme result;
    result.colors = current;
    std::array<bool, ThemeSlotCount> given{};
    for (SlotId slot : locked)
        given[static_cast<std::size_t>(SlotIndex(slot))] = true;
    for (int stage = 0; stage <= 3; ++stage)
        for (const ThemeSlot& slot : ThemeSlots) {
            const auto index = static_cast<std::size_t>(slot.index);
            if (given[index] || Stage(slot.role) != stage)
                continue;
            Oklch want = Wanted(slot.role, palette, options);
            if (slot.role == SlotRole::OnCursor) {
                // Light or dark text, whichever the bar sets off better.
                const TColor bar = result.colors[static_cast<std::size_t>(SlotIndex(SlotId::Menu_Cursor))];
                const bool lightText = ContrastRatio(bar, MakeColor(255, 255, 255)) > ContrastRatio(bar, 0);
                want = {lightText ? 0.98 : 0.16, 0.01, palette.neutralHue};
            }
            const bool foreground = IsForeground(slot.index, needs);
            TColor color = foreground ? LegibleTone(slot.index, want, result.colors, given, needs)
                                      : DeviceColor(OklchToColorInGamut(want));
            // Yellow and orange text on a light page goes olive: there the
            // hero fills areas and tints the page, and the text is neutral.
            if (!options.dark && foreground && IsMuddy(color))
                color = LegibleTone(slot.index, Wanted(SlotRole::SecondaryText, palette, options), result.colors, given, needs);
            result.colors[index] = color;
            given[index] = true;
        }
    KeepApart(result.colors, locked, nullptr);
    result.unmendable = FixLegibility(result.colors, needs, locked).unmendable;
    // The fixer may have brought two of them close again; they part once
    // more, now only to colours that stay legible.
    KeepApart(result.colors, locked, &needs);
    return result;
}
