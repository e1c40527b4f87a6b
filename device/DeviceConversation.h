#pragma once
// The editor's conversation with one device, without a thread or a timer of
// its own: the firmware check, the theme download, and the upload confirmed
// by reading the theme back. Whoever drives it hands in each input report and
// each expired deadline; lsthtool waits for them in a loop, the window gets
// them from the controller and its timer.
//
// The device's own 44 bytes after the packed theme are kept from the last
// theme block this device sent, and an upload gives them back unchanged.
// Without such a block the upload reads the device's first, so bytes that did
// not come from this device are never written into it.

#include "DeviceProtocol.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// What the conversation needs of the device: output reports and a way to
// drop input that is no part of the next reply.
class DevicePort {
public:
    virtual ~DevicePort() = default;
    // Writes the whole report; false when it could not be written.
    virtual bool WriteReport(const std::uint8_t* report, std::size_t length, std::string* error) = 0;
    virtual void DiscardInput() = 0;
};

struct DeviceIdentity {
    std::string instance;           // tells one appearance of a device from the next
    std::uint16_t vendorId = 0;
    std::size_t inputLength = 0;    // report lengths, counting the ID byte
    std::size_t outputLength = 0;
};

using ThemeBlock = std::array<std::uint8_t, lsproto::ThemeBlockSize>;
using PackedThemeBlock = std::array<std::uint8_t, lsproto::PackedThemeSize>;

class DeviceConversation {
public:
    enum class Event {
        None,          // nothing to tell yet
        Connected,     // the firmware check passed
        Incompatible,  // the firmware check failed
        Downloaded,    // Block() holds the device's theme
        Uploaded,      // the device holds the theme that was sent
        NotStored,     // the device answered with another theme
        DeviceError,   // a write failed, a reply was malformed or late, or the device went
    };
    struct Outcome {
        Event event = Event::None;
        std::string message;  // one line for the user; the status text the window shows
        std::string detail;   // what exactly went wrong, for lsthtool
    };

    // The device that commands go to. Forgets whatever was under way.
    void Attach(DevicePort& port, const DeviceIdentity& identity);
    // The device went: a transfer under way, or one whose last exchange
    // failed, ends as a device error.
    Outcome Detach();

    // Product codes in overrideText are accepted without the large display.
    Outcome BeginFirmwareCheck(const std::string& overrideText);
    Outcome BeginDownload();
    Outcome BeginUpload(const PackedThemeBlock& theme);
    // One input report's payload, the ID byte left out.
    Outcome OnReport(const std::uint8_t* payload, std::size_t size);
    // The deadline of the reply awaited has passed.
    Outcome OnDeadline();

    bool Attached() const { return port_ != nullptr; }
    bool Busy() const { return phase_ != Phase::Idle; }
    // How long the reply now awaited may take; none while nothing is awaited,
    // and none for the firmware check, which waits as long as the device takes.
    std::optional<int> DeadlineMs() const;
    const lsproto::FirmwareInfo& Firmware() const { return firmware_; }
    const ThemeBlock& Block() const { return block_; }
    const lsproto::ReceiveState& Receiver() const { return rx_; }
    // Counts the commands sent that await a reply, so a driver can tell one
    // awaited reply from the next.
    std::uint32_t Exchange() const { return exchange_; }

    static constexpr int ReplyDeadlineMs = 2000;

private:
    enum class Phase { Idle, FirmwareCheck, Download, UploadReadFirst, UploadVerify };

    Outcome Fail(std::string detail);
    bool Send(std::uint8_t code, std::uint32_t length, std::string& error);
    // Sends a command whose reply the next phase awaits.
    Outcome Ask(std::uint8_t code, std::uint32_t length, Phase next);
    bool WritePayload(const std::uint8_t* payload, std::string& error);
    Outcome WriteTheme();
    Outcome ThemeArrived();

    DevicePort* port_ = nullptr;
    DeviceIdentity device_;
    Phase phase_ = Phase::Idle;
    std::uint32_t exchange_ = 0;
    bool lastFailed_ = false;
    // An upload was begun and has not been confirmed.
    bool uploading_ = false;
    lsproto::ReceiveState rx_;
    lsproto::FirmwareInfo firmware_;
    std::string overrideText_;
    ThemeBlock block_{};
    PackedThemeBlock sending_{};
    // The device's own bytes, and the device they came from (empty = none).
    std::array<std::uint8_t, lsproto::ThemeBlockSize - lsproto::PackedThemeSize> tail_{};
    std::string tailInstance_;
};
