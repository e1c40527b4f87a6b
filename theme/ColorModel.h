#pragma once
// The two forms of a theme colour and the whole-table operations between them.
//
// A 24-bit colour is 0x00BBGGRR (red in the low byte); an RGB565 word has red in
// bits 15..11, green in 10..5, blue in 4..0. The editor holds, draws and edits
// 24-bit colours; the device and the theme file hold RGB565 words.

#include <array>
#include <cstdint>

using TColor = std::uint32_t;
using TRGB565 = std::uint16_t;

constexpr int ThemeSlotCount = 42;

// The working form of the theme. The editor owns exactly one instance for the
// program's lifetime; hit regions, list items and the selected slot point at its
// entries, so a theme is changed by overwriting entries, never by replacing it.
using TThemeColorTable = std::array<TColor, ThemeSlotCount>;

// The staging form for files and the device: 42 words in slot order.
using TPackedTheme = std::array<TRGB565, ThemeSlotCount>;

// Only the low 16 bits of the argument count.
TColor RGB565ToColor(std::uint32_t word);
// The top byte of the argument is ignored.
TRGB565 ColorToRGB565(TColor color);

constexpr TColor MakeColor(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned ColorRed(TColor c) { return c & 0xFFu; }
constexpr unsigned ColorGreen(TColor c) { return (c >> 8) & 0xFFu; }
constexpr unsigned ColorBlue(TColor c) { return (c >> 16) & 0xFFu; }

// Entry `level` (0..15) of the device's 16-step ramp from bg to fg. Per channel
// (fg * level) / 15 + (bg * (15 - level)) / 15, each term truncated on its own,
// so a ramp between two equal colours may dip by one in its middle entries.
TColor RampBlend(TColor bg, TColor fg, int level);

void LoadDefaultTheme(TThemeColorTable& colors);
void PackTheme(const TThemeColorTable& colors, TPackedTheme& packed);
void UnpackTheme(const TPackedTheme& packed, TThemeColorTable& colors);

// The 84 bytes that go to a file or the device: slot 0 first, each word little-endian.
std::array<std::uint8_t, ThemeSlotCount * 2> PackedThemeBytes(const TPackedTheme& packed);
void PackedThemeFromBytes(const std::uint8_t* bytes, TPackedTheme& packed);
