// The baked font tables against the device's font table, and the pictures whose
// geometry the pages rely on.

#include "Fonts.h"
#include "Unit2.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ExpectedFont {
    int height;
    bool oneBit;
    std::string chars;
    std::vector<int> widths;
};

// clang-format off
const ExpectedFont Expected[FontCount] = {
    {59, false, "0123456789.", {33, 22, 33, 34, 34, 32, 33, 27, 32, 33, 13}},
    {30, false, "*CFWV", {8, 17, 14, 25, 18}},
    {26, false, "a", {215}},
    {21, false, "0123456789.:", {13, 9, 13, 13, 13, 13, 13, 11, 13, 13, 6, 6}},
    {15, false, "12", {32, 32}},
    {10, false, "12", {6, 6}},
    {17, false, "0123456789.ABCDEFGHIJKLMNOPQRSTUVWXYZ@#*+-/%?:<>",
     {12, 8, 11, 11, 11, 11, 11, 9, 11, 11, 5, 11, 12, 12, 12, 10, 10, 12, 12, 5, 8, 11, 10, 14, 12, 12, 11, 12, 11,
      11, 11, 12, 12, 16, 11, 12, 10, 13, 14, 6, 11, 8, 9, 20, 11, 5, 8, 9}},
    {25, true, ".0123456789CFVW*", {4, 14, 10, 13, 14, 15, 14, 14, 12, 14, 14, 15, 11, 17, 25, 10}},
    {14, true, "%+-./0123456789:<>?ABCDEFGHIJKLMNOPQRSTUVWXYZ*@#fpbrtcml",
     {12, 8, 4, 2, 6, 7, 6, 7, 7, 7, 7, 7, 7, 7, 7, 2, 7, 7, 5, 8, 7, 6, 8, 6, 6, 7, 8, 4, 5, 8, 6, 10, 8, 8, 7, 8, 7,
      6, 8, 8, 8, 12, 8, 8, 6, 6, 9, 9, 7, 12, 14, 13, 7, 16, 13, 13}},
    {11, true, "1", {32}},
};
// clang-format on

int RowBytes(int width, bool oneBit) { return oneBit ? (width + 7) / 8 : (width + 1) / 2; }

TEST(FontTables, MatchTheDeviceFontTable)
{
    for (int n = 0; n < FontCount; ++n) {
        SCOPED_TRACE("font " + std::to_string(n));
        const TFontTable& f = FontTableFor(n);
        const ExpectedFont& e = Expected[n];
        EXPECT_EQ(f.header[0], e.height);
        ASSERT_EQ(e.chars.size(), e.widths.size());
        std::size_t offset = 0;
        for (std::size_t i = 0; i < e.chars.size(); ++i) {
            ASSERT_EQ(f.chars[i], static_cast<std::uint8_t>(e.chars[i])) << "character " << i;
            const std::uint8_t* m = f.metrics + i * 4;
            EXPECT_EQ(m[0], e.widths[i]) << e.chars[i];
            EXPECT_EQ(m[1], 0) << e.chars[i];
            EXPECT_EQ(static_cast<std::size_t>(m[2] | (m[3] << 8)), offset) << e.chars[i] << ": glyphs not back to back";
            offset += static_cast<std::size_t>(RowBytes(e.widths[i], e.oneBit) * e.height);
        }
        EXPECT_EQ(f.chars[e.chars.size()], 255) << "list not ended by 255";
        EXPECT_EQ(f.glyphBytes, offset);
    }
    EXPECT_EQ(&FontTableFor(10), &FontTableFor(6));
    EXPECT_EQ(&FontTableFor(-1), &FontTableFor(6));
}

TEST(FontTables, EveryGlyphHasInkAndNoneOutsideItsWidth)
{
    for (int n = 0; n < FontCount; ++n) {
        const TFontTable& f = FontTableFor(n);
        const bool oneBit = Expected[n].oneBit;
        for (int i = 0; f.chars[i] != 255; ++i) {
            const int w = GlyphWidth(f, i), h = f.header[0], rowBytes = RowBytes(w, oneBit);
            const std::uint8_t* data = f.glyphs + (f.metrics[i * 4 + 2] | (f.metrics[i * 4 + 3] << 8));
            int ink = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x)
                    ink += GlyphPixel(f, i, x, y, oneBit) > 0;
                // Padding after the last pixel of a row stays clear.
                for (int x = w; x < rowBytes * (oneBit ? 8 : 2); ++x) {
                    const std::uint8_t b = data[y * rowBytes + (oneBit ? x / 8 : x / 2)];
                    const int v = oneBit ? (b >> (7 - x % 8)) & 1 : (x % 2 ? b & 15 : b >> 4);
                    EXPECT_EQ(v, 0) << "font " << n << " '" << f.chars[i] << "' row " << y;
                }
            }
            EXPECT_GT(ink, 0) << "font " << n << " '" << f.chars[i] << "' is blank";
        }
    }
}

