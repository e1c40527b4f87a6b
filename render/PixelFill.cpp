#include "PixelFill.h"

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
    // Eight pixels are three 64-bit words; eight times those is the pattern.
    const std::uint64_t c = blue | (green << 8) | (std::uint64_t{red} << 16);
    const std::uint64_t words[3] = {c | (c << 24) | (c << 48), (c >> 16) | (c << 8) | (c << 32) | (c << 56),
                                    (c >> 8) | (c << 16) | (c << 40)};
    // Short runs (most box rows) need only as much of the pattern as they cover.
    std::size_t bytes = count * 3;
    alignas(64) std::uint8_t pattern[PatternBytes];
    for (std::size_t i = 0; i < PatternBytes && i < bytes; i += 24)
        std::memcpy(pattern + i, words, 24);

    if (bytes >= PatternBytes) {
        Block a, b, c3;
        std::memcpy(&a, pattern, 64);
        std::memcpy(&b, pattern + 64, 64);
        std::memcpy(&c3, pattern + 128, 64);
        for (; bytes >= PatternBytes; bytes -= PatternBytes, dst += PatternBytes) {
            std::memcpy(dst, &a, 64);
            std::memcpy(dst + 64, &b, 64);
            std::memcpy(dst + 128, &c3, 64);
        }
    }
    CopyRun(dst, pattern, bytes);
}
