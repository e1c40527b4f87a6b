#pragma once
// A PNG or JPEG read into RGB bytes, for the seeds of a generated theme.

#include <cstdint>
#include <string>
#include <memory>

struct DecodedPicture {
    std::shared_ptr<const std::uint8_t> rgb;  // rows of red, green and blue bytes
    int width = 0;
    int height = 0;
};

// False with the reason when the file cannot be read or is no PNG or JPEG.
bool ReadPicture(const std::string& file, DecodedPicture& picture, std::string& error);