// The rows and columns of a glyph that carry any ink.
struct InkExtent {
    int top = 1000, bottom = -1, left = 1000, right = -1;
};

InkExtent Extent(int font, char c, int threshold = 1)
{
    const TFontTable& f = FontTableFor(font);
    const int i = FindCharIndex(f, static_cast<std::uint8_t>(c));
    InkExtent e;
    for (int y = 0; y < f.header[0]; ++y)
        for (int x = 0; x < GlyphWidth(f, i); ++x)
            if (GlyphPixel(f, i, x, y, font >= 7) >= threshold) {
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
            }
    return e;
}

TEST(FontTables, PinnedPictures)
{
    // The clocks build their colon from full stops.
    EXPECT_EQ(Extent(0, '.').top, 49);
    EXPECT_EQ(Extent(0, '.').bottom, 57);
    EXPECT_EQ(Extent(7, '.').top, 21);
    EXPECT_EQ(Extent(7, '.').bottom, 24);

    // Font 4: body 30 wide, a 2-pixel terminal on the right of "1" and the left of "2".
    const InkExtent one = Extent(4, '1', 15), two = Extent(4, '2', 15);
    EXPECT_EQ(one.left, 0);
    EXPECT_EQ(one.right, 31);
    EXPECT_EQ(two.left, 0);
    EXPECT_EQ(two.right, 31);
    const TFontTable& f4 = FontTableFor(4);
    const int i1 = FindCharIndex(f4, '1'), i2 = FindCharIndex(f4, '2');
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(GlyphPixel(f4, i1, x, y, false), GlyphPixel(f4, i2, 31 - x, y, false)) << x << "," << y;
    // The body's walls run the full height at x 0 and 29; the terminal stands alone in 30..31.
    for (int y = 0; y < 15; ++y) {
        EXPECT_EQ(GlyphPixel(f4, i1, 0, y, false), 15);
        EXPECT_EQ(GlyphPixel(f4, i1, 29, y, false), 15);
    }
    EXPECT_EQ(GlyphPixel(f4, i1, 30, 0, false), 0);
    EXPECT_EQ(GlyphPixel(f4, i1, 30, 7, false), 15);

    // Font 9: a 26 x 11 outline at the left of its 32-pixel cell.
    const InkExtent nine = Extent(9, '1');
    EXPECT_EQ(nine.left, 0);
    EXPECT_EQ(nine.right, 25);
    EXPECT_EQ(nine.top, 0);
    EXPECT_EQ(nine.bottom, 10);
    const TFontTable& f9 = FontTableFor(9);
    for (int y = 0; y < 11; ++y)
        EXPECT_EQ(GlyphPixel(f9, 0, 23, y, true), 15) << "body's right wall, row " << y;
    EXPECT_EQ(GlyphPixel(f9, 0, 24, 0, true), 0);
    EXPECT_EQ(GlyphPixel(f9, 0, 25, 5, true), 15);

    // Digits of the value fonts share a baseline (round ones overshoot it by at
    // most a row, as type does) and fill most of their cells.
    for (int font : {0, 3, 7})
        for (char d : std::string("0123456789")) {
            const InkExtent e = Extent(font, d, 8);
            const int h = FontTableFor(font).header[0];
            const int baseline = Extent(font, '2', 8).bottom;
            EXPECT_GE(e.bottom - e.top + 1, h * 8 / 10) << "font " << font << " '" << d << "'";
            EXPECT_GE(e.bottom, baseline) << "font " << font << " '" << d << "'";
            EXPECT_LE(e.bottom, baseline + 1) << "font " << font << " '" << d << "'";
        }
}

TEST(FontTables, ValueTextMeasuresAndPaintsInsideItsCells)
{
    TThemeColorTable colors{};
    const TColor marker = MakeColor(9, 9, 9);
    colors[0] = marker;
    colors[2] = MakeColor(255, 255, 255);
    bool small = false;
    TLSDrawer drawer(colors, small);
    drawer.FillBox(0, 0, PreviewWidth, PreviewHeight, SlotId::Main_Background);
    EXPECT_EQ(drawer.MeasureText("42.0", 0).first, 113);
    drawer.DrawTextBox("42.0", 60, 80, 0, 0, SlotId::Main_Divider, SlotId::Main_DivSq, 0, 0);
    for (int y = 0; y < PreviewHeight; ++y)
        for (int x = 0; x < PreviewWidth; ++x) {
            const bool inCells = x >= 60 && x < 173 && y >= 80 && y < 139;
            EXPECT_EQ(drawer.Bitmap().Pixel(x, y) != marker, inCells) << x << "," << y;
        }
}

}  // namespace
