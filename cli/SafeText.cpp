#include "SafeText.h"

#include <cstdio>

namespace {

// The length of a well-formed UTF-8 sequence at `at` that is no C1 control, or 0.
std::size_t PrintableSequence(const std::string& t, std::size_t at)
{
    const auto b = static_cast<unsigned char>(t[at]);
    const std::size_t length = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (length == 0 || at + length > t.size())
        return 0;
    unsigned code = b & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(t[at + i]);
        if ((c & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (c & 0x3F);
    }
    const unsigned least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code < 0xA0)
        return 0;
    return length;
}

}  // namespace

std::string EscapeForTerminal(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        if (const std::size_t n = b >= 0x80 ? PrintableSequence(text, i) : 0) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", b);
        out += escaped;
        ++i;
    }
    return out;
}
