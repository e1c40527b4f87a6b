#include "BatteryImages.h"

namespace {

// Set columns (inclusive) of the upright battery, by row: a terminal on top,
// rounded shoulders and corners, walls 10 pixels thick.
struct Span {
    int firstRow, lastRow;
    int from1, to1, from2, to2;  // second span -1 when a row has one
};

constexpr Span Spans[] = {
    {0, 0, 19, 42, -1, -1},   {1, 1, 18, 43, -1, -1},  {2, 6, 17, 44, -1, -1},   {7, 7, 5, 56, -1, -1},
    {8, 8, 3, 58, -1, -1},    {9, 9, 2, 59, -1, -1},   {10, 11, 1, 60, -1, -1},  {12, 14, 0, 61, -1, -1},
    {15, 88, 0, 9, 52, 61},   {89, 91, 0, 61, -1, -1}, {92, 93, 1, 60, -1, -1},  {94, 94, 2, 59, -1, -1},
    {95, 95, 3, 58, -1, -1},  {96, 96, 4, 57, -1, -1}, {97, 97, 6, 55, -1, -1},
};

constexpr std::array<std::uint8_t, 786> BuildImage()
{
    std::array<std::uint8_t, 786> image{};
    image[0] = 62;
    image[1] = 98;
    for (const Span& s : Spans)
        for (int row = s.firstRow; row <= s.lastRow; ++row)
            for (int x = 0; x < 62; ++x)
                if ((x >= s.from1 && x <= s.to1) || (x >= s.from2 && x <= s.to2))
                    image[static_cast<std::size_t>(2 + row * 8 + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    return image;
}

}  // namespace

const std::array<std::uint8_t, 786> ChargeBatteryImage = BuildImage();

// clang-format off
const std::array<std::array<std::uint8_t, 4>, 16> SmallBatteryOutline = {{
    {33, 69, 14, 1}, {32, 70, 16, 1}, {31, 71, 18, 3}, {23, 74, 34, 1},   // terminal, shoulders
    {21, 75, 38, 1}, {20, 76, 40, 1}, {19, 77, 42, 2}, {18, 79, 44, 2},
    {18, 81, 7, 54}, {55, 81, 7, 54},                                       // walls
    {18, 135, 44, 1}, {19, 136, 42, 2}, {20, 138, 40, 1}, {21, 139, 38, 1}, // rounded bottom
    {22, 140, 36, 1}, {24, 141, 32, 1},
}};
// clang-format on
