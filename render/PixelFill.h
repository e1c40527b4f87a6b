#pragma once
// Filling runs of 24-bit pixels with one colour. A pixel is three bytes, so no
// byte-wise memset can do it; these write whole registers of a repeating
// three-colour pattern instead.

#include <cstddef>
#include <cstdint>
#include <cstring>

// `count` pixels from `dst` on, each the bytes blue, green, red.
void FillPixels(std::uint8_t* dst, std::size_t count, std::uint8_t blue, std::uint8_t green, std::uint8_t red);

// Copies `bytes` bytes between two runs that do not overlap with a few moves of
// fixed size (the last one ending exactly at the end) instead of a library call:
// box rows are short and many.
inline void CopyRun(std::uint8_t* dst, const std::uint8_t* src, std::size_t bytes)
{
    if (bytes >= 64) {
        std::size_t at = 0;
        for (; at + 64 < bytes; at += 64)
            std::memcpy(dst + at, src + at, 64);
        std::memcpy(dst + bytes - 64, src + bytes - 64, 64);
    } else if (bytes >= 32) {
        std::memcpy(dst, src, 32);
        std::memcpy(dst + bytes - 32, src + bytes - 32, 32);
    } else if (bytes >= 16) {
        std::memcpy(dst, src, 16);
        std::memcpy(dst + bytes - 16, src + bytes - 16, 16);
    } else if (bytes >= 8) {
        std::memcpy(dst, src, 8);
        std::memcpy(dst + bytes - 8, src + bytes - 8, 8);
    } else if (bytes >= 4) {
        std::memcpy(dst, src, 4);
        std::memcpy(dst + bytes - 4, src + bytes - 4, 4);
    } else {
        for (std::size_t i = 0; i < bytes; ++i)
            dst[i] = src[i];
    }
}
