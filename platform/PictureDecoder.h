#pragma once
// PNG and JPEG pictures decoded from their bytes (libpng, libjpeg-turbo),
// row by row, keeping only a grid of samples: a picture is looked at for its
// colours, never shown, so no whole picture is ever held in memory. Every
// front door decodes through here, so a picture gives the same pixels, and
// the same seeds, wherever it is opened.
//
// The limits are checked before anything the size of the picture is
// allocated: the file's size before it is read, the dimensions its header
// declares before a row is decoded. EXIF orientation is ignored everywhere:
// a turned picture has the same colours.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Files past this are refused unread.
constexpr std::size_t MaxPictureFileBytes = std::size_t{64} << 20;
// Pictures declaring more pixels than this are refused before decoding.
constexpr long long MaxPictureDeclaredPixels = 64LL * 1000 * 1000;

// Every step-th pixel across and down, starting at step / 2, as red, green,
// blue and alpha bytes (alpha 255 for pictures without one).
struct SampledPicture {
    int width = 0;    // of the picture as declared
    int height = 0;
    int step = 1;
    int columns = 0;  // samples across and down
    int rows = 0;
    std::vector<std::uint8_t> rgba;  // rows * columns * 4
};

// The sampling step for a picture of the given size.
using SampleStepFor = std::function<int(int width, int height)>;

// False with the reason (in words for a status line) when the bytes are no
// PNG or JPEG, declare a picture past the limit, or are damaged.
bool DecodePictureSamples(const std::string& bytes, const SampleStepFor& stepFor, SampledPicture& picture,
                          std::string& error);

// The same for a file, read only when it is within MaxPictureFileBytes.
bool DecodePictureFileSamples(const std::string& path, const SampleStepFor& stepFor, SampledPicture& picture,
                              std::string& error);
