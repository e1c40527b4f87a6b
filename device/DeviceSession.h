#pragma once
// The device conversation driven synchronously, for the command-line tool:
// find the device as the editor does (the last accepted one in enumeration
// order), then wait for each reply the conversation asks for.

#include "DeviceConversation.h"
#include "HidBackend.h"

#include <memory>
#include <string>

class DeviceSession {
public:
    enum class Result { Ok, NoDevice, NoPermission, DeviceError, NoAnswer, Incompatible, NotStored };

    // replyTimeoutMs bounds the one wait the conversation leaves open, the
    // firmware check's; a command-line tool must not wait for ever.
    explicit DeviceSession(HidBackend& backend, int replyTimeoutMs = DeviceConversation::ReplyDeadlineMs);
    ~DeviceSession();

    // Opens the device and runs the firmware check.
    Result Connect(const std::string& overrideText);
    bool LargeDisplay() const { return lsproto::HasLargeDisplay(conversation_.Firmware()); }
    Result ReadTheme(ThemeBlock& block);
    // Writes the theme with the device's own bytes, then reads it back: Ok
    // only when the device holds the 84 bytes that were sent.
    Result Upload(const PackedThemeBlock& theme);
    // One line: what happened, for the user.
    const std::string& Message() const { return message_; }

private:
    class Port;
    Result Fail(Result result, std::string message);
    // Feeds reports into the conversation until it tells something.
    Result Await(DeviceConversation::Outcome outcome);

    HidBackend& backend_;
    int timeoutMs_;
    std::shared_ptr<HidConnection> connection_;
    std::unique_ptr<Port> port_;
    DeviceConversation conversation_;
    std::string message_;
};
