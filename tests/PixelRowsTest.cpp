// The drawer's row painters write several pixels per store; each must paint
// exactly its own pixels, whatever the length, and agree with the plain
// per-pixel rule.

#include "GlyphRows.h"
#include "PixelFill.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr std::uint8_t Guard = 0xA5;
constexpr int Margin = 80;  // guarded bytes on either side of every row

// Rows of `bytes` each with guarded margins, all set to the guard byte.
struct GuardedRows {
    int bytes, rows;
    std::vector<std::uint8_t> data;
    GuardedRows(int rowBytes, int rowCount)
        : bytes(rowBytes), rows(rowCount),
          data(static_cast<std::size_t>((rowBytes + 2 * Margin) * rowCount), Guard) {}
    int Stride() const { return bytes + 2 * Margin; }
    std::uint8_t* Row(int r) { return data.data() + r * Stride() + Margin; }
    // The bytes outside the rows still hold the guard.
    bool MarginsIntact() const
    {
        for (int r = 0; r < rows; ++r)
            for (int i = 0; i < Margin; ++i)
                if (data[static_cast<std::size_t>(r * Stride() + i)] != Guard ||
                    data[static_cast<std::size_t>(r * Stride() + Margin + bytes + i)] != Guard)
                    return false;
        return true;
    }
};

TEST(PixelRows, NibbleGlyphPainterAgreesWithThePerPixelRule)
{
    std::mt19937 random(20261208);
    std::array<std::uint8_t, 48> ramp{};
    std::array<std::uint64_t, 256> pairs{};
    for (int width = 1; width <= 220; ++width) {
        for (auto& b : ramp)
            b = static_cast<std::uint8_t>(random());
        for (std::size_t b = 0; b < 256; ++b) {
            std::uint8_t six[8] = {};
            std::memcpy(six, &ramp[(b >> 4) * 3], 3);
            std::memcpy(six + 3, &ramp[(b & 15) * 3], 3);
            std::memcpy(&pairs[b], six, 8);
        }
        const int rows = 3, rowBytes = (width + 1) / 2;
        std::vector<std::uint8_t> glyph(static_cast<std::size_t>(rowBytes * rows));
        for (auto& b : glyph)
            b = static_cast<std::uint8_t>(random());

        GuardedRows expected(width * 3, rows);
        for (int r = 0; r < rows; ++r)
            for (int k = 0; k < width; ++k) {
                const std::uint8_t b = glyph[static_cast<std::size_t>(r * rowBytes + k / 2)];
                std::memcpy(expected.Row(r) + k * 3, &ramp[((k % 2) != 0 ? b & 15 : b >> 4) * 3], 3);
            }
        const GlyphRows g{glyph.data(), rowBytes, width, rows};

        GuardedRows portable(width * 3, rows);
        PaintNibbleGlyph(portable.Row(0), portable.Stride(), g, pairs.data(), ramp.data());
        EXPECT_EQ(portable.data, expected.data) << "width " << width;
    }
}

TEST(PixelRows, BitRowPainterAgreesWithThePerPixelRule)
{
    std::mt19937 random(81226);
    const std::uint8_t clear[3] = {1, 2, 3}, set[3] = {250, 251, 252};
    std::array<std::array<std::uint8_t, 16>, 16> quads{};
    for (std::size_t n = 0; n < 16; ++n)
        for (std::size_t p = 0; p < 4; ++p)
            std::memcpy(&quads[n][p * 3], (n >> (3 - p)) & 1 ? set : clear, 3);
    for (int width = 1; width <= 100; ++width) {
        const int rows = 3, rowBytes = (width + 7) / 8;
        std::vector<std::uint8_t> glyph(static_cast<std::size_t>(rowBytes * rows));
        for (auto& b : glyph)
            b = static_cast<std::uint8_t>(random());
        const auto bit = [&](int r, int k) { return (glyph[static_cast<std::size_t>(r * rowBytes + k / 8)] >> (7 - k % 8)) & 1; };

        // Every cut of the row, as clipping at the bitmap's edges makes them.
        for (int first : {0, 1, 3, 5}) {
            if (first >= width)
                continue;
            GuardedRows expected((width - first) * 3, rows), portable((width - first) * 3, rows);
            for (int r = 0; r < rows; ++r) {
                for (int k = first; k < width; ++k)
                    std::memcpy(expected.Row(r) + (k - first) * 3, bit(r, k) ? set : clear, 3);
                PaintBitRow(portable.Row(r), &glyph[static_cast<std::size_t>(r * rowBytes)], first, width, quads.data(),
                            clear, set);
            }
            EXPECT_EQ(portable.data, expected.data) << "width " << width << " from " << first;
        }
    }
}

TEST(PixelRows, FillsEndExactlyAtTheirLength)
{
    for (int count = 0; count <= 260; ++count) {
        const int bytes = count * 3;
        // A new colour each time, so nothing left over from the last fill can pass.
        const std::array<std::uint8_t, 3> colour = {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count * 3 + 1),
                                                    static_cast<std::uint8_t>(255 - count)};
        GuardedRows filled(bytes, 1);
        FillPixels(filled.Row(0), static_cast<std::size_t>(count), colour[0], colour[1], colour[2]);
        bool pattern = true;
        for (int i = 0; i < bytes; ++i)
            pattern = pattern && filled.Row(0)[i] == colour[static_cast<std::size_t>(i % 3)];
        EXPECT_TRUE(pattern) << count << " pixels";
        EXPECT_TRUE(filled.MarginsIntact()) << count << " pixels";
    }
}

}  // namespace
