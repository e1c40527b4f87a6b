#pragma once
// The ten bitmap fonts of the device mock-ups, in the device's own table layout:
//
//   header   byte 0 = cell height in rows (nothing else in the header is read)
//   chars    the character codes, one byte each, ended by 255
//   metrics  4 bytes per character: width, 0, glyph offset (little-endian)
//   glyphs   per character, its rows top to bottom, each row byte-aligned:
//            4-bit rows hold two ramp indices per byte, high nibble first;
//            1-bit rows hold eight pixels per byte, most significant bit first.
//
// Fonts 0..6 are 4-bit (240x320 pages), 7..9 are 1-bit (80x160 pages). Which way
// the data is read is decided by the display mode when drawing, not by the font.

#include <cstddef>
#include <cstdint>

constexpr int FontCount = 10;
constexpr int DefaultFont = 6;

struct TFontTable {
    const std::uint8_t* header;
    const std::uint8_t* chars;
    const std::uint8_t* metrics;
    const std::uint8_t* glyphs;
    std::size_t glyphBytes;  // size of the glyph data, so a bad offset is never read past
};

// Font n (0..9); any other number gives the default font 6.
const TFontTable& FontTableFor(int n);

// The record of a character in a font, or -1 when the font lacks it.
int FindCharIndex(const TFontTable& font, std::uint8_t c);

// For each character code, its record in font n (0..9, others as FontTableFor)
// or -1: the same answers as FindCharIndex, without a search per glyph.
const std::int16_t* CharIndexTable(int n);

// The value of pixel (x, y) of glyph `index`: a ramp index 0..15 for 4-bit data,
// 0 or 15 for 1-bit data. For tools that show the fonts; the drawer has its own
// row loop.
int GlyphPixel(const TFontTable& font, int index, int x, int y, bool oneBit);
int GlyphWidth(const TFontTable& font, int index);
