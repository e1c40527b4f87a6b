#pragma once
// Report lengths from a HID report descriptor, counted the way the device
// capabilities of the classic HID services count them: per kind the largest
// report in bytes plus one for the report-ID byte (counted also when reports are
// unnumbered), 0 when the descriptor has no report of that kind.

#include <cstddef>
#include <cstdint>
#include <string>

struct HidReportLengths {
    std::uint16_t input = 0;
    std::uint16_t output = 0;
    std::uint16_t feature = 0;
    bool numbered = false;  // any Report ID item appears
};

// False and a reason for a malformed descriptor (truncated item, Pop without
// Push, runaway nesting, absurd sizes); never reads past `size` bytes.
bool ParseReportDescriptor(const std::uint8_t* data, std::size_t size, HidReportLengths& lengths,
                           std::string* error = nullptr);
