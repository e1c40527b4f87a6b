#include "ColorModel.h"

#include "ThemeSlots.h"

// The integer forms below give exactly the nearest of r5*255/31 and g6*255/63
// (and back) for every input, with no ties, so a word survives the round trip.
TColor RGB565ToColor(std::uint32_t word)
{
    const std::uint32_t w = word & 0xFFFFu;
    const std::uint32_t r5 = (w >> 11) & 31u;
    const std::uint32_t g6 = (w >> 5) & 63u;
    const std::uint32_t b5 = w & 31u;
    const std::uint32_t r = (r5 * 527u + 23u) >> 6;
    const std::uint32_t g = (g6 * 259u + 33u) >> 6;
    const std::uint32_t b = (b5 * 527u + 23u) >> 6;
    return r | (g << 8) | (b << 16);
}

TRGB565 ColorToRGB565(TColor color)
{
    const std::uint32_t r = ColorRed(color);
    const std::uint32_t g = ColorGreen(color);
    const std::uint32_t b = ColorBlue(color);
    const std::uint32_t r5 = (r * 249u + 1014u) >> 11;
    const std::uint32_t g6 = (g * 253u + 505u) >> 10;
    const std::uint32_t b5 = (b * 249u + 1014u) >> 11;
    return static_cast<TRGB565>((r5 << 11) | (g6 << 5) | b5);
}

void LoadDefaultTheme(TThemeColorTable& colors)
{
    for (const ThemeSlot& slot : ThemeSlots)
        colors[static_cast<std::size_t>(slot.index)] = RGB565ToColor(slot.defaultWord);
}

void PackTheme(const TThemeColorTable& colors, TPackedTheme& packed)
{
    for (std::size_t i = 0; i < packed.size(); ++i)
        packed[i] = ColorToRGB565(colors[i]);
}

void UnpackTheme(const TPackedTheme& packed, TThemeColorTable& colors)
{
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = RGB565ToColor(packed[i]);
}

std::array<std::uint8_t, ThemeSlotCount * 2> PackedThemeBytes(const TPackedTheme& packed)
{
    std::array<std::uint8_t, ThemeSlotCount * 2> bytes{};
    for (std::size_t i = 0; i < packed.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(packed[i] & 0xFFu);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(packed[i] >> 8);
    }
    return bytes;
}

void PackedThemeFromBytes(const std::uint8_t* bytes, TPackedTheme& packed)
{
    for (std::size_t i = 0; i < packed.size(); ++i)
        packed[i] = static_cast<TRGB565>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

TColor RampBlend(TColor bg, TColor fg, int level)
{
    const auto i = static_cast<unsigned>(level);
    const auto mix = [i](unsigned b, unsigned f) { return (f * i) / 15 + (b * (15 - i)) / 15; };
    return MakeColor(mix(ColorRed(bg), ColorRed(fg)), mix(ColorGreen(bg), ColorGreen(fg)),
                     mix(ColorBlue(bg), ColorBlue(fg)));
}
