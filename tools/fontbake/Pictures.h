#pragma once
// The characters that are pictures rather than letters: degree and ohm signs,
// the icons of font 8, battery outlines, the accent arc and the clock dots.

#include "GlyphCanvas.h"

// Draws the picture for character c of font `font` into the canvas and returns
// true, or returns false when that character is an ordinary letter.
bool DrawPicture(int font, unsigned char c, GlyphCanvas& canvas);
