#include "PreviewPlacement.h"

#include <algorithm>
#include <cmath>

bool PreviewPlacement::DevicePixelAt(double screenX, double screenY, int& x, int& y) const
{
    const double px = std::floor((screenX - left) / pixel), py = std::floor((screenY - top) / pixel);
    if (px < 0 || py < 0 || px >= width || py >= height)
        return false;
    x = int(px);
    y = int(py);
    return true;
}

PreviewPlacement PlacePreview(int roomLeft, int roomTop, int roomWidth, int roomHeight, int width, int height)
{
    PreviewPlacement placed;
    placed.width = width;
    placed.height = height;
    if (width > 0 && height > 0)
        placed.pixel = std::max(1, std::min(roomWidth / width, roomHeight / height));
    // Halves rounded down: a spare odd pixel goes to the right and the bottom.
    placed.left = roomLeft + std::max(0, roomWidth - width * placed.pixel) / 2;
    placed.top = roomTop + std::max(0, roomHeight - height * placed.pixel) / 2;
    return placed;
}
