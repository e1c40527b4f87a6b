#include "ThemeGenerator.h"

#include "Oklab.h"

#include <algorithm>
#include <cmath>

namespace {

// Where a role takes its hue from.
enum class HueFrom { Base, Accent1, Accent2, Accent3, Message, Balance };

struct RoleTone {
    double darkL;
    double lightL;
    HueFrom hue;
    // For neutrals the most chroma a vivid base gives; for accents a share
    // of the accent's own.
    double chroma;
    bool accent;
};

// Indexed by SlotRole. Light text on a dark page or the mirror of it; the
// tones leave each text pair above 4.5:1 before the fixer looks at them.
constexpr RoleTone RoleTones[] = {
    {0.16, 0.98, HueFrom::Base, 0.025, false},     // Background
    {0.30, 0.91, HueFrom::Base, 0.035, false},     // Surface
    {0.38, 0.80, HueFrom::Base, 0.040, false},     // Divider
    {0.97, 0.20, HueFrom::Base, 0.012, false},     // Text
    {0.84, 0.36, HueFrom::Base, 0.025, false},     // SecondaryText
    {0.68, 0.48, HueFrom::Base, 0.035, false},     // Label
    {0.80, 0.50, HueFrom::Accent1, 1.00, true},    // Accent1
    {0.74, 0.52, HueFrom::Accent2, 1.00, true},    // Accent2
    {0.78, 0.50, HueFrom::Accent3, 0.90, true},    // Accent3
    {0.72, 0.52, HueFrom::Message, 0.160, false},  // Message
    {0.88, 0.34, HueFrom::Accent1, 0.050, false},  // Charging
    {0.86, 0.46, HueFrom::Balance, 0.140, false},  // Balance
    {0.78, 0.46, HueFrom::Accent1, 0.80, true},    // Cursor
    {0.16, 0.98, HueFrom::Base, 0.020, false},     // OnCursor
};
static_assert(sizeof RoleTones / sizeof RoleTones[0] == static_cast<std::size_t>(SlotRole::OnCursor) + 1,
              "a tone for every role");

constexpr double MessageHue = 25;  // a warm red
constexpr double BalanceHue = 95;  // a yellow

bool IsText(SlotRole role)
{
    return role != SlotRole::Background && role != SlotRole::Surface && role != SlotRole::Divider &&
           role != SlotRole::Cursor && role != SlotRole::OnCursor;
}

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

struct Palettes {
    Oklch base;
    Oklch accent[3];
};

Palettes PalettesOf(const GenerateOptions& options, Variation& variation)
{
    std::vector<Oklch> seeds;
    for (std::size_t i = 0; i < options.seeds.size() && i < 3; ++i)
        seeds.push_back(ToOklch(ToOklab(options.seeds[i])));
    if (seeds.empty())
        seeds.push_back(ToOklch(ToOklab(MakeColor(0x00, 0xBE, 0xFF))));
    Palettes p;
    p.base = seeds[0];
    // An accent is vivid whatever the seed: a grey seed gives its hue a
    // little colour rather than none.
    const auto vivid = [](Oklch c) {
        c.C = std::clamp(c.C, 0.10, 0.19);
        return c;
    };
    const Oklch first = vivid(seeds.size() > 1 ? seeds[1] : seeds[0]);
    // The derived accents stand well off the first one's hue; how far is the
    // variation's.
    const double offset = 150 + 30 * variation.Next();
    p.accent[0] = first;
    p.accent[1] = seeds.size() > 2 ? vivid(seeds[2]) : Oklch{first.L, first.C, Wrap(first.h + offset)};
    p.accent[2] = Oklch{first.L, first.C * 0.9,
                        seeds.size() > 2 ? Wrap(p.accent[1].h + 90 + 20 * variation.Next()) : Wrap(first.h - offset)};
    return p;
}

TColor ToneOf(SlotRole role, const Palettes& p, const GenerateOptions& options, double toneShift, double chromaScale)
{
    const RoleTone& tone = RoleTones[static_cast<std::size_t>(role)];
    double L = options.dark ? tone.darkL : tone.lightL;
    // Higher contrast moves text towards the far end from the page.
    if (options.highContrast && IsText(role))
        L = options.dark ? L + (1 - L) * 0.4 : L * 0.7;
    L = std::clamp(L + toneShift, 0.0, 1.0);
    double hue = p.base.h, chroma = 0;
    switch (tone.hue) {
    case HueFrom::Base:
        // Neutrals carry the base's hue, as much as its own colourfulness gives.
        chroma = tone.chroma * std::min(p.base.C / 0.1, 1.6);
        break;
    case HueFrom::Accent1:
    case HueFrom::Accent2:
    case HueFrom::Accent3: {
        const Oklch& a = p.accent[static_cast<int>(tone.hue) - static_cast<int>(HueFrom::Accent1)];
        hue = a.h;
        chroma = tone.accent ? a.C * tone.chroma : tone.chroma;
        break;
    }
    case HueFrom::Message:
        hue = MessageHue;
        chroma = tone.chroma;
        break;
    case HueFrom::Balance:
        hue = BalanceHue;
        chroma = tone.chroma;
        break;
    }
    return DeviceColor(OklchToColorInGamut({L, chroma * chromaScale, hue}));
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

// Whether `color` in `slot` gives each pair the slot is in its need, with the margin.
bool Legible(int slot, TColor color, const TThemeColorTable& colors, const std::vector<ContrastNeed>& needs)
{
    for (const ContrastNeed& n : needs) {
        const int fg = SlotIndex(n.fg), bg = SlotIndex(n.bg);
        if (fg != slot && bg != slot)
            continue;
        if (ContrastRatio(color, colors[static_cast<std::size_t>(fg == slot ? bg : fg)]) < n.need + ContrastMargin)
            return false;
    }
    return true;
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

}  // namespace

const std::vector<SlotsApart>& SlotsKeptApart()
{
    static const std::vector<SlotsApart> pairs = {
        {SlotId::Menu_Background, SlotId::Menu_Cursor},   {SlotId::Menu_Text, SlotId::Menu_TextSelected},
        {SlotId::Main_Background, SlotId::Main_AccentPB}, {SlotId::Main_Background, SlotId::Main_AccentVW},
        {SlotId::Main_Background, SlotId::Main_AccentTC}, {SlotId::Main_AccentPB, SlotId::Main_AccentVW},
        {SlotId::Main_AccentPB, SlotId::Main_AccentTC},   {SlotId::Main_AccentVW, SlotId::Main_AccentTC},
    };
    return pairs;
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

GeneratedTheme GenerateTheme(const GenerateOptions& options, const TThemeColorTable& current,
                             const std::set<SlotId>& locked)
{
    Variation variation(options.variation);
    const Palettes palettes = PalettesOf(options, variation);
    // One shift of tone and of chroma per role, so slots of a role stay alike.
    double toneShift[std::size(RoleTones)], chromaScale[std::size(RoleTones)];
    for (std::size_t role = 0; role < std::size(RoleTones); ++role) {
        toneShift[role] = 0.035 * variation.Next();
        chromaScale[role] = 1 + 0.25 * variation.Next();
    }
    GeneratedTheme result;
    for (const ThemeSlot& slot : ThemeSlots) {
        const auto index = static_cast<std::size_t>(slot.index);
        const auto role = static_cast<std::size_t>(slot.role);
        result.colors[index] = locked.count(static_cast<SlotId>(slot.index))
                                   ? current[index]
                                   : ToneOf(slot.role, palettes, options, toneShift[role], chromaScale[role]);
    }
    const std::vector<ContrastNeed> needs = GenerationNeeds(options.highContrast);
    KeepApart(result.colors, locked, nullptr);
    result.unmendable = FixLegibility(result.colors, needs, locked).unmendable;
    // The fixer may have brought two of them close again; they part once
    // more, now only to colours that stay legible.
    KeepApart(result.colors, locked, &needs);
    return result;
}
