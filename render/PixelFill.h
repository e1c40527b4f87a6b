#pragma once
// Filling runs of 24-bit pixels with one colour. A pixel is three bytes, so no
// byte-wise memset can do it; these write whole vector registers of a repeating
// three-colour pattern instead, picked for the processor the program runs on.

#include <cstddef>
#include <cstdint>

// `count` pixels from `dst` on, each the bytes blue, green, red.
void FillPixels(std::uint8_t* dst, std::size_t count, std::uint8_t blue, std::uint8_t green, std::uint8_t red);
