#include "PageImage.h"

#include <cstring>
#include <vector>

Bitmap ScreenOf(const Bitmap& bitmap, bool smallDisplay)
{
    if (!smallDisplay)
        return bitmap;
    // The small screen sits at (80, 80) of the bitmap.
    Bitmap screen(80, 160);
    for (int y = 0; y < 160; ++y)
        std::memcpy(screen.Row(y), bitmap.Row(80 + y) + 80 * 3, 80 * 3);
    return screen;
}

Bitmap Enlarged(const Bitmap& bitmap, int factor)
{
    if (factor <= 1)
        return bitmap;
    Bitmap big(bitmap.Width() * factor, bitmap.Height() * factor);
    for (int y = 0; y < big.Height(); ++y) {
        const std::uint8_t* src = bitmap.Row(y / factor);
        std::uint8_t* dst = big.Row(y);
        for (int x = 0; x < big.Width(); ++x)
            std::memcpy(dst + x * 3, src + (x / factor) * 3, 3);
    }
    return big;
}

Bitmap SideBySide(const std::vector<Bitmap>& parts)
{
    int width = 0;
    for (const Bitmap& b : parts)
        width += b.Width();
    const int height = parts.empty() ? 0 : parts.front().Height();
    Bitmap sheet(width, height);
    int left = 0;
    for (const Bitmap& b : parts) {
        for (int y = 0; y < height && y < b.Height(); ++y)
            std::memcpy(sheet.Row(y) + left * 3, b.Row(y), static_cast<std::size_t>(b.Width()) * 3);
        left += b.Width();
    }
    return sheet;
}
