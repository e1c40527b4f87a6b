// Pictures as every front door reads them: one decoder, limits checked before
// anything the picture's size is allocated, transparent pixels left out, and
// the seeds of a file those of its pixels.

#include "Oklab.h"
#include "PictureDecoder.h"
#include "PictureMaker.h"
#include "PictureSeeds.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <functional>

namespace {

// A dull grey picture with a vivid red fifth at its right, as 8-bit RGB.
std::vector<std::uint8_t> GreyWithRedFifth(int w, int h)
{
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            const bool red = x >= w * 4 / 5;
            p[0] = red ? 0xE0 : 0x70;
            p[1] = red ? 0x20 : 0x74;
            p[2] = red ? 0x28 : 0x78;
        }
    return rgb;
}

std::vector<TColor> SeedsOfRgb(const std::vector<std::uint8_t>& rgb, int w, int h)
{
    return SeedsFromPicture({rgb.data(), w, h, 3, static_cast<std::size_t>(w) * 3});
}

std::vector<TColor> SeedsOfFile(const std::string& path, std::string& error)
{
    std::vector<TColor> seeds;
    if (!SeedsFromPictureFile(path, seeds, error))
        seeds.clear();
    return seeds;
}

// The SOF marker's height and width, overwritten in place.
std::string PatchJpegSize(std::string jpeg, int width, int height)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (static_cast<unsigned char>(jpeg[i + 1]) & 0xF0) == 0xC0 &&
            static_cast<unsigned char>(jpeg[i + 1]) != 0xC4 && static_cast<unsigned char>(jpeg[i + 1]) != 0xC8 &&
            static_cast<unsigned char>(jpeg[i + 1]) != 0xCC) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    return {};
}

}  // namespace

