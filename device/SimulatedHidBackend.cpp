#include "SimulatedHidBackend.h"

#include <algorithm>
#include <condition_variable>
#include <fstream>
#include <mutex>

namespace {

constexpr const char* SimulatorPath = "simulated:larkspur-0";

}  // namespace

struct SimulatedHidBackend::State {
    explicit State(SimulatorModel model) : device(model) {}

    std::mutex mutex;
    std::condition_variable changed;
    SimulatedDevice device;  // its replies are the input reports waiting to be read
    bool plugged = true;
    int appearance = 0;
    bool permissionDenied = false;
    bool failWrites = false;
    int vanishAfterReports = -1;
    int vanishAfterWrites = -1;
    std::vector<std::vector<std::uint8_t>> written;
    std::string themeFile;
    std::function<void()> onChange;
    HidReportLengths lengths;

    std::string Instance() const { return "simulated-" + std::to_string(appearance); }
    // Under the mutex, so a handler being removed is never called afterwards.
    void Notify()
    {
        if (onChange)
            onChange();
        changed.notify_all();
    }
    void UnplugLocked()
    {
        plugged = false;
        device.Replies().clear();
        Notify();
    }
    void SaveTheme() const
    {
        if (themeFile.empty())
            return;
        std::ofstream out(themeFile, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(device.Theme().data()), static_cast<std::streamsize>(device.Theme().size()));
    }
};

namespace {

class SimulatedConnection : public HidConnection {
public:
    SimulatedConnection(std::shared_ptr<SimulatedHidBackend::State> state, int appearance)
        : state_(std::move(state)), appearance_(appearance)
    {
    }

    bool Write(const std::uint8_t* data, std::size_t size, std::string* error) override
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (!Present()) {
            if (error)
                *error = "the device is gone";
            return false;
        }
        if (state_->failWrites) {
            if (error)
                *error = "write failed (simulated fault)";
            return false;
        }
        state_->written.emplace_back(data, data + size);
        if (state_->device.Receive(data, size))
            state_->SaveTheme();
        state_->changed.notify_all();
        if (state_->vanishAfterWrites > 0 && --state_->vanishAfterWrites == 0)
            state_->UnplugLocked();
        return true;
    }

    HidReadStatus Read(std::vector<std::uint8_t>& report, int timeoutMs, std::string*) override
    {
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return interrupted_ || !Present() || !state_->device.Replies().empty(); });
        if (interrupted_) {
            interrupted_ = false;
            return HidReadStatus::Interrupted;
        }
        if (!Present())
            return HidReadStatus::Gone;
        auto& replies = state_->device.Replies();
        if (replies.empty())
            return HidReadStatus::Timeout;
        // As a transport delivers it (no ID byte, unnumbered), then in the one form.
        const std::vector<std::uint8_t> raw = std::move(replies.front());
        replies.pop_front();
        report = NormalisedReport(raw.data(), raw.size(), state_->lengths);
        if (state_->vanishAfterReports > 0 && --state_->vanishAfterReports == 0)
            state_->UnplugLocked();
        return HidReadStatus::Report;
    }

    void Interrupt() override
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        interrupted_ = true;
        state_->changed.notify_all();
    }

private:
    bool Present() const { return state_->plugged && state_->appearance == appearance_; }

    std::shared_ptr<SimulatedHidBackend::State> state_;
    int appearance_;
    bool interrupted_ = false;
};

}  // namespace

std::array<std::uint8_t, lsproto::ThemeBlockSize> SimulatedHidBackend::FactoryThemeBlock()
{
    return SimulatedDevice::FactoryThemeBlock();
}

SimulatedHidBackend::SimulatedHidBackend(SimulatorModel model, std::string themeFile, bool plugged)
    : state_(std::make_shared<State>(model))
{
    State& s = *state_;
    s.plugged = plugged;
    const std::vector<std::uint8_t>& descriptor = SimulatedDevice::ReportDescriptor();
    ParseReportDescriptor(descriptor.data(), descriptor.size(), s.lengths);
    s.themeFile = std::move(themeFile);
    if (!s.themeFile.empty()) {
        std::ifstream in(s.themeFile, std::ios::binary);
        SimulatedDevice::Block stored{};
        if (in.read(reinterpret_cast<char*>(stored.data()), stored.size()))
            s.device.SetTheme(stored);
        else if (in.gcount() == 0)
            s.SaveTheme();  // missing or empty: start from the factory content
        else
            s.themeFile.clear();  // not an image of ours: never written over
    }
}

SimulatedHidBackend::~SimulatedHidBackend() = default;

void SimulatedHidBackend::Plug()
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->plugged = true;
    ++state_->appearance;
    state_->device.Reset();
    state_->Notify();
}

void SimulatedHidBackend::Unplug()
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->UnplugLocked();
}

#define LOCKED_SET(field, value)                        \
    do {                                                \
        std::lock_guard<std::mutex> lock(state_->mutex); \
        state_->field = value;                          \
    } while (0)

