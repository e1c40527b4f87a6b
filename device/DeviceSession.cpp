#include "DeviceSession.h"

#include <algorithm>
#include <chrono>
#include <vector>

class DeviceSession::Port : public DevicePort {
public:
    explicit Port(HidConnection& connection) : connection_(connection) {}
    bool WriteReport(const std::uint8_t* report, std::size_t length, std::string* error) override
    {
        return connection_.Write(report, length, error);
    }
    void DiscardInput() override { connection_.DiscardInput(); }

private:
    HidConnection& connection_;
};

DeviceSession::DeviceSession(HidBackend& backend, int replyTimeoutMs) : backend_(backend), timeoutMs_(replyTimeoutMs) {}

DeviceSession::~DeviceSession() = default;

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
    HidAccess access = HidAccess::Failed;
    std::string error;
    connection_ = backend_.Open(it->path, access, &error);
    if (!connection_) {
        if (access == HidAccess::NoPermission)
            return Fail(Result::NoPermission, "No permission to open the device " + it->path +
                                                  " (see the udev rules in the README)");
        return Fail(Result::DeviceError, "A device error has occurred: " + error);
    }
    port_ = std::make_unique<Port>(*connection_);
    conversation_.Attach(*port_, {it->instance, it->vendorId, it->lengths.input, it->lengths.output});
    return Await(conversation_.BeginFirmwareCheck(overrideText));
}

DeviceSession::Result DeviceSession::Await(DeviceConversation::Outcome outcome)
{
    using Event = DeviceConversation::Event;
    std::vector<std::uint8_t> report;
    while (outcome.event == Event::None && conversation_.Busy()) {
        const int wait = conversation_.DeadlineMs().value_or(timeoutMs_);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait);
        bool answered = false;
        while (!answered) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0) {
                if (!conversation_.DeadlineMs())
                    return Fail(Result::NoAnswer, "The device did not answer");
                outcome = conversation_.OnDeadline();
                break;
            }
            std::string error;
            switch (connection_->Read(report, static_cast<int>(left), &error)) {
            case HidReadStatus::Report:
                // The ID byte first; the conversation takes the payload.
                outcome = conversation_.OnReport(report.data() + (report.empty() ? 0 : 1),
                                                 report.empty() ? 0 : report.size() - 1);
                answered = true;
                break;
            case HidReadStatus::Gone:
            case HidReadStatus::Error:
                conversation_.Detach();
                return Fail(Result::DeviceError,
                            "A device error has occurred: " + (error.empty() ? "the device is gone" : error));
            default:
                break;
            }
        }
    }
    const std::string detail = outcome.detail.empty() ? "" : " (" + outcome.detail + ")";
    switch (outcome.event) {
    case Event::Connected:
    case Event::Downloaded:
    case Event::Uploaded:
        return Fail(Result::Ok, outcome.message);
    case Event::Incompatible:
        return Fail(Result::Incompatible, outcome.message + detail);
    case Event::NotStored:
        return Fail(Result::NotStored, outcome.message + detail);
    case Event::DeviceError:
        return Fail(Result::DeviceError, outcome.message + (outcome.detail.empty() ? "" : ": " + outcome.detail));
    default:
        return Fail(Result::DeviceError, "A device error has occurred");
    }
}

DeviceSession::Result DeviceSession::ReadTheme(ThemeBlock& block)
{
    const Result r = Await(conversation_.BeginDownload());
    if (r == Result::Ok)
        block = conversation_.Block();
    return r;
}

DeviceSession::Result DeviceSession::Upload(const PackedThemeBlock& theme)
{
    return Await(conversation_.BeginUpload(theme));
}
