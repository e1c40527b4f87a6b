#include "PngWriter.h"

#include "FileIo.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <zlib.h>

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> z(size);
    if (compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    z.resize(size);
    return z;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Bitmap& bitmap)
{
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutU32(header, static_cast<std::uint32_t>(bitmap.Width()));
    PutU32(header, static_cast<std::uint32_t>(bitmap.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit truecolour, no interlace
    PutChunk(out, "IHDR", header);

    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(bitmap.Height()) * (1 + bitmap.Width() * 3));
    for (int y = 0; y < bitmap.Height(); ++y) {
        raw.push_back(0);  // no filter
        const std::uint8_t* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            raw.push_back(row[x * 3 + 2]);
            raw.push_back(row[x * 3 + 1]);
            raw.push_back(row[x * 3]);
        }
    }
    // "Sub" filtering turns the flat areas of mock-ups and sheets into runs of zeros.
    const std::size_t stride = 1 + static_cast<std::size_t>(bitmap.Width()) * 3;
    for (std::size_t row = 0; row < static_cast<std::size_t>(bitmap.Height()); ++row) {
        std::uint8_t* line = raw.data() + row * stride;
        line[0] = 1;
        for (std::size_t i = stride - 1; i > 3; --i)
            line[i] = static_cast<std::uint8_t>(line[i] - line[i - 3]);
    }
    PutChunk(out, "IDAT", Zlib(raw));
    PutChunk(out, "IEND", {});
    return out;
}

bool WritePngFile(const std::string& path, const Bitmap& bitmap, std::string* error)
{
    // Written as theme files are: a new file renamed over the old one, every
    // write and the close checked, so a failure leaves no fragment behind.
    const std::vector<std::uint8_t> png = EncodePng(bitmap);
    return WriteFileAtomically(path, std::string(png.begin(), png.end()), error);
}
