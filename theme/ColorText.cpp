#include "ColorText.h"

#include "IntegerSyntax.h"

#include <cctype>
#include <cstdio>

namespace {

std::string Trimmed(const std::string& text)
{
    std::size_t a = 0, b = text.size();
    while (a < b && std::isspace(static_cast<unsigned char>(text[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(text[b - 1])))
        --b;
    return text.substr(a, b - a);
}

bool Hex(const std::string& digits, unsigned& value)
{
    if (digits.empty() || digits.size() > 8)
        return false;
    value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return true;
}

// "rgb(r, g, b)" with each channel 0..255 in decimal.
bool RgbFunction(const std::string& text, TColor& color)
{
    // Spaces may stand around the numbers, never inside one: "12 3" is no 123.
    std::string lower;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isspace(c)) {
            lower += static_cast<char>(std::tolower(c));
            continue;
        }
        if (!lower.empty() && std::isdigit(static_cast<unsigned char>(lower.back()))) {
            std::size_t next = i;
            while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
                ++next;
            if (next < text.size() && std::isdigit(static_cast<unsigned char>(text[next])))
                return false;
        }
    }
    if (lower.size() < 10 || lower.compare(0, 4, "rgb(") != 0 || lower.back() != ')')
        return false;
    unsigned channel[3];
    std::size_t at = 4;
    for (int i = 0; i < 3; ++i) {
        std::size_t end = at;
        while (end < lower.size() && std::isdigit(static_cast<unsigned char>(lower[end])))
            ++end;
        if (end == at || end - at > 3)
            return false;
        channel[i] = static_cast<unsigned>(std::stoi(lower.substr(at, end - at)));
        if (channel[i] > 255 || lower[end] != (i < 2 ? ',' : ')'))
            return false;
        at = end + 1;
    }
    if (at != lower.size())
        return false;
    color = MakeColor(channel[0], channel[1], channel[2]);
    return true;
}

}  // namespace

bool ParseColorText(const std::string& raw, TColor& color)
{
    const std::string text = Trimmed(raw);
    unsigned v = 0;
    if (text.size() == 5 && text[0] == '$' && Hex(text.substr(1), v)) {
        color = RGB565ToColor(v);
        return true;
    }
    if (text.size() == 6 && (text[1] == 'x' || text[1] == 'X') && text[0] == '0' && Hex(text.substr(2), v)) {
        color = RGB565ToColor(v);
        return true;
    }
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() == 6 && Hex(digits, v)) {
        color = MakeColor(v >> 16, (v >> 8) & 0xFF, v & 0xFF);
        return true;
    }
    if (text.size() == 4 && text[0] == '#' && Hex(digits, v)) {
        const unsigned r = (v >> 8) & 15, g = (v >> 4) & 15, b = v & 15;
        color = MakeColor(r * 17, g * 17, b * 17);
        return true;
    }
    return RgbFunction(text, color);
}

std::string ColorToHexText(TColor color)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", ColorRed(color), ColorGreen(color), ColorBlue(color));
    return text;
}
