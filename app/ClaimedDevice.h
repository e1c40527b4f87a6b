#pragma once
// The device the window has claimed, as the session's conversation writes to
// it; none between a scan and the next accepted device.

#include "DeviceConversation.h"
#include "HidControllerClass.h"

class ClaimedDevice : public DevicePort {
public:
    // Owned by the controller.
    THidDevice* device = nullptr;

    bool WriteReport(const std::uint8_t* report, std::size_t length, std::string* error) override
    {
        std::size_t written = 0;
        return device && device->WriteReport(report, length, written, error) && written == length;
    }
    void DiscardInput() override
    {
        if (device)
            device->DiscardPendingInput();
    }
};
