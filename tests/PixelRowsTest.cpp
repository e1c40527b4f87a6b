// The drawer's fast paths. The row painters write several pixels per store;
// each must paint exactly its own pixels, whatever the length, and agree with
// the plain per-pixel rule. The map of untouched background must never call a
// touched tile clean.

#include "CleanTiles.h"
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

TEST(PixelRows, NibbleGlyphPaintersAgreeWithThePerPixelRule)
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
        EXPECT_EQ(portable.data, expected.data) << "portable painter, width " << width;

        if (WideGlyphRowsSupported()) {
            GuardedRows wide(width * 3, rows);
            PaintNibbleGlyphWide(wide.Row(0), wide.Stride(), g, ramp.data());
            EXPECT_EQ(wide.data, expected.data) << "wide painter, width " << width;
        }
    }
    if (!WideGlyphRowsSupported())
        std::printf("this processor has no 64-byte byte permutes: only the portable painter was checked\n");
}

TEST(PixelRows, BitRowPaintersAgreeWithThePerPixelRule)
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
            EXPECT_EQ(portable.data, expected.data) << "portable painter, width " << width << " from " << first;
            if (first == 0 && WideGlyphRowsSupported()) {
                GuardedRows wide(width * 3, rows);
                PaintBitGlyphWide(wide.Row(0), wide.Stride(), GlyphRows{glyph.data(), rowBytes, width, rows}, clear,
                                  set);
                EXPECT_EQ(wide.data, expected.data) << "wide painter, width " << width;
            }
        }
    }
}

TEST(PixelRows, FillsAndCopiesEndExactlyAtTheirLength)
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
    std::vector<std::uint8_t> source(800);
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint8_t>(i * 7 + 1);
    for (int bytes = 0; bytes <= 720; ++bytes) {
        GuardedRows copied(bytes, 1);
        CopyRun(copied.Row(0), source.data(), static_cast<std::size_t>(bytes));
        EXPECT_EQ(std::memcmp(copied.Row(0), source.data(), static_cast<std::size_t>(bytes)), 0) << bytes;
        EXPECT_TRUE(copied.MarginsIntact()) << bytes << " bytes";
    }
}

TEST(CleanTilesTest, OnlyUntouchedBackgroundIsClean)
{
    const TColor bg = MakeColor(1, 2, 3), other = MakeColor(9, 9, 9);
    CleanTiles tiles;
    EXPECT_FALSE(tiles.IsClean(0, 0, 10, 10, bg)) << "nothing is known before a page starts";
    tiles.Begin(bg);
    EXPECT_TRUE(tiles.IsClean(0, 0, 240, 320, bg));
    EXPECT_FALSE(tiles.IsClean(0, 0, 10, 10, other)) << "clean means holding the background";

    tiles.Filled(20, 20, 30, 21, bg);  // the background keeps tiles clean
    EXPECT_TRUE(tiles.IsClean(16, 16, 32, 32, bg));
    tiles.Filled(20, 20, 30, 21, other);
    tiles.Touch(235, 315, 260, 400);  // clipped to the bitmap
    tiles.Touch(-5, -5, 1, 1);
    struct Probe {
        int x1, y1, x2, y2;
        bool clean;
    };
    const Probe probes[] = {
        {20, 20, 30, 21, false}, {29, 20, 30, 21, false},  // the fill itself
        {31, 20, 40, 21, false},                            // shares a tile with it
        {32, 16, 40, 24, true},  {16, 24, 32, 32, true},    // neighbouring tiles
        {232, 312, 240, 320, false}, {224, 312, 232, 320, true},
        {0, 0, 8, 8, false},     {8, 8, 16, 16, true},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(tiles.IsClean(p.x1, p.y1, p.x2, p.y2, bg), p.clean) << p.x1 << "," << p.y1;
    tiles.End();
    EXPECT_FALSE(tiles.IsClean(8, 8, 16, 16, bg));
}

}  // namespace
