#pragma once
// Mends what the legibility check finds: for a pair that is hard to read, the
// colour nearest to the text's own (in OKLab, hue and chroma weighing more
// than lightness, among the 65,536 the device can show) that lifts every pair that slot takes part in, on every page and at
// both display sizes, to its need plus a margin. Where the text's slot is
// locked or no colour of it will do, its background is mended instead; where
// neither can be, the pair is reported with the reason.

#include "ColorModel.h"
#include "Legibility.h"
#include "ThemeSlots.h"

#include <set>
#include <string>
#include <vector>

// One pair of slots some page shows text in, with the strictest need of any
// page and display size.
struct ContrastNeed {
    SlotId fg;
    SlotId bg;
    double need;
};

// Every pair of the pages at both display sizes. The pairs follow from what
// the pages draw, not from the colours.
std::vector<ContrastNeed> ContrastNeeds();

struct ColorFix {
    SlotId slot;
    TColor before;
    TColor after;
    // The lowest contrast of the slot's pairs, before and after.
    double worstBefore;
    double worstAfter;
};

struct UnmendablePair {
    SlotId fg;
    SlotId bg;
    std::string why;
};

struct LegibilityFixResult {
    std::vector<ColorFix> changes;
    std::vector<UnmendablePair> unmendable;
};

// Added to each need, so a mended pair is not left on the edge.
constexpr double ContrastMargin = 0.05;

// Mends every failing pair of `colors` in place (all of them, or only the
// pair fg/bg when `only` names one); locked slots never change.
LegibilityFixResult FixLegibility(TThemeColorTable& colors, const std::vector<ContrastNeed>& needs,
                                  const std::set<SlotId>& locked, const ContrastNeed* only = nullptr);
