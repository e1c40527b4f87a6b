#pragma once
// How legible a theme is: every pair of foreground and background slot that a
// page draws text, digits or icons in, with its contrast ratio as WCAG 2
// defines it (relative luminance of the colours the device shows). Text must
// reach 4.5:1; the large fonts (value digits, unit, accent arc) and icons 3:1.

#include "ColorModel.h"
#include "Unit2.h"

#include <string>
#include <vector>

// Relative luminance 0..1 of a 24-bit colour (sRGB).
double RelativeLuminance(TColor color);
// (lighter + 0.05) / (darker + 0.05), 1..21.
double ContrastRatio(TColor a, TColor b);
// The same, for two relative luminances already known.
double LuminanceContrast(double a, double b);

struct LegibilityPair {
    int page;
    SlotId fg;
    SlotId bg;
    double ratio;
    double required;  // 4.5 or 3
    bool Fails() const { return ratio < required; }
};

// Every pair each page shows at the display size of `drawer` (which it
// draws, page by page), each once per page with the strictest need.
std::vector<LegibilityPair> LegibilityPairs(TLSDrawer& drawer, const TThemeColorTable& colors);
// The failing ones, worst first (lowest ratio, then page).
std::vector<LegibilityPair> FailingPairs(TLSDrawer& drawer, const TThemeColorTable& colors);
