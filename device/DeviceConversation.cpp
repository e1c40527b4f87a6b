#include "DeviceConversation.h"

#include <algorithm>
#include <cstring>

namespace {
const char* const DeviceErrorText = "A device error has occurred";
// What the user must know of an upload the device did not finish: it may
// hold a part of the theme.
const char* const UploadCutText = "The device was unplugged during the upload: upload the theme again";
}  // namespace

void DeviceConversation::Attach(DevicePort& port, const DeviceIdentity& identity)
{
    port_ = &port;
    device_ = identity;
    phase_ = Phase::Idle;
    lastFailed_ = false;
    rx_ = lsproto::ReceiveState();
}

DeviceConversation::Outcome DeviceConversation::Detach()
{
    // A transfer under way, or one that had just failed, ends as a failure:
    // the device going is no answer to it.
    const bool transferring = phase_ == Phase::Download || phase_ == Phase::UploadReadFirst || phase_ == Phase::UploadVerify;
    const bool failed = lastFailed_;
    const bool upload = uploading_;
    port_ = nullptr;
    uploading_ = false;
    phase_ = Phase::Idle;
    rx_ = lsproto::ReceiveState();
    lastFailed_ = false;
    if (!transferring && !failed)
        return {};
    return {Event::DeviceError, upload ? UploadCutText : DeviceErrorText, "the device went away during the transfer"};
}

DeviceConversation::Outcome DeviceConversation::Fail(std::string detail)
{
    phase_ = Phase::Idle;
    lastFailed_ = true;
    rx_.Start(0);  // whatever still arrives is dropped
    return {Event::DeviceError, DeviceErrorText, std::move(detail)};
}

std::optional<int> DeviceConversation::DeadlineMs() const
{
    if (phase_ == Phase::Idle || phase_ == Phase::FirmwareCheck)
        return std::nullopt;
    return ReplyDeadlineMs;
}

bool DeviceConversation::WritePayload(const std::uint8_t* payload, std::string& error)
{
    // The device says how long its output reports are; ours are ID 0 and a
    // 64-byte payload, zero-filled or cut to that length.
    const std::size_t length = device_.outputLength;
    if (length == 0) {
        error = "the device takes no output reports";
        return false;
    }
    const auto report = lsproto::BuildOutputReport(payload, lsproto::PayloadSize, length);
    if (!port_->WriteReport(report.data(), length, &error)) {
        if (error.empty())
            error = "a report could not be written";
        return false;
    }
    return true;
}

bool DeviceConversation::Send(std::uint8_t code, std::uint32_t length, std::string& error)
{
    const auto block = lsproto::BuildCommandBlock(code, 0, length, device_.vendorId);
    std::uint8_t payload[lsproto::PayloadSize] = {};
    std::memcpy(payload, block.data(), block.size());
    // Whatever an earlier exchange left waiting is no part of this reply.
    port_->DiscardInput();
    lastFailed_ = false;
    if (!WritePayload(payload, error))
        return false;
    rx_.Start(code);
    if (rx_.ExpectedBytes() > 0)
        ++exchange_;
    return true;
}

DeviceConversation::Outcome DeviceConversation::Ask(std::uint8_t code, std::uint32_t length, Phase next)
{
    std::string error;
    if (!Send(code, length, error))
        return Fail(error);
    phase_ = next;
    return {};
}

DeviceConversation::Outcome DeviceConversation::BeginFirmwareCheck(const std::string& overrideText)
{
    if (!port_)
        return {};
    overrideText_ = overrideText;
    uploading_ = false;
    return Ask(lsproto::CmdDataflashRead, lsproto::DataflashSize, Phase::FirmwareCheck);
}

DeviceConversation::Outcome DeviceConversation::BeginDownload()
{
    if (!port_)
        return {};
    uploading_ = false;
    return Ask(lsproto::CmdThemeRead, lsproto::ThemeBlockSize, Phase::Download);
}

