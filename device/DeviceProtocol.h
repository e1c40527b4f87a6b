#pragma once
// The device's side of a theme transfer, as the editor speaks it. Every output
// report is report ID 0 and a 64-byte payload; a command is an 18-byte block at
// the start of the payload:
//
//   offset 0  code        0x35 data-flash read, 0x90 theme read, 0x91 theme write
//          1  0x0E        the number of bytes the checksum covers
//          2  argument 1  u32 LE, always 0
//          6  argument 2  u32 LE, length of the data phase
//         10  signature   "HIDC" for vendor 0x0416, 5C CA 37 75 for any other
//         14  checksum    u32 LE, sum of bytes 0..13
//
// Replies arrive as input-report payloads appended in order: 576 bytes of data
// flash, or the 128-byte theme block (84 bytes of packed theme, 44 the device's own).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lsproto {

constexpr std::uint8_t CmdDataflashRead = 0x35;
constexpr std::uint8_t CmdThemeRead = 0x90;
constexpr std::uint8_t CmdThemeWrite = 0x91;

constexpr std::size_t DataflashSize = 576;
constexpr std::size_t ThemeBlockSize = 128;
constexpr std::size_t PackedThemeSize = 84;
constexpr std::size_t ReportSize = 65;  // report ID + 64-byte payload
constexpr std::size_t PayloadSize = 64;

struct AcceptedDeviceId {
    std::uint16_t vendorId;
    std::uint16_t productId;
};
// The devices the editor talks to, as a browser's device chooser lists them.
const std::vector<AcceptedDeviceId>& AcceptedDeviceIds();
bool IsAcceptedDevice(std::uint16_t vendorId, std::uint16_t productId);

std::array<std::uint8_t, 18> BuildCommandBlock(std::uint8_t code, std::uint32_t argument1, std::uint32_t argument2,
                                               std::uint16_t vendorId);
// Report ID 0, the block, zeros to 65 bytes.
std::array<std::uint8_t, ReportSize> BuildCommandReport(std::uint8_t code, std::uint32_t argument1,
                                                        std::uint32_t argument2, std::uint16_t vendorId);
// The output report the editor writes: report ID 0 and the payload, zero-filled
// or cut to the device's output report length (which counts the ID byte).
std::vector<std::uint8_t> BuildOutputReport(const std::uint8_t* payload, std::size_t size, std::size_t reportLength);

// The reply length a command announces: 576, 128, or 0 for anything else.
std::size_t ExpectedReplyBytes(std::uint8_t code);

// The data-flash fields the editor reads.
struct FirmwareInfo {
    std::uint32_t stamp = 0;        // byte 516 * 10000 + byte 517 * 100 + byte 518
    std::string productCode;        // bytes 316..319, byte for byte
    std::uint8_t displayType = 0;   // byte 12; 0xCF = 240x320
};
FirmwareInfo ReadFirmwareInfo(const std::uint8_t* dataflash);

constexpr std::uint32_t MinimumFirmwareStamp = 190225;
constexpr std::uint8_t LargeDisplayType = 0xCF;

// Stamp first; then the large display, or the product code found (exactly, case
// sensitive) in the override text.
bool IsCompatible(const FirmwareInfo& info, const std::string& overrideText);
inline bool HasLargeDisplay(const FirmwareInfo& info) { return info.displayType == LargeDisplayType; }

// Reply assembly. Idle while nothing is expected; a command restarts it.
class ReceiveState {
public:
    enum class Outcome { Dropped, Partial, DataflashComplete, ThemeComplete, OtherComplete, Oversized };

    void Start(std::uint8_t code);
    // Appends a payload. Bytes beyond what the reply still needs are not taken,
    // so the buffer can never overflow whatever a device sends. A payload
    // longer than the protocol's 64 bytes ends the exchange as a device error.
    Outcome Append(const std::uint8_t* data, std::size_t size);

    std::uint8_t PendingCommand() const { return pending_; }
    std::size_t ExpectedBytes() const { return expected_; }
    std::size_t ReceivedBytes() const { return received_; }
    std::array<std::uint8_t, DataflashSize>& Buffer() { return buffer_; }
    const std::array<std::uint8_t, DataflashSize>& Buffer() const { return buffer_; }

private:
    std::uint8_t pending_ = 0;
    std::size_t expected_ = 0;
    std::size_t received_ = 0;
    std::array<std::uint8_t, DataflashSize> buffer_{};
};

}  // namespace lsproto
