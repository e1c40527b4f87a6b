#pragma once
// A simulated device, so the editor can be tried and tested without hardware:
// the SimulatedDevice behind a transport of threads and waits, as a real
// device is behind hidraw. The theme block can live in a file so it survives
// between runs.
//
// Tests use the same object to plug and unplug the device and to inject
// faults, those of the transport (failed writes, refused access, a device
// that vanishes) and those of the device.

#include "HidBackend.h"
#include "SimulatedDevice.h"

#include <array>
#include <memory>
#include <string>

class SimulatedHidBackend : public HidBackend {
public:
    explicit SimulatedHidBackend(SimulatorModel model, std::string themeFile = {}, bool plugged = true);
    ~SimulatedHidBackend() override;

    // Controls, callable from any thread.
    void Plug();    // a new appearance of the device (a new instance)
    void Unplug();
    void SetPermissionDenied(bool denied);
    void SetFailWrites(bool fail);
    void SetSilent(bool silent);  // takes commands but never answers
    void SetReplyPayloadSize(std::size_t bytes);  // 64 normally; shorter or longer to misbehave
    void VanishAfterReports(int reports);         // unplug once this many more reports went out; -1 never
    void VanishAfterWrites(int writes);           // unplug once this many more reports came in; -1 never
    void InjectReport(const std::vector<std::uint8_t>& report);
    void SetForgetWrites(bool forget);  // accepts theme writes and stores nothing
    void SetStaleReports(bool stale);   // leaves one more report queued after every reply
    // A comma-separated list, as LARKSPUR_HID_SIMULATOR_FAULTS takes it: silent,
    // fail-writes, forget-writes, stale-report, permission-denied, reply-size=N,
    // vanish-after-writes=N. False and the reason for anything else.
    bool SetFaults(const std::string& list, std::string* error);
    void SetDataflashByte(std::size_t offset, std::uint8_t value);

    std::array<std::uint8_t, lsproto::ThemeBlockSize> ThemeBlock() const;
    std::vector<std::vector<std::uint8_t>> WrittenReports() const;

    static std::array<std::uint8_t, lsproto::ThemeBlockSize> FactoryThemeBlock();

    // HidBackend
    std::vector<HidInterfaceInfo> Enumerate() override;
    HidAccess Probe(const std::string& path) override;
    std::shared_ptr<HidConnection> Open(const std::string& path, HidAccess& access, std::string* error) override;
    void SetChangeHandler(std::function<void()> changed) override;

    struct State;

private:
    std::shared_ptr<State> state_;
};
