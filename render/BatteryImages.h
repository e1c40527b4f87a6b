#pragma once
// The battery pictures of the charge page.

#include <array>
#include <cstdint>

// 62 x 98, one bit per pixel: bytes 62 and 98, then 98 rows of 8 bytes.
extern const std::array<std::uint8_t, 786> ChargeBatteryImage;

// The 80x160 battery outline: 16 rectangles as dx, dy, w, h from the small
// screen's top-left corner (80, 80).
extern const std::array<std::array<std::uint8_t, 4>, 16> SmallBatteryOutline;
