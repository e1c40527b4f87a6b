#pragma once
// Painting glyph and image rows as 24-bit pixels. Glyphs are most of a page's
// work, so each kind of row has a portable painter and, for processors with
// 64-byte byte permutes, a wide one doing sixteen pixels per step; both give
// the same pixels and write nothing outside the glyph's own.
//
//   4-bit rows: two ramp indices per byte, high nibble first.
//   1-bit rows: eight pixels per byte, most significant bit first; a set bit is
//               the foreground, a clear one the background.

#include <array>
#include <cstdint>

struct GlyphRows {
    const std::uint8_t* rows;  // the first row to paint
    int rowBytes;              // bytes from one row to the next
    int width;                 // pixels per row, all painted
    int rowCount;
};

// `ramp` is 48 bytes: blue, green, red of entries 0..15; `pairs[b]` holds in
// its low bytes the six bytes glyph byte b paints. `dst` is the first pixel
// of the first row, rows `stride` bytes apart.
void PaintNibbleGlyph(std::uint8_t* dst, int stride, const GlyphRows& glyph, const std::uint64_t* pairs,
                      const std::uint8_t* ramp);

// `quads[n]` holds in its first twelve bytes the four pixels nibble n paints;
// `clear` and `set` are the two colours, three bytes each. Columns first..end-1
// of the row, `dst` pointing at column `first`.
void PaintBitRow(std::uint8_t* dst, const std::uint8_t* bits, int first, int end,
                 const std::array<std::uint8_t, 16>* quads, const std::uint8_t* clear, const std::uint8_t* set);

// Only where WideGlyphRowsSupported().
bool WideGlyphRowsSupported();
void PaintNibbleGlyphWide(std::uint8_t* dst, int stride, const GlyphRows& glyph, const std::uint8_t* ramp);
void PaintBitGlyphWide(std::uint8_t* dst, int stride, const GlyphRows& glyph, const std::uint8_t* clear,
                       const std::uint8_t* set);
