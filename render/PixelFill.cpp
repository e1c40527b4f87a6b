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
    // Short runs (most box rows) need only as much of the pattern as they
    // cover; long ones get two spare bytes for starting at any phase.
    std::size_t bytes = count * 3;
    alignas(64) std::uint8_t pattern[PatternBytes + 24];
    for (std::size_t i = 0; i < PatternBytes + 24 && i < bytes + 24; i += 24)
        std::memcpy(pattern + i, words, 24);
    std::size_t phase = 0;
    if (bytes >= PatternBytes) {
        // Whole-register stores that straddle cache lines cost two; start the
        // loop on a line boundary, continuing the pattern where the head ends.
        const std::size_t head = (64 - reinterpret_cast<std::uintptr_t>(dst) % 64) % 64;
        CopyRun(dst, pattern, head);
        dst += head;
        bytes -= head;
        phase = head % 3;
        Block a, b, c3;
        std::memcpy(&a, pattern + phase, 64);
        std::memcpy(&b, pattern + phase + 64, 64);
        std::memcpy(&c3, pattern + phase + 128, 64);
        for (; bytes >= PatternBytes; bytes -= PatternBytes, dst += PatternBytes) {
            std::memcpy(dst, &a, 64);
            std::memcpy(dst + 64, &b, 64);
            std::memcpy(dst + 128, &c3, 64);
        }
    }
    CopyRun(dst, pattern + phase, bytes);
}
