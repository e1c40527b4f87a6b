#include "DeviceSession.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

DeviceSession::DeviceSession(HidBackend& backend, int replyTimeoutMs) : backend_(backend), timeoutMs_(replyTimeoutMs) {}

DeviceSession::Result DeviceSession::Fail(Result result, std::string message)
{
    message_ = std::move(message);
    return result;
}

DeviceSession::Result DeviceSession::Connect(const std::string& overrideText)
{
    const auto interfaces = backend_.Enumerate();
    const auto it = std::find_if(interfaces.rbegin(), interfaces.rend(), [](const HidInterfaceInfo& i) {
        return i.identified && lsproto::IsAcceptedDevice(i.vendorId, i.productId);
    });
    if (it == interfaces.rend())
        return Fail(Result::NoDevice, "No supported device is connected");
    device_ = *it;
    outputLength_ = device_.lengths.output;
    HidAccess access = HidAccess::Failed;
    std::string error;
    connection_ = backend_.Open(device_.path, access, &error);
    if (!connection_) {
        if (access == HidAccess::NoPermission)
            return Fail(Result::NoPermission, "No permission to open the device " + device_.path +
                                                  " (see the udev rules in the README)");
        return Fail(Result::DeviceError, "A device error has occurred: " + error);
    }
    const Result r = Transact(lsproto::CmdDataflashRead, lsproto::DataflashSize);
    if (r != Result::Ok)
        return r;
    firmware_ = lsproto::ReadFirmwareInfo(rx_.Buffer().data());
    if (!lsproto::IsCompatible(firmware_, overrideText))
        return Fail(Result::Incompatible, "Incompatible firmware (stamp " + std::to_string(firmware_.stamp) + ")");
    return Fail(Result::Ok, "Connected");
}

DeviceSession::Result DeviceSession::Write(const std::uint8_t* payload)
{
    const auto report = lsproto::BuildOutputReport(payload, lsproto::PayloadSize, outputLength_);
    std::string error;
    if (outputLength_ == 0 || !connection_->Write(report.data(), outputLength_, &error))
        return Fail(Result::DeviceError, "A device error has occurred: " + (error.empty() ? "no output reports" : error));
    return Result::Ok;
}

DeviceSession::Result DeviceSession::Transact(std::uint8_t code, std::uint32_t length)
{
    const auto block = lsproto::BuildCommandBlock(code, 0, length, device_.vendorId);
    std::uint8_t payload[lsproto::PayloadSize] = {};
    std::memcpy(payload, block.data(), block.size());
    // What an earlier exchange left waiting is no part of this one's reply.
    connection_->DiscardInput();
    if (Write(payload) != Result::Ok)
        return Result::DeviceError;
    rx_.Start(code);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs_);
    std::vector<std::uint8_t> report;
    while (rx_.ExpectedBytes() > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return Fail(Result::NoAnswer, "The device did not answer");
        std::string error;
        switch (connection_->Read(report, static_cast<int>(left.count()), &error)) {
        case HidReadStatus::Report: {
            const std::size_t skip = report.empty() ? 0 : 1;  // the ID byte
            if (rx_.Append(report.data() + skip, report.size() - skip) == lsproto::ReceiveState::Outcome::Oversized)
                return Fail(Result::DeviceError, "A device error has occurred: a reply report of " +
                                                     std::to_string(report.size() - skip) + " bytes");
            break;
        }
        case HidReadStatus::Gone:
        case HidReadStatus::Error:
            return Fail(Result::DeviceError, "A device error has occurred: " + (error.empty() ? "the device is gone" : error));
        default:
            break;
        }
    }
    return Result::Ok;
}

DeviceSession::Result DeviceSession::ReadTheme(std::array<std::uint8_t, lsproto::ThemeBlockSize>& block)
{
    const Result r = Transact(lsproto::CmdThemeRead, lsproto::ThemeBlockSize);
    if (r != Result::Ok)
        return r;
    std::copy(rx_.Buffer().begin(), rx_.Buffer().begin() + lsproto::ThemeBlockSize, block.begin());
    return Fail(Result::Ok, "Theme was downloaded successfully");
}

DeviceSession::Result DeviceSession::WriteTheme(const std::array<std::uint8_t, lsproto::ThemeBlockSize>& block)
{
    if (Transact(lsproto::CmdThemeWrite, lsproto::ThemeBlockSize) != Result::Ok)
        return Result::DeviceError;
    if (Write(block.data()) != Result::Ok || Write(block.data() + lsproto::PayloadSize) != Result::Ok)
        return Result::DeviceError;
    std::array<std::uint8_t, lsproto::ThemeBlockSize> stored{};
    const Result r = ReadTheme(stored);
    if (r == Result::DeviceError)
        return r;
    if (r != Result::Ok || !std::equal(block.begin(), block.begin() + lsproto::PackedThemeSize, stored.begin()))
        return Fail(Result::NotStored, "The device did not store the theme");
    return Fail(Result::Ok, "Theme was uploaded successfully");
}
