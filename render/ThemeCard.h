#pragma once
// A picture of a theme to share: its name; the main, menu, info and charge
// pages at 240x320 and the main page at 80x160, pixel for pixel as the
// preview draws them; and the 42 swatches under their sections' headings,
// with their list names and #RRGGBB. Drawn with the program's own fonts on
// a neutral background, so lsthtool makes the same card as the editor.

#include "Bitmap.h"
#include "DrawerClock.h"
#include "ThemeSlots.h"

#include <string>

Bitmap RenderThemeCard(const TThemeColorTable& colors, const std::string& name, const ClockSource& clock);

// Where the card puts its pictures of pages: the left edge of each, at
// the same top.
constexpr int CardPad = 16;
constexpr int CardPagesTop = 48;
constexpr int CardPages[4] = {0, 4, 5, 6};
int CardPageLeft(int index);  // 0..3 the large pages, 4 the small one

// A slot's name on the card: its colour list name, and where two slots of a
// section share one, with the mode of the page that shows it ("Dominant
// Acc. - Power Bank").
std::string CardSlotLabel(SlotId slot);
// A text as the card writes it in the device's font: capitals, a slash for
// a comma and a dash for brackets, which the font lacks.
std::string CardText(const std::string& text);
