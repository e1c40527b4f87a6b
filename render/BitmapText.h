#pragma once
// Plain drawing on a Bitmap outside the pages: filled rectangles and text in
// one of the program's bitmap fonts, for the glyph sheet and the theme card.

#include "Bitmap.h"

#include <string>

// Level 0..15 of the way from `paper` to `ink`, per channel, truncated.
TColor BlendLevel(TColor paper, TColor ink, int level);

// Clipped to the bitmap; right and bottom exclusive.
void FillRect(Bitmap& b, int x1, int y1, int x2, int y2, TColor c);

// Text in 4-bit font `font` (0..6), its top-left corner at (x, y), each
// glyph pixel blended from `paper` to `ink` by its level; a character the
// font lacks leaves a gap of 6. Returns the x after the text.
int DrawBitmapText(Bitmap& b, int x, int y, const std::string& text, int font, TColor paper, TColor ink);
// The width DrawBitmapText would take.
int BitmapTextWidth(const std::string& text, int font);
