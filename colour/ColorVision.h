#pragma once
// How a picture looks to eyes with a colour-vision deficiency, for the preview
// only. Protanopia, deuteranopia and tritanopia use the simulation matrices of
// Machado, Oliveira and Fernandes, "A Physiologically-based Model for
// Simulation of Color Vision Deficiency" (IEEE TVCG 15(6), 2009), at severity
// 1.0, applied to linear RGB; greyscale keeps the relative luminance alone.

#include "Bitmap.h"

#include <string>

enum class ColorVision { Normal, Protanopia, Deuteranopia, Tritanopia, Greyscale };

// "normal", "protanopia", "deuteranopia", "tritanopia", "greyscale"; false for others.
bool ParseColorVision(const std::string& name, ColorVision& vision);
const char* ColorVisionName(ColorVision vision);

TColor SimulateColor(TColor color, ColorVision vision);
// Every pixel of the bitmap, in place.
void SimulateBitmap(Bitmap& bitmap, ColorVision vision);
