#include "HidIdentity.h"

#include <sstream>

std::map<std::string, std::string> ParseUevent(const std::string& text)
{
    std::map<std::string, std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        values.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    return values;
}

namespace {
bool ParseHexField(const std::string& text, std::uint32_t& value)
{
    if (text.empty() || text.size() > 8)
        return false;
    value = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return true;
}
}  // namespace

bool ParseHidId(const std::string& text, HidId& id)
{
    const std::size_t a = text.find(':');
    const std::size_t b = a == std::string::npos ? a : text.find(':', a + 1);
    if (b == std::string::npos || text.find(':', b + 1) != std::string::npos)
        return false;
    std::uint32_t bus, vendor, product;
    if (!ParseHexField(text.substr(0, a), bus) || !ParseHexField(text.substr(a + 1, b - a - 1), vendor) ||
        !ParseHexField(text.substr(b + 1), product))
        return false;
    // Vendor and product are the low 16 bits of their 32-bit fields.
    id = {static_cast<std::uint16_t>(bus), static_cast<std::uint16_t>(vendor & 0xFFFF),
          static_cast<std::uint16_t>(product & 0xFFFF)};
    return true;
}
