#pragma once
// HID access on Linux: libudev enumerates the "hidraw" subsystem and watches it;
// hidraw nodes carry the reports. Vendor and product IDs come from the parent
// hid device's uevent (HID_ID), so they are known even when the node itself may
// not be opened by this user.

#include "HidBackend.h"

#include <map>
#include <mutex>
#include <thread>

struct udev;
struct udev_monitor;

class LinuxHidBackend : public HidBackend {
public:
    // Where change events come from. Automatic: udevd's events when udevd runs
    // (they arrive after its rules set permissions), else the kernel's own.
    enum class MonitorSource { Automatic, Udev, Kernel };
    explicit LinuxHidBackend(MonitorSource source = MonitorSource::Automatic);
    ~LinuxHidBackend() override;
    std::vector<HidInterfaceInfo> Enumerate() override;
    HidAccess Probe(const std::string& path) override;
    std::shared_ptr<HidConnection> Open(const std::string& path, HidAccess& access, std::string* error) override;
    void SetChangeHandler(std::function<void()> changed) override;
    // Whether changes can be watched at all (no netlink socket in some sandboxes).
    bool HasMonitor() const { return monitor_ != nullptr; }

private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::thread watcher_;
    int stopWatching_ = -1;
    // Report lengths by node, from the last enumeration, for Open.
    std::mutex mutex_;
    std::map<std::string, HidReportLengths> lengths_;
};

// A connection over an already open hidraw-like descriptor (a socketpair in
// tests); it takes ownership of fd. Reads come normalised for `lengths`.
std::shared_ptr<HidConnection> MakeHidrawConnection(int fd, const HidReportLengths& lengths = {});

// errno of a failed open, as an access verdict.
HidAccess AccessFromErrno(int err);
