#pragma once
// Painting glyph rows of 4-bit pixels (two per byte, high nibble first) as
// 24-bit pixels through a 16-colour ramp. Glyphs are most of a page's work, so
// there are two painters with the same result: a portable one that writes two
// pixels per store from a table of all 256 byte values, and one for processors
// with 64-byte byte permutes that does sixteen pixels per step.

#include <cstdint>

struct NibbleGlyph {
    const std::uint8_t* rows;  // the glyph's first row to paint
    int rowBytes;              // (width + 1) / 2
    int width;                 // pixels per row, all painted
    int rowCount;
};

// `ramp` is 48 bytes: blue, green, red of entries 0..15; `pairs[b]` holds the
// six bytes glyph byte b paints in its low bytes. `dst` is the first pixel of
// the first row, rows `stride` bytes apart. Nothing outside the glyph's own
// pixels is written.
void PaintNibbleGlyph(std::uint8_t* dst, int stride, const NibbleGlyph& glyph, const std::uint64_t* pairs,
                      const std::uint8_t* ramp);
// The same without the pair table; only where WideNibbleRowsSupported().
void PaintNibbleGlyphWide(std::uint8_t* dst, int stride, const NibbleGlyph& glyph, const std::uint8_t* ramp);
bool WideNibbleRowsSupported();
