#pragma once
// Writes a Bitmap as a PNG file (8-bit RGB, compressed with zlib).

#include "Bitmap.h"

#include <string>
#include <vector>

std::vector<std::uint8_t> EncodePng(const Bitmap& bitmap);
// Replaces the file whole, or leaves it as it was and says why.
bool WritePngFile(const std::string& path, const Bitmap& bitmap, std::string* error = nullptr);
