#include "SimulatedDevice.h"

#include <algorithm>
#include <cstring>

bool ParseSimulatorModel(const std::string& text, SimulatorModel& model)
{
    if (text == "large")
        model = SimulatorModel::Large;
    else if (text == "small")
        model = SimulatorModel::Small;
    else if (text == "old")
        model = SimulatorModel::Old;
    else
        return false;
    return true;
}

const std::vector<std::uint8_t>& SimulatedDevice::ReportDescriptor()
{
    // Vendor page, one application collection: 64-byte input and output, no IDs.
    static const std::vector<std::uint8_t> descriptor = {
        0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
        0x40, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0,
    };
    return descriptor;
}

SimulatedDevice::Block SimulatedDevice::FactoryThemeBlock()
{
    Block block{};
    for (std::size_t i = 0; i < 42; ++i) {
        const std::uint32_t word = static_cast<std::uint32_t>(i * 1561) % 65536;
        block[2 * i] = static_cast<std::uint8_t>(word & 0xFF);
        block[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    for (std::size_t k = lsproto::PackedThemeSize; k < block.size(); ++k)
        block[k] = static_cast<std::uint8_t>(k);
    return block;
}

SimulatedDevice::SimulatedDevice(SimulatorModel model)
{
    dataflash_[12] = model == SimulatorModel::Large ? lsproto::LargeDisplayType : 0x00;
    std::memcpy(&dataflash_[316], "SIMS", 4);
    const std::uint8_t stamp[3] = {static_cast<std::uint8_t>(model == SimulatorModel::Old ? 19 : 20),
                                   static_cast<std::uint8_t>(model == SimulatorModel::Old ? 2 : 1),
                                   static_cast<std::uint8_t>(model == SimulatorModel::Old ? 24 : 1)};
    std::memcpy(&dataflash_[516], stamp, 3);
    theme_ = FactoryThemeBlock();
}

void SimulatedDevice::Reset()
{
    replies_.clear();
    themeDataReportsDue_ = 0;
}

void SimulatedDevice::QueueReply(const std::uint8_t* bytes, std::size_t size)
{
    for (std::size_t at = 0; at < size; at += lsproto::PayloadSize) {
        std::vector<std::uint8_t> report(payloadSize_, 0);
        std::memcpy(report.data(), bytes + at, std::min(payloadSize_, std::min(lsproto::PayloadSize, size - at)));
        replies_.push_back(std::move(report));
    }
    if (staleReports_)
        replies_.emplace_back(payloadSize_, 0xEE);
}

bool SimulatedDevice::Receive(const std::uint8_t* report, std::size_t size)
{
    if (silent_ || size < 1 + lsproto::PayloadSize)
        return false;
    const std::uint8_t* payload = report + 1;
    if (themeDataReportsDue_ > 0) {
        const std::size_t offset = (2 - static_cast<std::size_t>(themeDataReportsDue_)) * lsproto::PayloadSize;
        if (!forgetWrites_)
            std::memcpy(theme_.data() + offset, payload, lsproto::PayloadSize);
        return --themeDataReportsDue_ == 0 && !forgetWrites_;
    }
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(payload[at] | payload[at + 1] << 8 | payload[at + 2] << 16 |
                                          static_cast<std::uint32_t>(payload[at + 3]) << 24);
    };
    const auto expected = lsproto::BuildCommandBlock(payload[0], u32(2), u32(6), VendorId);
    if (std::memcmp(expected.data(), payload, expected.size()) != 0)
        return false;  // not a command this device understands
    switch (payload[0]) {
    case lsproto::CmdDataflashRead: QueueReply(dataflash_.data(), dataflash_.size()); break;
    case lsproto::CmdThemeRead: QueueReply(theme_.data(), theme_.size()); break;
    case lsproto::CmdThemeWrite: themeDataReportsDue_ = 2; break;
    default: break;
    }
    return false;
}
