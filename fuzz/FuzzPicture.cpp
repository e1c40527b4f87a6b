// The picture decoder on arbitrary bytes: it must return, never crash, and
// what it decodes must be within its limits and as many samples as it says.
#include "PictureDecoder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SampledPicture picture;
    std::string error;
    const auto step = [](int width, int height) { return width * static_cast<long long>(height) > 4096 ? 8 : 1; };
    if (DecodePictureSamples(bytes, step, picture, error)) {
        if (static_cast<long long>(picture.width) * picture.height > MaxPictureDeclaredPixels ||
            picture.rgba.size() != static_cast<std::size_t>(picture.columns) * picture.rows * 4)
            std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
