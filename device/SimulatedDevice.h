#pragma once
// The simulated device's own behaviour, without threads, files or a
// transport: what it answers to each output report, and the faults it can
// be told to have. The desktop's simulator backend puts a transport round
// it; the browser edition's tests play it behind a scripted WebHID, so both
// talk to the same device.
//
// It presents one HID interface, vendor 0x0416 product 0x5020, 64-byte
// reports without numbering, and answers the device protocol: the
// data-flash read with 576 bytes, the theme read with its 128-byte theme
// block, and it stores a theme write.

#include "DeviceProtocol.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

enum class SimulatorModel { Large, Small, Old };

// "large", "small" or "old"; false for anything else.
bool ParseSimulatorModel(const std::string& text, SimulatorModel& model);

class SimulatedDevice {
public:
    using Block = std::array<std::uint8_t, lsproto::ThemeBlockSize>;

    explicit SimulatedDevice(SimulatorModel model);

    static const std::vector<std::uint8_t>& ReportDescriptor();
    static Block FactoryThemeBlock();
    static constexpr std::uint16_t VendorId = 0x0416;
    static constexpr std::uint16_t ProductId = 0x5020;

    // One output report, its ID byte first. True when it stored a whole theme.
    bool Receive(const std::uint8_t* report, std::size_t size);
    // The input reports the device has to send, as a transport delivers
    // them: payloads without an ID byte.
    std::deque<std::vector<std::uint8_t>>& Replies() { return replies_; }
    // A new appearance forgets a transfer half done.
    void Reset();

    const Block& Theme() const { return theme_; }
    void SetTheme(const Block& theme) { theme_ = theme; }
    void SetDataflashByte(std::size_t offset, std::uint8_t value) { dataflash_[offset] = value; }

    // Faults of the device itself.
    void SetSilent(bool silent) { silent_ = silent; }                  // takes commands, never answers
    void SetReplyPayloadSize(std::size_t bytes) { payloadSize_ = bytes; }  // 64 normally
    void SetForgetWrites(bool forget) { forgetWrites_ = forget; }    // accepts theme writes, stores nothing
    void SetStaleReports(bool stale) { staleReports_ = stale; }      // one more report after every reply

private:
    void QueueReply(const std::uint8_t* bytes, std::size_t size);

    std::array<std::uint8_t, lsproto::DataflashSize> dataflash_{};
    Block theme_{};
    std::deque<std::vector<std::uint8_t>> replies_;
    int themeDataReportsDue_ = 0;
    bool silent_ = false;
    bool forgetWrites_ = false;
    bool staleReports_ = false;
    std::size_t payloadSize_ = lsproto::PayloadSize;
};
