#pragma once
// Reads back the PNG files lsthtool writes (8-bit RGB, filters None and Sub).

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <zlib.h>

struct RgbImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, R G B
    std::uint32_t Pixel(int x, int y) const
    {
        const std::uint8_t* p = rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
        return p[0] | (p[1] << 8) | (p[2] << 16);  // 0x00BBGGRR, like the drawer's colours
    }
};

inline bool ReadPng(const std::string& path, RgbImage& image)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 8 || data[1] != 'P')
        return false;
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(data[at] << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]);
    };
    std::vector<std::uint8_t> z;
    for (std::size_t at = 8; at + 8 <= data.size();) {
        const std::uint32_t len = u32(at);
        const std::string type(data.begin() + static_cast<long>(at + 4), data.begin() + static_cast<long>(at + 8));
        if (type == "IHDR") {
            image.width = static_cast<int>(u32(at + 8));
            image.height = static_cast<int>(u32(at + 12));
        } else if (type == "IDAT") {
            z.insert(z.end(), data.begin() + static_cast<long>(at + 8), data.begin() + static_cast<long>(at + 8 + len));
        }
        at += 12 + len;
    }
    const std::size_t stride = 1 + static_cast<std::size_t>(image.width) * 3;
    std::vector<std::uint8_t> raw(stride * static_cast<std::size_t>(image.height));
    uLongf size = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &size, z.data(), static_cast<uLong>(z.size())) != Z_OK || size != raw.size())
        return false;
    image.rgb.clear();
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* line = raw.data() + static_cast<std::size_t>(y) * stride;
        if (line[0] == 1)
            for (std::size_t i = 4; i < stride; ++i)
                line[i] = static_cast<std::uint8_t>(line[i] + line[i - 3]);
        else if (line[0] != 0)
            return false;
        image.rgb.insert(image.rgb.end(), line + 1, line + stride);
    }
    return true;
}
