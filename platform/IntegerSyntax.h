#pragma once
// The integer syntax theme files use: leading spaces, an optional sign, then
// "$hex", "0x"/"0X" hex, a lone "x"/"X" hex, or decimal; nothing after the digits.
// Hex values may use all 32 bits; decimal must fit a signed 32-bit integer.

#include <cstdint>
#include <string>

// 0..15 for an ASCII hex digit of either case, else -1; whatever the locale.
int HexDigit(char c);

bool ParseStrictInteger(const std::string& text, std::int32_t& value);
// Display's rule: anything that does not parse is 0.
std::int32_t ParseLenientInteger(const std::string& text);
