#include "ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

struct Globals {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// Bounds that no real device comes near; past them the descriptor is garbage.
constexpr std::size_t MaxPushDepth = 64;
// A length counts the report-ID byte too and must fit 16 bits.
constexpr std::uint64_t MaxReportBits = 8ull * 65534;

bool Fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

}  // namespace

bool ParseReportDescriptor(const std::uint8_t* data, std::size_t size, HidReportLengths& lengths,
                           std::string* error)
{
    lengths = HidReportLengths{};
    Globals globals;
    std::vector<Globals> stack;
    // Bits per (main item kind 0 input / 1 output / 2 feature, report ID).
    std::map<std::pair<int, std::uint32_t>, std::uint64_t> bits;

    std::size_t pos = 0, items = 0;
    int collections = 0;
    while (pos < size) {
        ++items;
        const std::uint8_t prefix = data[pos];
        if (prefix == 0xFE) {  // long item: size byte, tag byte, data
            if (pos + 2 >= size)
                return Fail(error, "truncated long item at byte " + std::to_string(pos));
            const std::size_t itemSize = data[pos + 1];
            if (pos + 3 + itemSize > size)
                return Fail(error, "truncated long item at byte " + std::to_string(pos));
            pos += 3 + itemSize;
            continue;
        }
        const std::size_t itemSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (pos + 1 + itemSize > size)
            return Fail(error, "truncated item at byte " + std::to_string(pos));
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < itemSize; ++i)
            value |= static_cast<std::uint32_t>(data[pos + 1 + i]) << (8 * i);
        pos += 1 + itemSize;

        switch (prefix & 0xFC) {
        case 0x74: globals.reportSize = value; break;
        case 0x94: globals.reportCount = value; break;
        case 0x84:
            if (value == 0 || value > 255)
                return Fail(error, "report ID " + std::to_string(value) + " out of range");
            globals.reportId = value;
            lengths.numbered = true;
            break;
        case 0xA4:
            if (stack.size() >= MaxPushDepth)
                return Fail(error, "Push nested too deeply");
            stack.push_back(globals);
            break;
        case 0xB4:
            if (stack.empty())
                return Fail(error, "Pop without Push");
            globals = stack.back();
            stack.pop_back();
            break;
        case 0xA0:
            ++collections;
            break;
        case 0xC0:
            if (collections == 0)
                return Fail(error, "End Collection without Collection at byte " + std::to_string(pos - 1 - itemSize));
            --collections;
            break;
        case 0x80:
        case 0x90:
        case 0xB0: {
            const int kind = (prefix & 0xFC) == 0x80 ? 0 : (prefix & 0xFC) == 0x90 ? 1 : 2;
            std::uint64_t& total = bits[{kind, globals.reportId}];
            total += static_cast<std::uint64_t>(globals.reportSize) * globals.reportCount;
            if (total > MaxReportBits)
                return Fail(error, "report larger than 65534 bytes");
            break;
        }
        default:
            break;
        }
    }

    if (items == 0)
        return Fail(error, "no items: not a report descriptor");
    if (collections != 0)
        return Fail(error, std::to_string(collections) + " collection(s) never closed");

    std::uint64_t largest[3] = {0, 0, 0};
    bool present[3] = {false, false, false};
    for (const auto& [key, total] : bits) {
        present[key.first] = true;
        largest[key.first] = std::max(largest[key.first], (total + 7) / 8);
    }
    auto length = [&](int kind) { return static_cast<std::uint16_t>(present[kind] ? largest[kind] + 1 : 0); };
    lengths.input = length(0);
    lengths.output = length(1);
    lengths.feature = length(2);
    return true;
}
