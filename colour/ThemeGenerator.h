#pragma once
// Builds a whole theme from one to three seed colours. Each slot's role
// takes a tone of a palette in OKLCH made from the seeds (neutrals from the
// base, accents from the accent seeds), slots that must look different are
// kept apart, and the legibility fixer then lifts every pair some page
// draws text in to its need at both display sizes. Locked slots keep their
// colours. Only integer arithmetic picks the variation, and the tones are
// rounded to the device's colours, so the same inputs give the same theme
// on every machine.

#include "ColorModel.h"
#include "LegibilityFix.h"
#include "ThemeSlots.h"

#include <cstdint>
#include <set>
#include <vector>

struct GenerateOptions {
    // Base, accent and second accent; the first one to three count.
    std::vector<TColor> seeds;
    bool dark = true;
    // 7:1 where pages need 4.5:1, and 4.5:1 where they need 3:1.
    bool highContrast = false;
    // 0 is the plain theme of the seeds; every other number a variation of it.
    std::uint32_t variation = 0;
};

struct GeneratedTheme {
    TThemeColorTable colors{};
    // Pairs no colour could mend around the locked slots.
    std::vector<UnmendablePair> unmendable;
};

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

// The pairs of every page and their needs at the options' contrast level.
std::vector<ContrastNeed> GenerationNeeds(bool highContrast);
