#pragma once
// The operating system's side of HID access, behind one interface so the
// controller runs the same over udev/hidraw and over the simulated device.

#include <cstdint>
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
    std::vector<std::uint8_t> reportDescriptor;
};

enum class HidReadStatus { Report, Timeout, Interrupted, Gone, Error };

// An open interface. Write and Read may run on different threads at once.
class HidConnection {
public:
    virtual ~HidConnection() = default;
    // Writes the whole report (byte 0 is the report ID, 0 when unnumbered).
    virtual bool Write(const std::uint8_t* data, std::size_t size, std::string* error) = 0;
    // Waits up to timeoutMs for one input report, as the transport delivers it
    // (unnumbered reports come without an ID byte).
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
    // A descriptor that turns readable when the set of interfaces may have
    // changed, or -1 when changes are not reported.
    virtual int MonitorFd() = 0;
    virtual void DrainMonitor() = 0;
};

// The simulated device when LARKSPUR_HID_SIMULATOR is set, else udev/hidraw.
std::shared_ptr<HidBackend> CreateHidBackend();
