#pragma once
// What the kernel says of a HID device in its uevent text, without opening it:
// HID_ID is "BUS:VENDOR:PRODUCT" as %04X:%08X:%08X (bus 3 USB, 5 Bluetooth),
// HID_NAME a readable name.

#include <cstdint>
#include <map>
#include <string>

// KEY=VALUE lines; other lines are skipped.
std::map<std::string, std::string> ParseUevent(const std::string& text);

struct HidId {
    std::uint16_t bus = 0;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
};

// False for anything but three colon-separated hex fields that fit 32 bits.
bool ParseHidId(const std::string& text, HidId& id);
