#include "TextEncoding.h"

namespace {

unsigned Unit(const std::string& bytes, std::size_t at, bool little)
{
    const auto lo = static_cast<unsigned char>(bytes[at + (little ? 0 : 1)]);
    const auto hi = static_cast<unsigned char>(bytes[at + (little ? 1 : 0)]);
    return lo | (hi << 8u);
}

void PutUnit(std::string& out, unsigned unit, bool little)
{
    const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
    out += little ? lo : hi;
    out += little ? hi : lo;
}

}  // namespace

DecodedText DecodeText(const std::string& bytes)
{
    DecodedText decoded;
    const bool le = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool be = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (!le && !be) {
        decoded.text = bytes;
        return decoded;
    }
    decoded.encoding = le ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
    const std::size_t end = bytes.size() - (bytes.size() % 2);
    decoded.text.reserve(end);
    for (std::size_t at = 2; at < end; at += 2) {
        const unsigned u = Unit(bytes, at, le);
        if (u < 0x80) {
            decoded.text += static_cast<char>(u);
        } else if (u < 0x800) {
            decoded.text += static_cast<char>(0xC0 | (u >> 6));
            decoded.text += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            decoded.text += static_cast<char>(0xE0 | (u >> 12));
            decoded.text += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            decoded.text += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    decoded.tail = bytes.substr(end);
    return decoded;
}

std::string EncodeText(const DecodedText& decoded)
{
    if (decoded.encoding == TextEncoding::Bytes)
        return decoded.text;
    const bool le = decoded.encoding == TextEncoding::Utf16LE;
    std::string out;
    out.reserve(2 + decoded.text.size() * 2 + decoded.tail.size());
    PutUnit(out, 0xFEFF, le);
    const std::string& t = decoded.text;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const auto b = static_cast<unsigned char>(t[i]);
        // Each unit's group, as DecodeText made it; a cut-off group (no
        // writer makes one) is kept byte by byte rather than lost.
        const auto at = [&](std::size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(t[k])); };
        if (b >= 0xE0 && i + 2 < t.size()) {
            PutUnit(out, ((b & 0x0F) << 12) | ((at(i + 1) & 0x3F) << 6) | (at(i + 2) & 0x3F), le);
            i += 2;
        } else if (b >= 0xC0 && b < 0xE0 && i + 1 < t.size()) {
            PutUnit(out, ((b & 0x1F) << 6) | (at(i + 1) & 0x3F), le);
            i += 1;
        } else {
            PutUnit(out, b, le);
        }
    }
    return out + decoded.tail;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}