DeviceConversation::Outcome DeviceConversation::BeginUpload(const PackedThemeBlock& theme)
{
    if (!port_)
        return {};
    sending_ = theme;
    uploading_ = true;
    if (tailInstance_ == device_.instance && !tailInstance_.empty())
        return WriteTheme();
    // No block of this device yet: its own bytes are read first.
    return Ask(lsproto::CmdThemeRead, lsproto::ThemeBlockSize, Phase::UploadReadFirst);
}

DeviceConversation::Outcome DeviceConversation::WriteTheme()
{
    ThemeBlock block{};
    std::copy(sending_.begin(), sending_.end(), block.begin());
    std::copy(tail_.begin(), tail_.end(), block.begin() + lsproto::PackedThemeSize);
    std::string error;
    if (!Send(lsproto::CmdThemeWrite, lsproto::ThemeBlockSize, error) || !WritePayload(block.data(), error) ||
        !WritePayload(block.data() + lsproto::PayloadSize, error))
        return Fail(error);
    // Only a device that gives the theme back has stored it.
    return Ask(lsproto::CmdThemeRead, lsproto::ThemeBlockSize, Phase::UploadVerify);
}

DeviceConversation::Outcome DeviceConversation::OnReport(const std::uint8_t* payload, std::size_t size)
{
    if (phase_ == Phase::Idle || rx_.ExpectedBytes() == 0)
        return {};  // nothing asked for: a stray report
    // Every input report of the interface has its one length. A shorter one
    // is not zeros, and a longer one is no reply of this device.
    const std::size_t expected = device_.inputLength > 0 ? device_.inputLength - 1 : lsproto::PayloadSize;
    if (size != expected || size > lsproto::PayloadSize)
        return Fail("a reply report of " + std::to_string(size) + " bytes, not " + std::to_string(expected));
    switch (rx_.Append(payload, size)) {
    case lsproto::ReceiveState::Outcome::DataflashComplete:
        phase_ = Phase::Idle;
        firmware_ = lsproto::ReadFirmwareInfo(rx_.Buffer().data());
        if (firmware_.stamp < lsproto::MinimumFirmwareStamp)
            return {Event::Incompatible, "Incompatible firmware", "stamp " + std::to_string(firmware_.stamp)};
        if (!lsproto::IsCompatible(firmware_, overrideText_))
            return {Event::Incompatible, "Incompatible firmware",
                    "a small-display device, product code " + firmware_.productCode +
                        ", that the Override setting does not list"};
        return {Event::Connected, "Connected", ""};
    case lsproto::ReceiveState::Outcome::ThemeComplete:
        return ThemeArrived();
    case lsproto::ReceiveState::Outcome::Oversized:
        return Fail("a reply report of " + std::to_string(size) + " bytes");
    default:
        return {};
    }
}

DeviceConversation::Outcome DeviceConversation::ThemeArrived()
{
    std::copy(rx_.Buffer().begin(), rx_.Buffer().begin() + lsproto::ThemeBlockSize, block_.begin());
    // Keep the device's own bytes 84..127, so an upload gives them back unchanged.
    std::copy(block_.begin() + lsproto::PackedThemeSize, block_.end(), tail_.begin());
    tailInstance_ = device_.instance;
    const Phase was = phase_;
    phase_ = Phase::Idle;
    switch (was) {
    case Phase::Download:
        return {Event::Downloaded, "Theme was downloaded successfully", ""};
    case Phase::UploadReadFirst:
        return WriteTheme();
    case Phase::UploadVerify:
        if (std::equal(sending_.begin(), sending_.end(), block_.begin()))
            return uploading_ = false, Outcome{Event::Uploaded, "Theme was uploaded successfully", ""};
        return {Event::NotStored, "The device did not store the theme", ""};
    default:
        return {};
    }
}

DeviceConversation::Outcome DeviceConversation::OnDeadline()
{
    switch (phase_) {
    case Phase::UploadVerify:
        phase_ = Phase::Idle;
        rx_.Start(0);  // a late answer is dropped
        return {Event::NotStored, "The device did not store the theme", "the device did not answer"};
    case Phase::Download:
    case Phase::UploadReadFirst:
        return Fail("the device did not answer");
    default:
        return {};
    }
}
