#pragma once
// HID access on Windows: SetupAPI lists the present HID interfaces, HID.dll
// identifies them (attributes, capabilities), and overlapped file I/O carries
// the reports. Arrivals and removals come as WM_DEVICECHANGE to a message-only
// window on a thread of the backend's own.

#include "HidBackend.h"

#include <map>
#include <mutex>
#include <thread>

class WindowsHidBackend : public HidBackend {
public:
    WindowsHidBackend();
    ~WindowsHidBackend() override;
    std::vector<HidInterfaceInfo> Enumerate() override;
    HidAccess Probe(const std::string& path) override;
    std::shared_ptr<HidConnection> Open(const std::string& path, HidAccess& access, std::string* error) override;
    void SetChangeHandler(std::function<void()> changed) override;

    // Called by the notification window's procedure.
    void NotifyChange();

private:
    void StopWatching();

    std::mutex mutex_;
    std::function<void()> changed_;
    std::thread watcher_;
    void* window_ = nullptr;  // HWND of the message-only window
    // Windows keeps an interface's instance ID across re-plugs: each new
    // appearance of a path gets a mark of its own, as Linux's syspath has.
    std::map<std::string, unsigned> appearance_;
    std::map<std::string, bool> present_;
    unsigned nextAppearance_ = 1;
    std::map<std::string, HidReportLengths> lengths_;
};
