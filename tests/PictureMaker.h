#pragma once
// PNG and JPEG files made for tests and benchmarks, with libpng and
// libjpeg-turbo: any channel count, 16-bit depth, interlacing, CMYK.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <png.h>
#include <jpeglib.h>

struct MadePng {
    int width = 0, height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;  // RGB, RGBA, GRAY...
    int bitDepth = 8;
    bool interlaced = false;
    // Rows top to bottom, as libpng takes them for the type and depth.
    std::vector<std::uint8_t> pixels;
};

inline std::string EncodeTestPng(const MadePng& made)
{
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), n);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(made.width), static_cast<png_uint_32>(made.height), made.bitDepth,
                 made.colorType, made.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_bytep> rows(static_cast<std::size_t>(made.height));
    for (int y = 0; y < made.height; ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(made.pixels.data() + static_cast<std::size_t>(y) * rowBytes);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// An RGB or CMYK (components 4, stored inverted as Adobe's software does) JPEG.
inline std::string EncodeTestJpeg(int width, int height, int components, const std::vector<std::uint8_t>& pixels,
                                  int quality = 95)
{
    jpeg_compress_struct jpeg{};
    jpeg_error_mgr errors{};
    jpeg.err = jpeg_std_error(&errors);
    jpeg_create_compress(&jpeg);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&jpeg, &buffer, &size);
    jpeg.image_width = static_cast<JDIMENSION>(width);
    jpeg.image_height = static_cast<JDIMENSION>(height);
    jpeg.input_components = components;
    jpeg.in_color_space = components == 4 ? JCS_CMYK : components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, quality, TRUE);
    jpeg_start_compress(&jpeg, TRUE);
    while (jpeg.next_scanline < jpeg.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + static_cast<std::size_t>(jpeg.next_scanline) *
                                                                static_cast<std::size_t>(width * components));
        jpeg_write_scanlines(&jpeg, &row, 1);
    }
    jpeg_finish_compress(&jpeg);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&jpeg);
    std::free(buffer);
    return out;
}