void SimulatedHidBackend::SetPermissionDenied(bool denied) { LOCKED_SET(permissionDenied, denied); }
void SimulatedHidBackend::SetFailWrites(bool fail) { LOCKED_SET(failWrites, fail); }
#define LOCKED_CALL(call)                               \
    do {                                                \
        std::lock_guard<std::mutex> lock(state_->mutex); \
        state_->device.call;                            \
    } while (0)

void SimulatedHidBackend::SetSilent(bool silent) { LOCKED_CALL(SetSilent(silent)); }
void SimulatedHidBackend::SetReplyPayloadSize(std::size_t bytes) { LOCKED_CALL(SetReplyPayloadSize(bytes)); }
void SimulatedHidBackend::SetForgetWrites(bool forget) { LOCKED_CALL(SetForgetWrites(forget)); }
void SimulatedHidBackend::SetStaleReports(bool stale) { LOCKED_CALL(SetStaleReports(stale)); }

bool SimulatedHidBackend::SetFaults(const std::string& list, std::string* error)
{
    const auto fail = [error](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    static const char* const Known = "silent, fail-writes, forget-writes, stale-report, permission-denied, "
                                     "reply-size=N, vanish-after-writes=N";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string fault = list.substr(start, comma - start);
        start = comma + 1;
        if (fault.empty())
            continue;
        const std::size_t eq = fault.find('=');
        const std::string name = fault.substr(0, eq);
        // The faults with a number, and the numbers that make sense for them.
        const bool replySize = name == "reply-size", vanish = name == "vanish-after-writes";
        if (replySize || vanish) {
            const long most = replySize ? 4096 : 1000000;
            const std::string digits = eq == std::string::npos ? "" : fault.substr(eq + 1);
            const bool whole = !digits.empty() && digits.size() <= 9 && digits.find_first_not_of("0123456789") == std::string::npos;
            const long number = whole ? std::stol(digits) : 0;
            if (number < 1 || number > most)
                return fail("'" + fault + "' needs a whole number from 1 to " + std::to_string(most));
            if (replySize)
                SetReplyPayloadSize(static_cast<std::size_t>(number));
            else
                VanishAfterWrites(static_cast<int>(number));
            continue;
        }
        if (eq != std::string::npos)
            return fail("unknown fault '" + fault + "' (known: " + Known + ")");
        if (name == "silent")
            SetSilent(true);
        else if (name == "fail-writes")
            SetFailWrites(true);
        else if (name == "forget-writes")
            SetForgetWrites(true);
        else if (name == "stale-report")
            SetStaleReports(true);
        else if (name == "permission-denied")
            SetPermissionDenied(true);
        else
            return fail("unknown fault '" + fault + "' (known: " + Known + ")");
    }
    return true;
}

void SimulatedHidBackend::VanishAfterReports(int reports) { LOCKED_SET(vanishAfterReports, reports); }
void SimulatedHidBackend::VanishAfterWrites(int writes) { LOCKED_SET(vanishAfterWrites, writes); }
void SimulatedHidBackend::SetDataflashByte(std::size_t offset, std::uint8_t value) { LOCKED_CALL(SetDataflashByte(offset, value)); }

void SimulatedHidBackend::InjectReport(const std::vector<std::uint8_t>& report)
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->device.Replies().push_back(report);
    state_->changed.notify_all();
}

std::array<std::uint8_t, lsproto::ThemeBlockSize> SimulatedHidBackend::ThemeBlock() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->device.Theme();
}

std::vector<std::vector<std::uint8_t>> SimulatedHidBackend::WrittenReports() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->written;
}

std::vector<HidInterfaceInfo> SimulatedHidBackend::Enumerate()
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (!state_->plugged)
        return {};
    HidInterfaceInfo info;
    info.instance = state_->Instance();
    info.path = SimulatorPath;
    info.name = "Larkspur simulated device";
    info.identified = true;
    info.vendorId = SimulatedDevice::VendorId;
    info.productId = SimulatedDevice::ProductId;
    info.versionNumber = 0x0100;
    info.reportDescriptor = SimulatedDevice::ReportDescriptor();
    info.lengths = state_->lengths;
    return {info};
}

HidAccess SimulatedHidBackend::Probe(const std::string& path)
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (!state_->plugged || path != SimulatorPath)
        return HidAccess::Gone;
    return state_->permissionDenied ? HidAccess::NoPermission : HidAccess::ReadWrite;
}

std::shared_ptr<HidConnection> SimulatedHidBackend::Open(const std::string& path, HidAccess& access,
                                                         std::string* error)
{
    access = Probe(path);
    if (access != HidAccess::ReadWrite) {
        if (error)
            *error = path + ": " + HidAccessText(access);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(state_->mutex);
    return std::make_shared<SimulatedConnection>(state_, state_->appearance);
}

void SimulatedHidBackend::SetChangeHandler(std::function<void()> changed)
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->onChange = std::move(changed);
}
