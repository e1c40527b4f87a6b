#pragma once
// OKLab, a perceptual colour space: equal distances look about equally
// different, and lightness, chroma and hue are separate. Used to find the
// colour nearest to one the designer chose that meets a contrast need, to
// build a theme's tones and to group a picture's colours.

#include "ColorModel.h"

struct Oklab {
    double L = 0, a = 0, b = 0;
};

Oklab ToOklab(TColor color);
// Euclidean distance in OKLab (ΔE_OK); 1 between black and white.
double OklabDistance(const Oklab& x, const Oklab& y);

// The same colour in polar form: lightness 0..1, chroma, hue in degrees.
struct Oklch {
    double L = 0, C = 0, h = 0;
};

Oklch ToOklch(const Oklab& lab);
Oklab FromOklch(const Oklch& lch);

// The 24-bit colour of an OKLab colour; false when it lies outside what
// sRGB shows (by more than a rounding), and then `color` is clipped.
bool OklabToColor(const Oklab& lab, TColor& color);

// The colour of lightness L and hue h with the chroma asked for, or as
// much of it as sRGB shows at that lightness and hue.
TColor OklchToColorInGamut(Oklch lch);
