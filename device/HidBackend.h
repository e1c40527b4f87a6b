#pragma once
// The operating system's side of HID access, behind one interface so the
// controller and lsthtool run the same over every platform's HID services and
// over the simulated device. Each backend hands out reports in one form (the
// ID byte first, then the payload as the device sent it), gives the report
// lengths itself, and reports changes through a handler, not a descriptor.

#include "ReportDescriptor.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Whether an interface can be opened for reading and writing, and if not, why.
enum class HidAccess { ReadWrite, NoPermission, Gone, Failed };

const char* HidAccessText(HidAccess access);

// One HID interface as enumeration finds it.
struct HidInterfaceInfo {
    std::string instance;       // differs for every appearance of an interface
    std::string path;           // what Open takes, e.g. /dev/hidraw3
    std::string name;
    bool identified = false;    // vendor and product IDs are known
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
    std::vector<std::uint8_t> reportDescriptor;  // where the platform gives it (Linux); may be empty
    HidReportLengths lengths;                    // counting the ID byte, as HID capabilities do
};

enum class HidReadStatus { Report, Timeout, Interrupted, Gone, Error };

// An open interface. Write and Read may run on different threads at once.
class HidConnection {
public:
    virtual ~HidConnection() = default;
    // Writes the whole report (byte 0 is the report ID, 0 when unnumbered).
    virtual bool Write(const std::uint8_t* data, std::size_t size, std::string* error) = 0;
    // Waits up to timeoutMs for one input report: its ID byte first (0 for a
    // device without numbered reports), then the payload as it came; one of
    // another length than the interface's is the caller's to refuse.
    virtual HidReadStatus Read(std::vector<std::uint8_t>& report, int timeoutMs, std::string* error) = 0;
    // Ends a Read that is waiting, from any thread.
    virtual void Interrupt() = 0;
    // Reads and drops every input report already waiting, without waiting for
    // more; the number dropped.
    virtual int DiscardInput();
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    virtual HidAccess Probe(const std::string& path) = 0;
    virtual std::shared_ptr<HidConnection> Open(const std::string& path, HidAccess& access, std::string* error) = 0;
    // `changed` is called, on any thread, whenever the set of interfaces may
    // have changed; an empty handler ends the calls, and returns only once no
    // call is under way.
    virtual void SetChangeHandler(std::function<void()> changed) = 0;
};

// A report as the transport delivered it, in the one form Read hands out.
std::vector<std::uint8_t> NormalisedReport(const std::uint8_t* raw, std::size_t size, const HidReportLengths& lengths);

// The simulated device when LARKSPUR_HID_SIMULATOR is set, else the
// platform's HID services. Null, and the reason, when the simulator's
// settings cannot be used as they stand (an unknown fault, a file that is
// no regular file or cannot be written).
std::shared_ptr<HidBackend> CreateHidBackend(std::string* error = nullptr);

// No device at all, for a program that goes on without one.
std::shared_ptr<HidBackend> CreateEmptyHidBackend();
