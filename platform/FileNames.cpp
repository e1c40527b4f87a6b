#include "FileNames.h"

#include "TextEncoding.h"

#include <filesystem>
#include <system_error>

namespace {

// The length of the well-formed UTF-8 sequence at `at` and its code point;
// 0 when the bytes there are not one (overlong forms, surrogates and code
// points past U+10FFFF are not).
int Utf8Sequence(const std::string& bytes, std::size_t at, char32_t& code)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + std::size_t(length) > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + std::size_t(i));
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char a = text[text.size() - tail.size() + i], b = tail[i];
        if (a >= 'A' && a <= 'Z')
            a = char(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = char(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

}  // namespace

std::u16string FileNameToUtf16(const std::string& bytes)
{
    std::u16string units;
    units.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = Utf8Sequence(bytes, at, code);
        if (length == 0) {
            units += EscapedByteUnit(static_cast<unsigned char>(bytes[at++]));
            continue;
        }
        at += std::size_t(length);
        if (code < 0x10000) {
            units += char16_t(code);
        } else {
            units += char16_t(0xD800 + ((code - 0x10000) >> 10));
            units += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return units;
}

std::string FileNameFromUtf16(const std::u16string& units)
{
    std::string bytes;
    bytes.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            AppendUtf8(bytes, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00));
            ++i;
        } else if (const int byte = EscapedByte(unit); byte >= 0) {
            bytes += char(byte);
        } else {
            // Any other lone surrogate as its own three bytes, as a UTF-16
            // name on Windows would come.
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

bool ListFolder(const std::string& folder, const std::string& extension, std::vector<FolderEntry>& entries)
{
    namespace fs = std::filesystem;
    entries.clear();
    std::error_code error;
    fs::directory_iterator it(fs::u8path(folder), error);
    if (error)
        return false;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            return false;
        // The name as the system has it: bytes on POSIX, UTF-16 made UTF-8 on Windows.
#ifdef _WIN32
        const std::string name = it->path().filename().u8string();
#else
        const std::string name = it->path().filename().native();
#endif
        std::error_code ignored;
        if (!EndsWithIgnoringCase(name, extension) || it->is_directory(ignored))
            continue;
        FolderEntry entry;
        entry.name = name;
        entry.size = it->file_size(ignored);
        entry.modified = std::int64_t(it->last_write_time(ignored).time_since_epoch().count());
        entries.push_back(std::move(entry));
    }
    return true;
}
