#include "SimulatedHidBackend.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <fstream>
#include <mutex>

namespace {

// Vendor page, one application collection: 64-byte input and output, no IDs.
const std::vector<std::uint8_t> SimulatorDescriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
    0x40, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0,
};

constexpr const char* SimulatorPath = "simulated:larkspur-0";

}  // namespace

struct SimulatedHidBackend::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool plugged = true;
    int appearance = 0;
    bool permissionDenied = false;
    bool failWrites = false;
    bool silent = false;
    bool forgetWrites = false;
    bool staleReports = false;
    std::size_t payloadSize = lsproto::PayloadSize;
    int vanishAfterReports = -1;
    int vanishAfterWrites = -1;
    int themeDataReportsDue = 0;
    std::deque<std::vector<std::uint8_t>> inbox;  // input reports waiting to be read
    std::vector<std::vector<std::uint8_t>> written;
    std::array<std::uint8_t, lsproto::DataflashSize> dataflash{};
    std::array<std::uint8_t, lsproto::ThemeBlockSize> theme{};
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
        inbox.clear();
        Notify();
    }
    void QueueReply(const std::uint8_t* bytes, std::size_t size)
    {
        for (std::size_t at = 0; at < size; at += lsproto::PayloadSize) {
            std::vector<std::uint8_t> report(payloadSize, 0);
            std::memcpy(report.data(), bytes + at, std::min(payloadSize, std::min(lsproto::PayloadSize, size - at)));
            inbox.push_back(std::move(report));
        }
        if (staleReports)
            inbox.emplace_back(payloadSize, 0xEE);
        changed.notify_all();
    }
    void SaveTheme() const
    {
        if (themeFile.empty())
            return;
        std::ofstream out(themeFile, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(theme.data()), static_cast<std::streamsize>(theme.size()));
    }
    // What the device does with one output report.
    void Receive(const std::uint8_t* report, std::size_t size)
    {
        if (size < 1 + lsproto::PayloadSize)
            return;
        const std::uint8_t* payload = report + 1;
        if (themeDataReportsDue > 0) {
            const std::size_t offset = (2 - static_cast<std::size_t>(themeDataReportsDue)) * lsproto::PayloadSize;
            if (!forgetWrites)
                std::memcpy(theme.data() + offset, payload, lsproto::PayloadSize);
            if (--themeDataReportsDue == 0 && !forgetWrites)
                SaveTheme();
            return;
        }
        auto u32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(payload[at] | payload[at + 1] << 8 | payload[at + 2] << 16 |
                                              static_cast<std::uint32_t>(payload[at + 3]) << 24);
        };
        const auto expected = lsproto::BuildCommandBlock(payload[0], u32(2), u32(6), 0x0416);
        if (std::memcmp(expected.data(), payload, expected.size()) != 0)
            return;  // not a command this device understands
        switch (payload[0]) {
        case lsproto::CmdDataflashRead: QueueReply(dataflash.data(), dataflash.size()); break;
        case lsproto::CmdThemeRead: QueueReply(theme.data(), theme.size()); break;
        case lsproto::CmdThemeWrite: themeDataReportsDue = 2; break;
        default: break;
        }
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
        if (!state_->silent)
            state_->Receive(data, size);
        if (state_->vanishAfterWrites > 0 && --state_->vanishAfterWrites == 0)
            state_->UnplugLocked();
        return true;
    }

    HidReadStatus Read(std::vector<std::uint8_t>& report, int timeoutMs, std::string*) override
    {
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return interrupted_ || !Present() || !state_->inbox.empty(); });
        if (interrupted_) {
            interrupted_ = false;
            return HidReadStatus::Interrupted;
        }
        if (!Present())
            return HidReadStatus::Gone;
        if (state_->inbox.empty())
            return HidReadStatus::Timeout;
        // As a transport delivers it (no ID byte, unnumbered), then in the one form.
        const std::vector<std::uint8_t> raw = std::move(state_->inbox.front());
        state_->inbox.pop_front();
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

std::array<std::uint8_t, lsproto::ThemeBlockSize> SimulatedHidBackend::FactoryThemeBlock()
{
    std::array<std::uint8_t, lsproto::ThemeBlockSize> block{};
    for (std::size_t i = 0; i < 42; ++i) {
        const std::uint32_t word = static_cast<std::uint32_t>(i * 1561) % 65536;
        block[2 * i] = static_cast<std::uint8_t>(word & 0xFF);
        block[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    for (std::size_t k = lsproto::PackedThemeSize; k < block.size(); ++k)
        block[k] = static_cast<std::uint8_t>(k);
    return block;
}

SimulatedHidBackend::SimulatedHidBackend(SimulatorModel model, std::string themeFile, bool plugged)
    : state_(std::make_shared<State>())
{
    State& s = *state_;
    s.plugged = plugged;
    ParseReportDescriptor(SimulatorDescriptor.data(), SimulatorDescriptor.size(), s.lengths);
    s.dataflash[12] = model == SimulatorModel::Large ? lsproto::LargeDisplayType : 0x00;
    std::memcpy(&s.dataflash[316], "SIMS", 4);
    const std::uint8_t stamp[3] = {static_cast<std::uint8_t>(model == SimulatorModel::Old ? 19 : 20),
                                   static_cast<std::uint8_t>(model == SimulatorModel::Old ? 2 : 1),
                                   static_cast<std::uint8_t>(model == SimulatorModel::Old ? 24 : 1)};
    std::memcpy(&s.dataflash[516], stamp, 3);
    s.theme = FactoryThemeBlock();
    s.themeFile = std::move(themeFile);
    if (!s.themeFile.empty()) {
        std::ifstream in(s.themeFile, std::ios::binary);
        std::array<std::uint8_t, lsproto::ThemeBlockSize> stored{};
        if (in.read(reinterpret_cast<char*>(stored.data()), stored.size()))
            s.theme = stored;
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
    state_->inbox.clear();
    state_->themeDataReportsDue = 0;
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
void SimulatedHidBackend::SetSilent(bool silent) { LOCKED_SET(silent, silent); }
void SimulatedHidBackend::SetReplyPayloadSize(std::size_t bytes) { LOCKED_SET(payloadSize, bytes); }
void SimulatedHidBackend::SetForgetWrites(bool forget) { LOCKED_SET(forgetWrites, forget); }
void SimulatedHidBackend::SetStaleReports(bool stale) { LOCKED_SET(staleReports, stale); }

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
void SimulatedHidBackend::SetDataflashByte(std::size_t offset, std::uint8_t value) { LOCKED_SET(dataflash[offset], value); }

void SimulatedHidBackend::InjectReport(const std::vector<std::uint8_t>& report)
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->inbox.push_back(report);
    state_->changed.notify_all();
}

std::array<std::uint8_t, lsproto::ThemeBlockSize> SimulatedHidBackend::ThemeBlock() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->theme;
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
    info.vendorId = 0x0416;
    info.productId = 0x5020;
    info.versionNumber = 0x0100;
    info.reportDescriptor = SimulatorDescriptor;
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
