#pragma once
// A 24-bit off-screen bitmap: rows top to bottom, each pixel three bytes in the
// order blue, green, red, rows back to back (a 240-pixel row is 720 bytes, a
// multiple of four, so a toolkit image can wrap the same memory unchanged).

#include "ColorModel.h"

#include <cstdint>
#include <vector>

class Bitmap {
public:
    Bitmap(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return width_ * 3; }

    std::uint8_t* Data() { return pixels_.data(); }
    const std::uint8_t* Data() const { return pixels_.data(); }
    std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * Stride(); }
    const std::uint8_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * Stride(); }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // The pixel as a 24-bit colour 0x00BBGGRR.
    TColor Pixel(int x, int y) const;

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};
