// Shared pieces of the page operations.

#include "Unit2.h"

using S = SlotId;

#include <cstdio>

std::string TLSDrawer::TimeText() const
{
    const std::tm now = clock_();
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", now.tm_hour % 100, now.tm_min % 100);
    return text;
}

std::string TLSDrawer::DateText() const
{
    const std::tm now = clock_();
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%02d", now.tm_mday % 100, (now.tm_mon + 1) % 100,
                  (now.tm_year + 1900) % 100);
    return text;
}

void TLSDrawer::DrawSplitValue(const std::string& number, const std::string& unit, int x, int y, int w, int h,
                               SlotId numberSlot, SlotId unitSlot, std::uint8_t numberFont, std::uint8_t unitFont)
{
    const int n = MeasureText(number, numberFont).first;
    const int u = MeasureText(unit, unitFont).first;
    // Unlike DrawValueUnit, an odd spare pixel goes to the left of the number.
    int s = w - n - u;
    if (s % 2 != 0)
        ++s;
    s /= 2;
    DrawTextBox(number, x, y, n + s, h, S::Main_Background, numberSlot, numberFont, AlignBottom | AlignRight);
    DrawTextBox(unit, x + n + s, y, w - n - s, h, S::Main_Background, unitSlot, unitFont, AlignBottom | AlignLeft);
}
