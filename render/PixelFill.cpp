#include "PixelFill.h"

#include <algorithm>
#include <cstring>

void FillPixels(std::uint8_t* dst, std::size_t count, std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    if (count == 0)
        return;
    dst[0] = blue;
    dst[1] = green;
    dst[2] = red;
    // Doubling copies of what is already painted: a whole number of pixels each.
    const std::size_t bytes = count * 3;
    for (std::size_t done = 3; done < bytes;) {
        const std::size_t n = std::min(done, bytes - done);
        std::memcpy(dst + done, dst, n);
        done += n;
    }
}

void FillRecord(std::uint16_t* dst, std::size_t count, std::uint16_t word)
{
    if (count == 0)
        return;
    dst[0] = word;
    for (std::size_t done = 1; done < count;) {
        const std::size_t n = std::min(done, count - done);
        std::memcpy(dst + done, dst, n * sizeof *dst);
        done += n;
    }
}
