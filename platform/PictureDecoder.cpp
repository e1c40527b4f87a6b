#include "PictureDecoder.h"

#include "FileIo.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <png.h>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

namespace {

// A row of each sampled line is kept; the rest of the picture passes through
// one scratch row.
bool StartSamples(int width, int height, const SampleStepFor& stepFor, SampledPicture& picture, std::string& error)
{
    if (width <= 0 || height <= 0) {
        error = "the picture has no pixels";
        return false;
    }
    if (static_cast<long long>(width) * height > MaxPictureDeclaredPixels) {
        error = "the picture is too large (" + std::to_string(width) + "x" + std::to_string(height) +
                "; at most " + std::to_string(MaxPictureDeclaredPixels / 1000000) + " megapixels)";
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.step = std::max(1, stepFor ? stepFor(width, height) : 1);
    const int half = picture.step / 2;
    picture.columns = (width - half + picture.step - 1) / picture.step;
    picture.rows = (height - half + picture.step - 1) / picture.step;
    picture.rgba.assign(static_cast<std::size_t>(picture.columns) * static_cast<std::size_t>(picture.rows) * 4, 0);
    return true;
}

// Whether line y is one of the sampled ones, and which.
int SampleRowOf(const SampledPicture& picture, int y)
{
    const int half = picture.step / 2;
    if (y < half || (y - half) % picture.step != 0)
        return -1;
    return (y - half) / picture.step;
}

// Takes the samples of one full line of `channels`-byte pixels.
void KeepLine(SampledPicture& picture, int sampleRow, const std::uint8_t* line, int channels)
{
    std::uint8_t* out = picture.rgba.data() + static_cast<std::size_t>(sampleRow) * static_cast<std::size_t>(picture.columns) * 4;
    for (int i = 0, x = picture.step / 2; i < picture.columns; ++i, x += picture.step) {
        const std::uint8_t* px = line + static_cast<std::size_t>(x) * static_cast<std::size_t>(channels);
        out[0] = px[0];
        out[1] = px[1];
        out[2] = px[2];
        out[3] = channels == 4 ? px[3] : 255;
        out += 4;
    }
}

// ---- PNG ----

struct PngInput {
    const std::string* bytes;
    std::size_t at;
    char message[160];
};

void PngRead(png_structp png, png_bytep data, png_size_t length)
{
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > input->bytes->size() - input->at)
        png_error(png, "the file ends too early");
    std::memcpy(data, input->bytes->data() + input->at, length);
    input->at += length;
}

void PngError(png_structp png, png_const_charp message)
{
    auto* input = static_cast<PngInput*>(png_get_error_ptr(png));
    std::snprintf(input->message, sizeof input->message, "%s", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

bool DecodePng(const std::string& bytes, const SampleStepFor& stepFor, SampledPicture& picture, std::string& error)
{
    PngInput input{&bytes, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, PngError, PngWarning);
    if (!png) {
        error = "cannot decode the picture (out of memory)";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    // Rows are decoded into these; they live outside the jump's reach.
    std::vector<std::uint8_t> scratch;
    std::vector<std::vector<std::uint8_t>> kept;
    bool ok = false;
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_set_read_fn(png, &input, PngRead);
        // Dimensions past the limit fail in the header already; ancillary
        // chunks (text, profiles) cannot ask for much memory either.
        png_set_user_limits(png, 1u << 20, 1u << 20);
        png_set_chunk_malloc_max(png, 8u << 20);
        png_set_chunk_cache_max(png, 1000);
        png_read_info(png, info);
        const int width = static_cast<int>(png_get_image_width(png, info));
        const int height = static_cast<int>(png_get_image_height(png, info));
        if (StartSamples(width, height, stepFor, picture, error)) {
            // Whatever the file holds, 8-bit red, green, blue and alpha.
            png_set_expand(png);
            png_set_strip_16(png);
            png_set_gray_to_rgb(png);
            png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
            const int passes = png_set_interlace_handling(png);
            png_read_update_info(png, info);
            const std::size_t rowBytes = png_get_rowbytes(png, info);
            if (rowBytes != static_cast<std::size_t>(width) * 4)
                png_error(png, "unexpected pixel layout");
            scratch.assign(rowBytes, 0);
            // An interlaced picture fills each line over several passes, so
            // the sampled lines keep a buffer of their own throughout.
            kept.assign(static_cast<std::size_t>(picture.rows), std::vector<std::uint8_t>(rowBytes, 0));
            for (int pass = 0; pass < passes; ++pass)
                for (int y = 0; y < height; ++y) {
                    const int sample = SampleRowOf(picture, y);
                    png_read_row(png, sample >= 0 ? kept[static_cast<std::size_t>(sample)].data() : scratch.data(),
                                 nullptr);
                }
            for (int r = 0; r < picture.rows; ++r)
                KeepLine(picture, r, kept[static_cast<std::size_t>(r)].data(), 4);
            ok = true;
        }
    } else if (error.empty()) {
        error = std::string("the PNG picture is damaged (") + (input.message[0] ? input.message : "out of memory") + ")";
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return ok;
}

// ---- JPEG ----

struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegExit(j_common_ptr jpeg)
{
    auto* failure = reinterpret_cast<JpegFailure*>(jpeg->err);
    jpeg->err->format_message(jpeg, failure->message);
    std::longjmp(failure->jump, 1);
}

void JpegMessage(j_common_ptr jpeg, int level)
{
    // A warning that the data ended early means the rest of the picture is
    // made up: a picture whose header promises more than its data holds.
    if (level < 0 && (jpeg->err->msg_code == JWRN_JPEG_EOF || jpeg->err->msg_code == JWRN_HIT_MARKER))
        JpegExit(jpeg);
}

bool DecodeJpeg(const std::string& bytes, const SampleStepFor& stepFor, SampledPicture& picture, std::string& error)
{
    jpeg_decompress_struct jpeg{};
    JpegFailure failure{};
    jpeg.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = JpegExit;
    failure.manager.emit_message = JpegMessage;
    std::vector<std::uint8_t> line, rgb;
    bool ok = false;
    if (setjmp(failure.jump) == 0) {
        jpeg_create_decompress(&jpeg);
        // Progressive pictures keep their coefficients whole; this bounds them.
        jpeg.mem->max_memory_to_use = 512L << 20;
        jpeg_mem_src(&jpeg, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&jpeg, TRUE);
        if (StartSamples(static_cast<int>(jpeg.image_width), static_cast<int>(jpeg.image_height), stepFor, picture,
                         error)) {
            // Printers' CMYK comes out as CMYK, as Adobe's software writes it:
            // inverted, so each channel times black is the colour.
            const bool cmyk = jpeg.jpeg_color_space == JCS_CMYK || jpeg.jpeg_color_space == JCS_YCCK;
            jpeg.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
            jpeg_start_decompress(&jpeg);
            const int channels = jpeg.output_components;
            line.assign(static_cast<std::size_t>(jpeg.output_width) * static_cast<std::size_t>(channels), 0);
            rgb.assign(static_cast<std::size_t>(jpeg.output_width) * 3, 0);
            while (jpeg.output_scanline < jpeg.output_height) {
                const int y = static_cast<int>(jpeg.output_scanline);
                JSAMPROW row = line.data();
                jpeg_read_scanlines(&jpeg, &row, 1);
                const int sample = SampleRowOf(picture, y);
                if (sample < 0)
                    continue;
                if (channels == 4) {
                    for (std::size_t x = 0; x < jpeg.output_width; ++x) {
                        const unsigned k = line[x * 4 + 3];
                        for (std::size_t c = 0; c < 3; ++c)
                            rgb[x * 3 + c] = static_cast<std::uint8_t>((line[x * 4 + c] * k + 127) / 255);
                    }
                    KeepLine(picture, sample, rgb.data(), 3);
                } else if (channels == 3) {
                    KeepLine(picture, sample, line.data(), 3);
                } else {
                    for (std::size_t x = 0; x < jpeg.output_width; ++x)
                        rgb[x * 3] = rgb[x * 3 + 1] = rgb[x * 3 + 2] = line[x];
                    KeepLine(picture, sample, rgb.data(), 3);
                }
            }
            jpeg_finish_decompress(&jpeg);
            ok = true;
        }
    } else {
        error = std::string("the JPEG picture is damaged (") + failure.message + ")";
    }
    jpeg_destroy_decompress(&jpeg);
    return ok;
}

}  // namespace

bool DecodePictureSamples(const std::string& bytes, const SampleStepFor& stepFor, SampledPicture& picture,
                          std::string& error)
{
    picture = SampledPicture{};
    error.clear();
    static const unsigned char PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    bool ok = false;
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), PngSignature, 8) == 0)
        ok = DecodePng(bytes, stepFor, picture, error);
    else if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
             static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF)
        ok = DecodeJpeg(bytes, stepFor, picture, error);
    else
        error = "not a PNG or JPEG picture";
    if (!ok)
        picture = SampledPicture{};
    return ok;
}

bool DecodePictureFileSamples(const std::string& path, const SampleStepFor& stepFor, SampledPicture& picture,
                              std::string& error)
{
    std::string bytes;
    switch (ReadFileLimited(path, MaxPictureFileBytes, bytes, &error)) {
    case FileReadStatus::Ok:
        return DecodePictureSamples(bytes, stepFor, picture, error);
    case FileReadStatus::TooLarge:
        error = "the file is too large for a picture (at most " + std::to_string(MaxPictureFileBytes >> 20) + " MiB)";
        return false;
    default:
        if (error.empty())
            error = "cannot read the file";
        return false;
    }
}
