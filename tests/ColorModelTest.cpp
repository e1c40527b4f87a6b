#include "ColorModel.h"
#include "ThemeSlots.h"

#include <gtest/gtest.h>

TEST(ColorModel, EveryWordSurvivesTheRoundTrip)
{
    for (std::uint32_t w = 0; w <= 0xFFFF; ++w)
        ASSERT_EQ(ColorToRGB565(RGB565ToColor(w)), w) << "word " << w;
}

TEST(ColorModel, ExpansionMatchesTheNearestEightBitValue)
{
    for (std::uint32_t w = 0; w <= 0xFFFF; w += 7) {
        const TColor c = RGB565ToColor(w);
        const double r = ((w >> 11) & 31) * 255.0 / 31, g = ((w >> 5) & 63) * 255.0 / 63, b = (w & 31) * 255.0 / 31;
        ASSERT_LE(std::abs(ColorRed(c) - r), 0.5);
        ASSERT_LE(std::abs(ColorGreen(c) - g), 0.5);
        ASSERT_LE(std::abs(ColorBlue(c) - b), 0.5);
        ASSERT_EQ(c >> 24, 0u);
    }
}

struct WordCase {
    std::uint32_t word;
    unsigned r, g, b;
};

TEST(ColorModel, WordsExpandToTheWorkedColours)
{
    const WordCase cases[] = {
        {0xFAC4, 255, 89, 33}, {0x1D6C, 25, 174, 99}, {0x8410, 132, 130, 132}, {0x0000, 0, 0, 0},
        {0xFFFF, 255, 255, 255}, {0xF800, 255, 0, 0}, {0x07E0, 0, 255, 0}, {0x001F, 0, 0, 255},
        {0xC326, 197, 101, 49}, {0x7BEF, 123, 125, 123},
        // Only the low 16 bits count.
        {0x12345, RGB565ToColor(0x2345) & 0xFF, (RGB565ToColor(0x2345) >> 8) & 0xFF, RGB565ToColor(0x2345) >> 16},
        {0xFFFF0000u, 0, 0, 0},
    };
    for (const WordCase& c : cases)
        EXPECT_EQ(RGB565ToColor(c.word), MakeColor(c.r, c.g, c.b)) << std::hex << c.word;
}

TEST(ColorModel, ColoursRoundToTheWorkedWords)
{
    const struct {
        TColor color;
        TRGB565 word;
    } cases[] = {
        {MakeColor(200, 100, 50), 0xC326},
        {MakeColor(127, 127, 127), 0x7BEF},
        {MakeColor(128, 128, 128), 0x8410},
        {MakeColor(255, 255, 255), 0xFFFF},
        {MakeColor(255, 89, 33), 0xFAC4},
        // The top byte is ignored.
        {0xFF000000u | MakeColor(200, 100, 50), 0xC326},
        {0xAB000000u, 0x0000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorToRGB565(c.color), c.word) << std::hex << c.color;
}

TEST(ColorModel, DefaultThemePacksToTheDefaultWordsAndBack)
{
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    // A few defaults spelled out as colours, independent of the slot table.
    EXPECT_EQ(colors[1], MakeColor(41, 45, 41));
    EXPECT_EQ(colors[9], MakeColor(255, 89, 33));
    EXPECT_EQ(colors[27], MakeColor(197, 194, 197));
    EXPECT_EQ(colors[38], MakeColor(214, 215, 0));

    TPackedTheme packed{};
    PackTheme(colors, packed);
    const TRGB565 expected[ThemeSlotCount] = {
        0x0000, 0x2965, 0x4A69, 0xFFFF, 0x9CD3, 0xFFFF, 0x9CD3, 0x528A, 0xFFFF, 0xFAC4, 0x1D6C, 0x05FF, 0xC638, 0x05FF,
        0x9CD3, 0x05FF, 0x528A, 0xC638, 0x05FF, 0xFC10, 0x0000, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0x0000, 0x0000, 0xC618,
        0x8410, 0x0000, 0xC638, 0x4A69, 0xFFFF, 0xC638, 0x0000, 0xC638, 0xD6BA, 0xD6BA, 0xD6A0, 0xD6BA, 0xD6BA, 0xC618};
    for (int i = 0; i < ThemeSlotCount; ++i)
        EXPECT_EQ(packed[i], expected[i]) << "slot " << i;

    TThemeColorTable unpacked{};
    UnpackTheme(packed, unpacked);
    EXPECT_EQ(unpacked, colors);
}

TEST(ColorModel, PackedBytesAreLittleEndianInSlotOrder)
{
    TPackedTheme packed{};
    for (int i = 0; i < ThemeSlotCount; ++i)
        packed[i] = static_cast<TRGB565>(0x1F00 + i * 0x0101);
    const auto bytes = PackedThemeBytes(packed);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x1F);
    EXPECT_EQ(bytes[2], 0x01);
    EXPECT_EQ(bytes[3], 0x20);
    TPackedTheme back{};
    PackedThemeFromBytes(bytes.data(), back);
    EXPECT_EQ(back, packed);
}