// Each kind of file the decoder meets: its seeds, or its refusal and why.
TEST(PictureSeeds, EveryKindOfPictureAndItsLimits)
{
    TempDir dir;
    const int w = 300, h = 200;
    const std::vector<std::uint8_t> rgb = GreyWithRedFifth(w, h);
    const std::vector<TColor> exact = SeedsOfRgb(rgb, w, h);
    ASSERT_EQ(exact.size(), 2u);

    MadePng plain{w, h, PNG_COLOR_TYPE_RGB, 8, false, rgb};
    MadePng interlaced = plain;
    interlaced.interlaced = true;
    // 16 bits a channel, with alpha: the high byte is the colour.
    MadePng deep{w, h, PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {}};
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        for (int c = 0; c < 3; ++c)
            deep.pixels.insert(deep.pixels.end(), {rgb[i + c], 0x5A});
        deep.pixels.insert(deep.pixels.end(), {0xFF, 0xFF});
    }
    // A transparent blue half beside it, which must not vote.
    MadePng holed{w * 2, h, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 2; ++x) {
            const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + (x % w)) * 3];
            if (x < w)
                holed.pixels.insert(holed.pixels.end(), {0x10, 0x30, 0xF0, 0x00});
            else
                holed.pixels.insert(holed.pixels.end(), {p[0], p[1], p[2], 0xFF});
        }
    // Printers' CMYK, inverted as Adobe's software writes it.
    std::vector<std::uint8_t> cmyk;
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        const std::uint8_t k = std::max({rgb[i], rgb[i + 1], rgb[i + 2]});
        for (int c = 0; c < 3; ++c)
            cmyk.push_back(static_cast<std::uint8_t>(k ? rgb[i + c] * 255 / k : 0));
        cmyk.push_back(k);
    }
    const std::string jpeg = EncodeTestJpeg(w, h, 3, rgb);
    // A 9000 x 9000 picture's header before a few rows of zeros: 81 megapixels.
    MadePng small{64, 64, PNG_COLOR_TYPE_GRAY, 8, false, std::vector<std::uint8_t>(64 * 64, 0)};
    std::string bomb = EncodeTestPng(small);
    for (int at : {16, 20}) {
        bomb[at] = 0, bomb[at + 1] = 0, bomb[at + 2] = static_cast<char>(9000 >> 8), bomb[at + 3] = static_cast<char>(9000 & 0xFF);
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bomb.data() + 12), 17);
    for (int i = 0; i < 4; ++i)
        bomb[29 + i] = static_cast<char>(crc >> (24 - 8 * i));

    struct Case {
        const char* name;
        std::string bytes;
        // Expected: the exact seeds, seeds near them (lossy files), or a refusal containing this.
        enum { Exact, Near, Refused } expect;
        const char* why = "";
    };
    const std::string whole = EncodeTestPng(plain);
    const std::string truncated = whole.substr(0, whole.size() / 2);
    const Case cases[] = {
        {"plain.png", EncodeTestPng(plain), Case::Exact},
        {"interlaced.png", EncodeTestPng(interlaced), Case::Exact},
        {"deep.png", EncodeTestPng(deep), Case::Exact},
        {"holed.png", EncodeTestPng(holed), Case::Exact},
        {"photo.jpg", jpeg, Case::Near},
        {"cmyk.jpg", EncodeTestJpeg(w, h, 4, cmyk), Case::Near},
        {"huge-header.jpg", PatchJpegSize(jpeg, 10000, 10000), Case::Refused, "too large"},
        {"short-data.jpg", PatchJpegSize(jpeg, 4000, 4000), Case::Refused, "damaged"},
        {"bomb.png", bomb, Case::Refused, "too large"},
        {"truncated.png", truncated, Case::Refused, "damaged"},
        {"notes.png", "just some text\n", Case::Refused, "not a PNG or JPEG"},
        {"empty.jpg", "", Case::Refused, "not a PNG or JPEG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty() && c.name != std::string("empty.jpg"));
        WriteText(dir.File(c.name), c.bytes);
        std::string error;
        const std::vector<TColor> seeds = SeedsOfFile(dir.File(c.name), error);
        switch (c.expect) {
        case Case::Exact:
            EXPECT_EQ(seeds, exact) << error;
            break;
        case Case::Near:
            ASSERT_EQ(seeds.size(), exact.size()) << error;
            for (std::size_t i = 0; i < seeds.size(); ++i)
                EXPECT_LT(OklabDistance(ToOklab(seeds[i]), ToOklab(exact[i])), 0.03) << i;
            break;
        case Case::Refused:
            EXPECT_TRUE(seeds.empty());
            EXPECT_NE(error.find(c.why), std::string::npos) << error;
            break;
        }
    }

    // A file past the size limit is refused unread (a sparse file: nothing is
    // written but its length).
    const std::string big = dir.File("big.png");
    WriteText(big, EncodeTestPng(plain));
    std::filesystem::resize_file(big, MaxPictureFileBytes + 1);
    std::string error;
    EXPECT_TRUE(SeedsOfFile(big, error).empty());
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

// The samples a file's rows give are the pixels the in-memory sampler takes,
// so a picture decoded by any front door gives the same seeds.
TEST(PictureSeeds, StreamedSamplesAreTheSampledPixels)
{
    const int w = 1537, h = 911;  // odd sizes, a step of 3
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    SampledPicture sampled;
    std::string error;
    ASSERT_TRUE(DecodePictureSamples(EncodeTestPng({w, h, PNG_COLOR_TYPE_RGB, 8, false, rgb}), PictureSampleStep,
                                     sampled, error))
        << error;
    const int step = PictureSampleStep(w, h);
    ASSERT_EQ(step, 3);
    ASSERT_EQ(sampled.step, step);
    for (int r = 0; r < sampled.rows; ++r)
        for (int c = 0; c < sampled.columns; ++c) {
            const int x = step / 2 + c * step, y = step / 2 + r * step;
            ASSERT_LT(x, w);
            ASSERT_LT(y, h);
            const std::uint8_t* want = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            const std::uint8_t* got = &sampled.rgba[(static_cast<std::size_t>(r) * sampled.columns + c) * 4];
            ASSERT_TRUE(got[0] == want[0] && got[1] == want[1] && got[2] == want[2] && got[3] == 255) << x << "," << y;
        }
    EXPECT_EQ((w - step / 2 + step - 1) / step, sampled.columns);
    EXPECT_EQ(SeedsFromSamples({sampled.rgba.data(), sampled.columns, sampled.rows, 4,
                                static_cast<std::size_t>(sampled.columns) * 4}),
              SeedsOfRgb(rgb, w, h));
}
