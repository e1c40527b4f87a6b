#pragma once
// HID access on Linux: libudev enumerates the "hidraw" subsystem and watches it;
// hidraw nodes carry the reports. Vendor and product IDs come from the parent
// hid device's uevent (HID_ID), so they are known even when the node itself may
// not be opened by this user.

#include "HidBackend.h"

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
    int MonitorFd() override;
    void DrainMonitor() override;

private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

// A connection over an already open hidraw-like descriptor (a socketpair in
// tests); it takes ownership of fd.
std::shared_ptr<HidConnection> MakeHidrawConnection(int fd);

// errno of a failed open, as an access verdict.
HidAccess AccessFromErrno(int err);
