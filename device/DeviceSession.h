#pragma once
// A synchronous conversation with the device, for the command-line tool: find
// the device as the editor does (the last accepted one in enumeration order),
// check its firmware by the same rules, and move theme blocks, each reply
// awaited for at most a deadline.

#include "DeviceProtocol.h"
#include "HidBackend.h"

#include <array>
#include <memory>
#include <string>

class DeviceSession {
public:
    enum class Result { Ok, NoDevice, NoPermission, DeviceError, NoAnswer, Incompatible, NotStored };

    explicit DeviceSession(HidBackend& backend, int replyTimeoutMs = 2000);

    // Opens the device and runs the firmware check.
    Result Connect(const std::string& overrideText);
    bool LargeDisplay() const { return lsproto::HasLargeDisplay(firmware_); }
    Result ReadTheme(std::array<std::uint8_t, lsproto::ThemeBlockSize>& block);
    // Writes the block, then reads the theme back: Ok only when the device
    // holds the 84 bytes of the packed theme that were sent.
    Result WriteTheme(const std::array<std::uint8_t, lsproto::ThemeBlockSize>& block);
    // One line: what happened, for the user.
    const std::string& Message() const { return message_; }

private:
    Result Fail(Result result, std::string message);
    Result Write(const std::uint8_t* payload);
    Result Transact(std::uint8_t code, std::uint32_t length);

    HidBackend& backend_;
    int timeoutMs_;
    HidInterfaceInfo device_;
    std::shared_ptr<HidConnection> connection_;
    std::size_t outputLength_ = 0;
    lsproto::ReceiveState rx_;
    lsproto::FirmwareInfo firmware_;
    std::string message_;
};
