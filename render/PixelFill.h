#pragma once
// Filling a run of 24-bit pixels with one colour. A pixel is three bytes, so no
// byte-wise memset can do it.

#include <cstddef>
#include <cstdint>

// `count` pixels from `dst` on, each the bytes blue, green, red.
void FillPixels(std::uint8_t* dst, std::size_t count, std::uint8_t blue, std::uint8_t green, std::uint8_t red);

// `count` record words from `dst` on, each `word`.
void FillRecord(std::uint16_t* dst, std::size_t count, std::uint16_t word);
