#include "Bitmap.h"

Bitmap::Bitmap(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height * 3, 0)
{
}

TColor Bitmap::Pixel(int x, int y) const
{
    const std::uint8_t* p = Row(y) + x * 3;
    return MakeColor(p[2], p[1], p[0]);
}
