#pragma once
// Colours written as text, as palette sites and other editors hand them over:
// "#RRGGBB", "RRGGBB", "#RGB", "rgb(r, g, b)" and RGB565 words "$XXXX" or
// "0xXXXX". Surrounding white space is ignored, letters may be of either case.

#include "ColorModel.h"

#include <string>

// The 24-bit colour the text names, not yet rounded to what the device shows;
// false for any other text.
bool ParseColorText(const std::string& text, TColor& color);

// "#RRGGBB", upper-case.
std::string ColorToHexText(TColor color);
