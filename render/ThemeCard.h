#pragma once
// A picture of a theme to share: its name; the main, menu, info and charge
// pages at 240x320 and the main page at 80x160, pixel for pixel as the
// preview draws them; and the 42 swatches with their list names and
// #RRGGBB. Drawn with the program's own fonts on a neutral background, so
// lsthtool makes the same card as the editor.

#include "Bitmap.h"
#include "DrawerClock.h"

#include <string>

Bitmap RenderThemeCard(const TThemeColorTable& colors, const std::string& name, const ClockSource& clock);

// Where the card puts its pictures of pages: the left edge of each, at
// the same top.
constexpr int CardPad = 16;
constexpr int CardPagesTop = 48;
constexpr int CardPages[4] = {0, 4, 5, 6};
int CardPageLeft(int index);  // 0..3 the large pages, 4 the small one
