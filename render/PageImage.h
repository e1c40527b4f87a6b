#pragma once
// Pictures of pages to share: the device screen alone (the 80x160 screen cut
// from the bitmap around it) and enlarged by whole factors, pixel for pixel.

#include "Bitmap.h"

#include <vector>

// The part of a drawn 240x320 bitmap the device shows.
Bitmap ScreenOf(const Bitmap& bitmap, bool smallDisplay);
// Each pixel as a `factor` x `factor` square.
Bitmap Enlarged(const Bitmap& bitmap, int factor);
// `parts` side by side, left to right, all of the first one's height.
Bitmap SideBySide(const std::vector<Bitmap>& parts);
