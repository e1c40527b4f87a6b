#include "PictureFile.h"

#include "FileIo.h"
#include "PictureSeeds.h"

#include <cstdlib>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

bool ReadPicture(const std::string& file, DecodedPicture& picture, std::string& error)
{
    // Through the program's own file reading: the same paths as everywhere
    // (UTF-8 names on Windows too), and a size limit before any decoding.
    std::string bytes;
    if (ReadFileLimited(file, std::size_t{512} << 20, bytes, &error) != FileReadStatus::Ok)
        return false;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels)) {
        error = std::string("not a PNG or JPEG picture (") + stbi_failure_reason() + ")";
        return false;
    }
    if (static_cast<long long>(width) * height > MaxPicturePixels) {
        error = "the picture is too large (" + std::to_string(width) + "x" + std::to_string(height) + ")";
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(data, size, &width, &height, &channels, 3);
    if (!pixels) {
        error = std::string("cannot decode the picture (") + stbi_failure_reason() + ")";
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.rgb = std::shared_ptr<const std::uint8_t>(pixels, [](const std::uint8_t* p) { stbi_image_free(const_cast<std::uint8_t*>(p)); });
    return true;
}
