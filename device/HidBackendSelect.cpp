#include "HidBackend.h"
#if defined(_WIN32)
#include "WindowsHidBackend.h"
#else
#include "LinuxHidBackend.h"
#endif
#include "DeviceProtocol.h"
#include "SimulatedHidBackend.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// The simulator keeps its theme in this file: it has to be a regular file
// that can be written, or a new one in a folder that exists. Checked without
// opening anything that is not a regular file, so a FIFO cannot hang us.
bool UsableSimulatorFile(const std::string& path, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file = fs::u8path(path);
    const fs::file_status status = fs::status(file, ec);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) {
            error = path + ": not a regular file";
            return false;
        }
        // Empty (a new image) or a device's image, never anything else: a
        // file that is neither is not the simulator's to resize.
        const std::uintmax_t size = fs::file_size(file, ec);
        if (ec || (size != 0 && size != lsproto::ThemeBlockSize)) {
            error = path + ": not a simulated device's image (" + std::to_string(lsproto::ThemeBlockSize) + " bytes)";
            return false;
        }
        if (std::FILE* f = std::fopen(path.c_str(), "r+b")) {
            std::fclose(f);
            return true;
        }
        error = path + ": cannot be written";
        return false;
    }
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec)) {
        error = path + ": its folder does not exist";
        return false;
    }
    return true;
}

class EmptyHidBackend : public HidBackend {
public:
    std::vector<HidInterfaceInfo> Enumerate() override { return {}; }
    HidAccess Probe(const std::string&) override { return HidAccess::Gone; }
    std::shared_ptr<HidConnection> Open(const std::string&, HidAccess& access, std::string* error) override
    {
        access = HidAccess::Gone;
        if (error)
            *error = "no such device";
        return nullptr;
    }
    void SetChangeHandler(std::function<void()>) override {}
};

}  // namespace

std::shared_ptr<HidBackend> CreateEmptyHidBackend() { return std::make_shared<EmptyHidBackend>(); }

std::shared_ptr<HidBackend> CreateHidBackend(std::string* error)
{
    std::string reason;
    const auto refuse = [&](const std::string& prefix) -> std::shared_ptr<HidBackend> {
        if (error)
            *error = prefix + reason;
        return nullptr;
    };
    SimulatorModel model;
    const char* simulator = std::getenv("LARKSPUR_HID_SIMULATOR");
    // A model that is misspelt is said, never taken for the real hardware: a
    // test script with a typo must not reach a real device.
    if (simulator && *simulator && !ParseSimulatorModel(simulator, model)) {
        reason = std::string("unknown model '") + simulator + "' (large, small or old)";
        return refuse("LARKSPUR_HID_SIMULATOR: ");
    }
    if (simulator && *simulator) {
        const char* file = std::getenv("LARKSPUR_HID_SIMULATOR_FILE");
        if (file && *file && !UsableSimulatorFile(file, reason))
            return refuse("LARKSPUR_HID_SIMULATOR_FILE: ");
        auto backend = std::make_shared<SimulatedHidBackend>(model, file ? file : "");
        if (const char* faults = std::getenv("LARKSPUR_HID_SIMULATOR_FAULTS"))
            if (!backend->SetFaults(faults, &reason))
                return refuse("LARKSPUR_HID_SIMULATOR_FAULTS: ");
        return backend;
    }
#if defined(_WIN32)
    return std::make_shared<WindowsHidBackend>();
#else
    return std::make_shared<LinuxHidBackend>();
#endif
}
