#include "GlyphRows.h"

#include <cstring>

// The painters read a ramp as 48 bytes in a row.
static_assert(sizeof(std::array<std::array<std::uint8_t, 3>, 16>) == 48, "ramp entries are packed");

void RampTables::Set(TColor bg, TColor fg)
{
    if (bg == bg_ && fg == fg_)
        return;
    bg_ = bg;
    fg_ = fg;
    pairsValid_ = false;
    quadsValid_ = false;
    for (int i = 0; i < 16; ++i) {
        const TColor c = RampBlend(bg, fg, i);
        entries_[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(ColorBlue(c)),
                                                 static_cast<std::uint8_t>(ColorGreen(c)),
                                                 static_cast<std::uint8_t>(ColorRed(c))};
    }
}

TColor RampTables::Entry(int i) const
{
    const auto& e = entries_[static_cast<std::size_t>(i)];
    return MakeColor(e[2], e[1], e[0]);
}

const std::uint64_t* RampTables::Pairs()
{
    if (!pairsValid_) {
        std::uint64_t entry[16];
        for (std::size_t i = 0; i < 16; ++i)
            entry[i] = entries_[i][0] | (entries_[i][1] << 8u) | (std::uint64_t{entries_[i][2]} << 16);
        for (std::size_t b = 0; b < 256; ++b)
            pairs_[b] = entry[b >> 4] | (entry[b & 15] << 24);
        pairsValid_ = true;
    }
    return pairs_.data();
}

const std::array<std::uint8_t, 16>* RampTables::Quads()
{
    if (!quadsValid_) {
        for (std::size_t n = 0; n < 16; ++n)
            for (std::size_t p = 0; p < 4; ++p)
                std::memcpy(&quads_[n][p * 3], entries_[(n >> (3 - p)) & 1 ? 15 : 0].data(), 3);
        quadsValid_ = true;
    }
    return quads_.data();
}

void PaintNibbleGlyph(std::uint8_t* dst, int stride, const GlyphRows& glyph, const std::uint64_t* pairs,
                      const std::uint8_t* ramp)
{
    // Eight-byte stores overlap the next pair, which overwrites the two extra
    // bytes; the last pair of a row is stored exactly.
    const int fullBytes = glyph.width >> 1;
    const bool odd = (glyph.width & 1) != 0;
    const std::uint8_t* data = glyph.rows;
    for (int r = 0; r < glyph.rowCount; ++r, data += glyph.rowBytes, dst += stride) {
        std::uint8_t* d = dst;
        int i = 0;
        for (; i + 1 < fullBytes; ++i, d += 6)
            std::memcpy(d, &pairs[data[i]], 8);
        if (i < fullBytes) {
            std::memcpy(d, &pairs[data[i]], 6);
            d += 6;
        }
        if (odd)
            std::memcpy(d, ramp + (data[fullBytes] >> 4) * 3, 3);
    }
}

void PaintBitRow(std::uint8_t* dst, const std::uint8_t* bits, int first, int end,
                 const std::array<std::uint8_t, 16>* quads, const std::uint8_t* clear, const std::uint8_t* set)
{
    // Four pixels per 16-byte store from the nibble table; a store spills into
    // the next pixels, which the following one overwrites, so the groups at the
    // end of a row are stored exactly.
    const auto pixel = [&](int k) { return (bits[k >> 3] >> (7 - (k & 7))) & 1 ? set : clear; };
    int k = first;
    for (; k < end && (k & 3) != 0; ++k, dst += 3)
        std::memcpy(dst, pixel(k), 3);
    const auto quad = [&](int k) { return quads[(bits[k >> 3] >> (4 - (k & 4))) & 15].data(); };
    // The four spilled bytes reach into the second pixel after the group.
    for (; k + 6 <= end; k += 4, dst += 12)
        std::memcpy(dst, quad(k), 16);
    if (k + 4 <= end) {
        std::memcpy(dst, quad(k), 12);
        k += 4;
        dst += 12;
    }
    for (; k < end; ++k, dst += 3)
        std::memcpy(dst, pixel(k), 3);
}

void RecordRowLevels(std::uint16_t* record, const std::uint8_t* row, int first, int end, bool oneBit,
                     std::uint16_t base)
{
    const auto level = [&](int k) {
        return oneBit ? ((row[k >> 3] >> (7 - (k & 7))) & 1) * 15 : (k & 1) != 0 ? row[k >> 1] & 15 : row[k >> 1] >> 4;
    };
    int k = first;
    // Whole source bytes at a time in the middle of the row.
    const int step = oneBit ? 8 : 2;
    for (; k < end && k % step != 0; ++k)
        *record++ = static_cast<std::uint16_t>(base | level(k));
    if (oneBit) {
        for (; k + 8 <= end; k += 8, record += 8) {
            const unsigned b = row[k >> 3];
            for (int i = 0; i < 8; ++i)
                record[i] = static_cast<std::uint16_t>(base | (((b >> (7 - i)) & 1) * 15));
        }
    } else {
        for (; k + 2 <= end; k += 2, record += 2) {
            const unsigned b = row[k >> 1];
            record[0] = static_cast<std::uint16_t>(base | (b >> 4));
            record[1] = static_cast<std::uint16_t>(base | (b & 15));
        }
    }
    for (; k < end; ++k)
        *record++ = static_cast<std::uint16_t>(base | level(k));
}
