#include "PixelFill.h"

#include <algorithm>
#include <cstring>

namespace {

// Repeats the first `unit` bytes at `dst` until `total` bytes are filled, by
// doubling copies of what is already there: a whole number of units each.
void RepeatFirst(std::uint8_t* dst, std::size_t unit, std::size_t total)
{
    for (std::size_t done = unit; done < total;) {
        const std::size_t n = std::min(done, total - done);
        std::memcpy(dst + done, dst, n);
        done += n;
    }
}

}  // namespace

void FillPixels(std::uint8_t* dst, std::size_t count, std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    if (count == 0)
        return;
    dst[0] = blue;
    dst[1] = green;
    dst[2] = red;
    RepeatFirst(dst, 3, count * 3);
}

void FillRecord(std::uint16_t* dst, std::size_t count, std::uint16_t word)
{
    if (count == 0)
        return;
    dst[0] = word;
    RepeatFirst(reinterpret_cast<std::uint8_t*>(dst), sizeof word, count * sizeof word);
}
