#include "BitmapText.h"

#include "Fonts.h"

#include <algorithm>

TColor BlendLevel(TColor bg, TColor fg, int v)
{
    auto ch = [&](unsigned b, unsigned f) { return (f * v + b * (15 - v)) / 15; };
    return MakeColor(ch(ColorRed(bg), ColorRed(fg)), ch(ColorGreen(bg), ColorGreen(fg)), ch(ColorBlue(bg), ColorBlue(fg)));
}

void FillRect(Bitmap& b, int x1, int y1, int x2, int y2, TColor c)
{
    for (int y = std::max(y1, 0); y < std::min(y2, b.Height()); ++y)
        for (int x = std::max(x1, 0); x < std::min(x2, b.Width()); ++x) {
            std::uint8_t* p = b.Row(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(ColorBlue(c));
            p[1] = static_cast<std::uint8_t>(ColorGreen(c));
            p[2] = static_cast<std::uint8_t>(ColorRed(c));
        }
}

int DrawBitmapText(Bitmap& b, int x, int y, const std::string& text, int font, TColor paper, TColor ink)
{
    const TFontTable& f = FontTableFor(font);
    for (unsigned char c : text) {
        const int i = FindCharIndex(f, c);
        if (i < 0) {
            x += 6;
            continue;
        }
        const int w = GlyphWidth(f, i);
        for (int r = 0; r < f.header[0]; ++r)
            for (int k = 0; k < w; ++k)
                FillRect(b, x + k, y + r, x + k + 1, y + r + 1, BlendLevel(paper, ink, GlyphPixel(f, i, k, r, false)));
        x += w;
    }
    return x;
}

int BitmapTextWidth(const std::string& text, int font)
{
    const TFontTable& f = FontTableFor(font);
    int width = 0;
    for (unsigned char c : text) {
        const int i = FindCharIndex(f, c);
        width += i < 0 ? 6 : GlyphWidth(f, i);
    }
    return width;
}
