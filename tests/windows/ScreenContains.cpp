// Whether a screenshot (an X window dump, as xwd writes it) holds one of the
// given PNG pictures pixel for pixel, somewhere on the screen.
//   screen_contains SCREEN.xwd PICTURE.png [PICTURE.png ...]
// Exit 0 and the position when one is found, 1 when none is, 2 on bad input.
#include "../PngRead.h"

#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct Screen {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00BBGGRR
};

bool ReadXwd(const char* path, Screen& screen)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 100)
        return false;
    auto field = [&](int index) {
        const std::size_t at = static_cast<std::size_t>(index) * 4;
        return static_cast<std::uint32_t>(data[at] << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]);
    };
    const std::uint32_t headerSize = field(0), version = field(1), width = field(4), height = field(5);
    const std::uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12);
    const std::uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16), colours = field(19);
    // A 24-bit screen keeps each pixel in 3 bytes (or 4), lines bytesPerLine apart.
    const std::uint32_t pixelBytes = bitsPerPixel / 8;
    if (version != 7 || (pixelBytes != 3 && pixelBytes != 4) || bytesPerLine < width * pixelBytes ||
        redMask != 0xFF0000 || greenMask != 0xFF00 || blueMask != 0xFF)
        return false;
    const std::size_t start = headerSize + std::size_t{colours} * 12;
    if (data.size() < start + std::size_t{bytesPerLine} * height)
        return false;
    screen.width = static_cast<int>(width);
    screen.height = static_cast<int>(height);
    screen.pixels.resize(std::size_t{width} * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = data.data() + start + std::size_t{y} * bytesPerLine + x * pixelBytes;
            const std::uint8_t* low = byteOrder == 0 ? p : p + pixelBytes - 3;
            const std::uint32_t v = byteOrder == 0 ? (low[0] | low[1] << 8 | low[2] << 16) : (low[2] | low[1] << 8 | low[0] << 16);
            // v is 0x00RRGGBB; the pictures are read as 0x00BBGGRR.
            screen.pixels[std::size_t{y} * width + x] = (v >> 16 & 0xFF) | (v & 0xFF00) | (v & 0xFF) << 16;
        }
    }
    return true;
}

bool At(const Screen& screen, const RgbImage& picture, int left, int top)
{
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (screen.pixels[std::size_t(top + y) * screen.width + left + x] != picture.Pixel(x, y))
                return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Screen screen;
    if (argc < 3 || !ReadXwd(argv[1], screen)) {
        std::fprintf(stderr, "usage: screen_contains SCREEN.xwd PICTURE.png...; a 24-bit screen dump is needed\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        RgbImage picture;
        if (!ReadPng(argv[i], picture) || picture.width == 0) {
            std::fprintf(stderr, "screen_contains: cannot read %s\n", argv[i]);
            return 2;
        }
        for (int top = 0; top + picture.height <= screen.height; ++top)
            for (int left = 0; left + picture.width <= screen.width; ++left)
                if (At(screen, picture, left, top)) {
                    std::printf("%s at %d,%d\n", argv[i], left, top);
                    return 0;
                }
    }
    std::printf("none of the pictures is on the screen\n");
    return 1;
}
