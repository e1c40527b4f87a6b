#pragma once
// Builds a whole theme from one to three seed colours. The first seed is the
// hero: the main pages' arcs and units, the menu cursor, and a colour on
// every other page. The second and third take the lesser accents. Each is
// used as it is where it is legible on its background, else as the nearest
// legible tone of its hue with as much of its chroma as the device's colours
// allow. The background and the neutrals take a tint, never a seed's place.
// A style decides how the seeds are read (as they are, as vivid as can be,
// calm, turned apart, or one hue); slots that must look different are kept
// apart, and the legibility fixer lifts every pair some page draws text in
// to its need at both display sizes. Locked slots keep their colours. Only
// integer arithmetic picks the variation, and the tones are rounded to the
// device's colours, so the same inputs give the same theme on every machine.

#include "ColorModel.h"
#include "LegibilityFix.h"
#include "ThemeSlots.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

enum class GenerateStyle {
    Fidelity,    // the seeds as they are, as far as legibility allows
    Vibrant,     // the most chroma the device's colours and the contrast allow
    Tonal,       // calm: muted accents over tinted neutrals
    Expressive,  // hues turned apart for contrast between the roles, a coloured page
    Monochrome,  // the hero's hue alone, in tones
};
constexpr int GenerateStyleCount = 5;
// "fidelity", "vibrant", "tonal", "expressive", "monochrome".
const char* StyleName(GenerateStyle style);
bool ParseStyle(const std::string& name, GenerateStyle& style);

struct GenerateOptions {
    // The hero, the second and the third; the first one to three count.
    std::vector<TColor> seeds;
    bool dark = true;
    // 7:1 where pages need 4.5:1, and 4.5:1 where they need 3:1.
    bool highContrast = false;
    // 0 is the plain theme of the seeds; every other number a variation of it.
    std::uint32_t variation = 0;
    GenerateStyle style = GenerateStyle::Fidelity;
    // The accents' chroma against what the style gives them, in percent
    // (0 grey to 150); the gamut and the contrast cap it.
    int vividness = 100;
};

struct GeneratedTheme {
    TThemeColorTable colors{};
    // Pairs no colour could mend around the locked slots.
    std::vector<UnmendablePair> unmendable;
};

// The hero, the second and the third a theme has: the colours of the slots
// the generator gives those roles first (the arcs, the Fixed accent, the
// puff accent). Generate Theme starts from them.
std::array<TColor, 3> ThemeSeeds(const TThemeColorTable& colors);
// Whether a theme's pages are dark: Generate Theme starts with its own kind.
bool HasDarkPages(const TThemeColorTable& colors);

GeneratedTheme GenerateTheme(const GenerateOptions& options, const TThemeColorTable& current,
                             const std::set<SlotId>& locked);

// Slots that stand for different things side by side (a selected and an
// unselected menu item, the cursor and its background, each accent and the
// page), and the least OKLab distance a generated theme keeps between them.
struct SlotsApart {
    SlotId a;
    SlotId b;
};
const std::vector<SlotsApart>& SlotsKeptApart();
constexpr double MinimumApart = 0.1;

// Slots whose text would read as olive or brown: an orange-to-yellow hue
// with some chroma, darkened below lightness 0.6. Light generated themes have none.
bool IsMuddy(TColor color);

// The pairs of every page and their needs at the options' contrast level.
std::vector<ContrastNeed> GenerationNeeds(bool highContrast);
