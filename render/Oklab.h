#pragma once
// OKLab, a perceptual colour space: equal distances look about equally
// different, and lightness, chroma and hue are separate. Used to find the
// colour nearest to one the designer chose that meets a contrast need.

#include "ColorModel.h"

struct Oklab {
    double L = 0, a = 0, b = 0;
};

Oklab ToOklab(TColor color);
// Euclidean distance in OKLab (ΔE_OK); 1 between black and white.
double OklabDistance(const Oklab& x, const Oklab& y);
