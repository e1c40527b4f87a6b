#include "Fonts.h"

#include "FontData.h"

const TFontTable& FontTableFor(int n)
{
    if (n < 0 || n >= FontCount)
        n = DefaultFont;
    return LSFontTables[n];
}

int FindCharIndex(const TFontTable& font, std::uint8_t c)
{
    for (int i = 0; font.chars[i] != 255; ++i)
        if (font.chars[i] == c)
            return i;
    return -1;
}
