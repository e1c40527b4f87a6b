#include "HidBackend.h"

#include <algorithm>

const char* HidAccessText(HidAccess access)
{
    switch (access) {
    case HidAccess::ReadWrite: return "read/write";
    case HidAccess::NoPermission: return "no permission";
    case HidAccess::Gone: return "gone";
    default: return "cannot be opened";
    }
}

int HidConnection::DiscardInput()
{
    // Bounded: a device that streams reports for ever must not hold us here.
    int dropped = 0;
    std::vector<std::uint8_t> report;
    while (dropped < 1024 && Read(report, 0, nullptr) == HidReadStatus::Report)
        ++dropped;
    return dropped;
}

std::vector<std::uint8_t> NormalisedReport(const std::uint8_t* raw, std::size_t size, const HidReportLengths& lengths)
{
    // hidraw leaves out the ID byte of unnumbered reports; callers always get it.
    // A report shorter than the interface's length stays short: padding it
    // would pass zeros off as the device's data.
    std::vector<std::uint8_t> report;
    report.reserve(size + 1);
    if (!lengths.numbered)
        report.push_back(0);
    report.insert(report.end(), raw, raw + size);
    return report;
}
