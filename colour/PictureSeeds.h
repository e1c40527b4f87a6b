#pragma once
// Seed colours a picture proposes for a generated theme. The picture's
// pixels, sampled on a grid, are counted in a fine RGB histogram; k-means in
// OKLab then groups the counted colours. The seeds are the groups that catch
// the eye, by chroma and size together, so a vivid fifth of a picture comes
// before its dull half; each is a colour the picture has.

#include "ColorModel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PicturePixels {
    const std::uint8_t* data = nullptr;  // rows of red, green, blue (and alpha) bytes
    int width = 0;
    int height = 0;
    int channels = 3;  // 3, or 4 with alpha: pixels under half opaque do not count
    std::size_t stride = 0;  // bytes from one row to the next
};

// At most this many pixels are looked at, spread evenly over the picture.
constexpr std::size_t PictureSampleLimit = 1u << 18;

// The hero, the second and the third: fewer when the picture has fewer
// colours that differ.
std::vector<TColor> SeedsFromPicture(const PicturePixels& picture);

// Every `step`-th pixel across and down is looked at, for a picture this size.
int PictureSampleStep(int width, int height);
// The same seeds from the samples alone (every pixel of `samples` counts).
std::vector<TColor> SeedsFromSamples(const PicturePixels& samples);

// The seeds of a PNG or JPEG file, decoded as every front door decodes it;
// false with the reason when it cannot be read or has no colours to take.
bool SeedsFromPictureFile(const std::string& path, std::vector<TColor>& seeds, std::string& error);
