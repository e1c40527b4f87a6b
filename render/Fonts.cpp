#include "Fonts.h"

#include "FontData.h"

#include <array>

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

const std::int16_t* CharIndexTable(int n)
{
    static const auto tables = [] {
        std::array<std::array<std::int16_t, 256>, FontCount> t{};
        for (int f = 0; f < FontCount; ++f) {
            t[f].fill(-1);
            const TFontTable& font = LSFontTables[f];
            for (int i = 0; font.chars[i] != 255; ++i)
                if (t[f][font.chars[i]] < 0)
                    t[f][font.chars[i]] = static_cast<std::int16_t>(i);
        }
        return t;
    }();
    if (n < 0 || n >= FontCount)
        n = DefaultFont;
    return tables[static_cast<std::size_t>(n)].data();
}

int GlyphWidth(const TFontTable& font, int index) { return font.metrics[index * 4]; }

int GlyphPixel(const TFontTable& font, int index, int x, int y, bool oneBit)
{
    const std::uint8_t* m = font.metrics + index * 4;
    const int w = m[0];
    const int rowBytes = oneBit ? (w + 7) / 8 : (w + 1) / 2;
    const std::size_t at = static_cast<std::size_t>(m[2] | (m[3] << 8)) + static_cast<std::size_t>(y) * rowBytes +
                           static_cast<std::size_t>(oneBit ? x / 8 : x / 2);
    if (at >= font.glyphBytes)
        return 0;
    const std::uint8_t b = font.glyphs[at];
    if (oneBit)
        return (b >> (7 - x % 8)) & 1 ? 15 : 0;
    return x % 2 == 0 ? b >> 4 : b & 15;
}
