#include "DeviceProtocol.h"

#include <algorithm>
#include <cstring>

namespace lsproto {

const std::vector<AcceptedDeviceId>& AcceptedDeviceIds()
{
    static const std::vector<AcceptedDeviceId> ids = {{0x0416, 0x5020}, {0x0483, 0x5750}};
    return ids;
}

bool IsAcceptedDevice(std::uint16_t vendorId, std::uint16_t productId)
{
    for (const AcceptedDeviceId& id : AcceptedDeviceIds())
        if (id.vendorId == vendorId && id.productId == productId)
            return true;
    return false;
}

namespace {
void PutU32(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

std::array<std::uint8_t, 18> BuildCommandBlock(std::uint8_t code, std::uint32_t argument1, std::uint32_t argument2,
                                               std::uint16_t vendorId)
{
    std::array<std::uint8_t, 18> block{};
    block[0] = code;
    block[1] = 0x0E;
    PutU32(&block[2], argument1);
    PutU32(&block[6], argument2);
    static const std::uint8_t hidc[4] = {0x48, 0x49, 0x44, 0x43};
    static const std::uint8_t other[4] = {0x5C, 0xCA, 0x37, 0x75};
    std::memcpy(&block[10], vendorId == 0x0416 ? hidc : other, 4);
    std::uint32_t sum = 0;
    for (int i = 0; i < 14; ++i)
        sum += block[static_cast<std::size_t>(i)];
    PutU32(&block[14], sum);
    return block;
}

std::array<std::uint8_t, ReportSize> BuildCommandReport(std::uint8_t code, std::uint32_t argument1,
                                                        std::uint32_t argument2, std::uint16_t vendorId)
{
    std::array<std::uint8_t, ReportSize> report{};
    const auto block = BuildCommandBlock(code, argument1, argument2, vendorId);
    std::copy(block.begin(), block.end(), report.begin() + 1);
    return report;
}

std::vector<std::uint8_t> BuildOutputReport(const std::uint8_t* payload, std::size_t size, std::size_t reportLength)
{
    std::vector<std::uint8_t> report(std::max<std::size_t>(reportLength, 1), 0);
    std::memcpy(report.data() + 1, payload, std::min(size, report.size() - 1));
    return report;
}

std::size_t ExpectedReplyBytes(std::uint8_t code)
{
    return code == CmdDataflashRead ? DataflashSize : code == CmdThemeRead ? ThemeBlockSize : 0;
}

FirmwareInfo ReadFirmwareInfo(const std::uint8_t* dataflash)
{
    FirmwareInfo info;
    info.stamp = dataflash[516] * 10000u + dataflash[517] * 100u + dataflash[518];
    info.productCode.assign(reinterpret_cast<const char*>(dataflash + 316), 4);
    info.displayType = dataflash[12];
    return info;
}

bool IsCompatible(const FirmwareInfo& info, const std::string& overrideText)
{
    if (info.stamp < MinimumFirmwareStamp)
        return false;
    return HasLargeDisplay(info) || overrideText.find(info.productCode) != std::string::npos;
}

void ReceiveState::Start(std::uint8_t code)
{
    received_ = 0;
    pending_ = code;
    expected_ = ExpectedReplyBytes(code);
}

ReceiveState::Outcome ReceiveState::Append(const std::uint8_t* data, std::size_t size)
{
    if (expected_ == 0)
        return Outcome::Dropped;
    if (size > PayloadSize) {
        // No report of this device carries more: whatever it is, it is not
        // the reply, and the exchange is over.
        pending_ = 0;
        expected_ = 0;
        return Outcome::Oversized;
    }
    const std::size_t take = std::min({size, expected_, buffer_.size() - received_});
    std::memcpy(buffer_.data() + received_, data, take);
    received_ += take;
    expected_ -= take;
    if (expected_ != 0)
        return Outcome::Partial;
    switch (pending_) {
    case CmdDataflashRead: return Outcome::DataflashComplete;
    case CmdThemeRead: return Outcome::ThemeComplete;
    default: return Outcome::OtherComplete;
    }
}

}  // namespace lsproto
