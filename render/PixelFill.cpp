#include "PixelFill.h"

#include <cstring>

namespace {

// 64 pixels: three 64-byte blocks, the least common multiple of the pixel size
// and the widest register.
constexpr std::size_t PatternBytes = 192;

using Block = std::uint8_t __attribute__((vector_size(64)));

}  // namespace

// One source compiled for three instruction sets; the loader picks the best the
// machine has, so the build stays portable.
__attribute__((target_clones("avx512f", "avx2", "default")))
void FillPixels(std::uint8_t* dst, std::size_t count, std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    std::size_t bytes = count * 3;
    if (bytes < PatternBytes) {
        // Short runs (most box edges): no pattern set-up.
        for (std::size_t i = 0; i < count; ++i, dst += 3) {
            dst[0] = blue;
            dst[1] = green;
            dst[2] = red;
        }
        return;
    }
    alignas(64) std::uint8_t pattern[PatternBytes];
    for (std::size_t i = 0; i < PatternBytes; i += 3) {
        pattern[i] = blue;
        pattern[i + 1] = green;
        pattern[i + 2] = red;
    }
    Block a, b, c;
    std::memcpy(&a, pattern, 64);
    std::memcpy(&b, pattern + 64, 64);
    std::memcpy(&c, pattern + 128, 64);
    for (; bytes >= PatternBytes; bytes -= PatternBytes, dst += PatternBytes) {
        std::memcpy(dst, &a, 64);
        std::memcpy(dst + 64, &b, 64);
        std::memcpy(dst + 128, &c, 64);
    }
    std::memcpy(dst, pattern, bytes);
}
