#pragma once
// Filling runs of 24-bit pixels with one colour. A pixel is three bytes, so no
// byte-wise memset can do it; these write whole registers of a repeating
// three-colour pattern instead.

#include <cstddef>
#include <cstdint>
#include <cstring>

// `count` pixels from `dst` on, each the bytes blue, green, red.
void FillPixels(std::uint8_t* dst, std::size_t count, std::uint8_t blue, std::uint8_t green, std::uint8_t red);

// N bytes from the start and N from the end (N <= bytes <= 2N): fixed-size
// moves the compiler turns into single register loads and stores.
template <std::size_t N>
inline void CopyEnds(std::uint8_t* dst, const std::uint8_t* src, std::size_t bytes)
{
    std::memcpy(dst, src, N);
    std::memcpy(dst + bytes - N, src + bytes - N, N);
}

// Copies `bytes` bytes between two runs that do not overlap with a few moves of
// fixed size instead of a library call: box rows are short and many.
inline void CopyRun(std::uint8_t* dst, const std::uint8_t* src, std::size_t bytes)
{
    if (bytes >= 64) {
        std::size_t at = 0;
        for (; at + 64 < bytes; at += 64)
            std::memcpy(dst + at, src + at, 64);
        std::memcpy(dst + bytes - 64, src + bytes - 64, 64);
    } else if (bytes >= 32) {
        CopyEnds<32>(dst, src, bytes);
    } else if (bytes >= 16) {
        CopyEnds<16>(dst, src, bytes);
    } else if (bytes >= 8) {
        CopyEnds<8>(dst, src, bytes);
    } else if (bytes >= 4) {
        CopyEnds<4>(dst, src, bytes);
    } else {
        for (std::size_t i = 0; i < bytes; ++i)
            dst[i] = src[i];
    }
}
