#pragma once
// Painting glyph and image rows as 24-bit pixels, and recording the ramp level
// of each pixel beside them. Both painters write whole 64-bit or 128-bit words
// and let the next store overwrite the spill, storing the last pixels of a row
// exactly, so nothing outside the row's own pixels is written.
//
//   4-bit rows: two ramp indices per byte, high nibble first.
//   1-bit rows: eight pixels per byte, most significant bit first; a set bit is
//               the foreground (level 15), a clear one the background (level 0).

#include "ColorModel.h"

#include <array>
#include <cstdint>

// The 16 ramp colours between a background and a foreground, and the tables
// the painters build from them when a glyph first needs them.
class RampTables {
public:
    // Keeps the tables when the colours are those of the last call.
    void Set(TColor bg, TColor fg);
    TColor Entry(int i) const;
    // Blue, green, red of entries 0..15: 48 bytes.
    const std::uint8_t* Entries() const { return entries_[0].data(); }
    const std::uint8_t* EntryBytes(int i) const { return entries_[static_cast<std::size_t>(i)].data(); }
    // The six bytes each 4-bit glyph byte paints (two pixels), in the low
    // bytes of a 64-bit word.
    const std::uint64_t* Pairs();
    // The twelve bytes each 1-bit nibble paints (four pixels).
    const std::array<std::uint8_t, 16>* Quads();

private:
    TColor bg_ = 0, fg_ = 0;
    std::array<std::array<std::uint8_t, 3>, 16> entries_{};  // black to black
    std::array<std::uint64_t, 256> pairs_{};
    bool pairsValid_ = false;
    std::array<std::array<std::uint8_t, 16>, 16> quads_{};
    bool quadsValid_ = false;
};

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

// The level of each pixel of columns first..end-1 of one row, or-ed into
// `base`; `record` points at column `first`.
void RecordRowLevels(std::uint16_t* record, const std::uint8_t* row, int first, int end, bool oneBit,
                     std::uint16_t base);
