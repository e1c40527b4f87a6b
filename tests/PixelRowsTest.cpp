// The row painters write several pixels per store; each must paint exactly its
// own pixels, whatever the length, and agree with the plain per-pixel rule.

#include "NibbleRows.h"
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
        const NibbleGlyph g{glyph.data(), rowBytes, width, rows};

        GuardedRows portable(width * 3, rows);
        PaintNibbleGlyph(portable.Row(0), portable.Stride(), g, pairs.data(), ramp.data());
        EXPECT_EQ(portable.data, expected.data) << "portable painter, width " << width;

        if (WideNibbleRowsSupported()) {
            GuardedRows wide(width * 3, rows);
            PaintNibbleGlyphWide(wide.Row(0), wide.Stride(), g, ramp.data());
            EXPECT_EQ(wide.data, expected.data) << "wide painter, width " << width;
        }
    }
    if (!WideNibbleRowsSupported())
        std::printf("this processor has no 64-byte byte permutes: only the portable painter was checked\n");
}

TEST(PixelRows, FillsAndCopiesEndExactlyAtTheirLength)
{
    for (int count = 0; count <= 260; ++count) {
        const int bytes = count * 3;
        GuardedRows filled(bytes, 1);
        FillPixels(filled.Row(0), static_cast<std::size_t>(count), 10, 20, 30);
        bool pattern = true;
        for (int i = 0; i < bytes; ++i)
            pattern = pattern && filled.Row(0)[i] == std::array<std::uint8_t, 3>{10, 20, 30}[i % 3];
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

}  // namespace
