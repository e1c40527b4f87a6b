#pragma once
// The HID access layer: THidDeviceController keeps the list of HID interfaces
// present, notices arrivals and removals, offers each device through an
// enumeration pass, lets the application claim one, reads a claimed device's
// input reports on a thread of its own and hands them to the GUI thread, and
// writes output reports.
//
// Everything but the readers runs on the thread that owns the controller (the
// GUI thread). A reader hands each report over with a call that waits until the
// handler has returned; stopping a reader cancels a hand-over it is waiting on,
// so the GUI thread never deadlocks on it.

#include "HidBackend.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class QTimer;
class THidDevice;
class THidDeviceController;

// Raised when an interface cannot be opened or identified.
class EControllerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The plug-and-play description of one interface.
class THidPnPInfo {
public:
    explicit THidPnPInfo(HidInterfaceInfo info) : info_(std::move(info)) {}
    const std::string& DeviceInstance() const { return info_.instance; }
    const std::string& DevicePath() const { return info_.path; }
    const std::string& Description() const { return info_.name; }
    const HidInterfaceInfo& Info() const { return info_; }

private:
    HidInterfaceInfo info_;
};

struct THidAttributes {
    std::uint16_t VendorID = 0;
    std::uint16_t ProductID = 0;
    std::uint16_t VersionNumber = 0;
};

struct THidCaps {
    std::uint16_t InputReportByteLength = 0;
    std::uint16_t OutputReportByteLength = 0;
    std::uint16_t FeatureReportByteLength = 0;
};

using THidPlugEvent = std::function<void(THidDevice& HidDev)>;
using THidEnumerateEvent = std::function<bool(THidDevice& HidDev, int Idx)>;
using THidDataEvent = std::function<void(THidDevice& HidDev, std::uint8_t ReportID, const std::uint8_t* Data,
                                         std::uint16_t Size)>;
using THidDataErrorEvent = std::function<void(THidDevice& HidDev, std::uint32_t Error)>;
using THidDeviceCreateError =
    std::function<void(THidDeviceController& Controller, const THidPnPInfo& PnPInfo, bool& Handled, bool& RetryCreate)>;

class THidDeviceReadThread;

class THidDevice {
public:
    THidDevice(THidDeviceController& controller, std::unique_ptr<THidPnPInfo> pnpInfo);
    ~THidDevice();
    THidDevice(const THidDevice&) = delete;
    THidDevice& operator=(const THidDevice&) = delete;

    bool Claim();
    bool Release();
    // False when the device is not accessible or the write fails (error says why).
    bool WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t& written, std::string* error = nullptr);

    const THidAttributes& Attributes() const { return attributes_; }
    THidCaps Caps();
    bool IsPluggedIn() const { return pluggedIn_; }
    bool IsClaimed() const { return claimed_; }
    bool IsEnumerating() const { return enumerating_; }
    bool HasReadWriteAccess() const { return access_ == HidAccess::ReadWrite; }
    // Why the device could not be opened for reading and writing at creation.
    HidAccess Access() const { return access_; }
    bool HasReader() const { return reader_ != nullptr; }
    const THidPnPInfo& PnPInfo() const { return *pnpInfo_; }
    THidDeviceController* Controller() const { return controller_; }
    bool NumberedReports();
    // Drops every input report that is waiting, read or not yet read, so the
    // reply to the command written next is not mixed with an earlier one's.
    void DiscardPendingInput();

    int DevPollingDelayTime() const { return pollingDelay_; }
    int DevThreadSleepTime() const { return sleepTime_; }
    // 0..10000 ms and 10..10000 ms; other values are ignored.
    void SetDevPollingDelayTime(int ms);
    void SetDevThreadSleepTime(int ms);

    // A data handler on a claimed device starts its reader; removing it stops it.
    void SetOnData(THidDataEvent handler);
    const THidDataEvent& OnData() const { return onData_; }
    THidPlugEvent OnUnplug;
    THidDataErrorEvent OnDataError;

private:
    friend class THidDeviceController;
    friend class THidDeviceReadThread;

    bool Accessible() const { return pluggedIn_ && (claimed_ || enumerating_); }
    bool EnsureConnection(std::string* error);
    void CloseHandles();
    void Unplug();
    void StartReader();
    void StopReader();
    void Deliver(const std::vector<std::uint8_t>& report);

    THidDeviceController* controller_;
    std::unique_ptr<THidPnPInfo> pnpInfo_;
    THidAttributes attributes_;
    HidAccess access_ = HidAccess::Failed;
    bool pluggedIn_ = true;
    bool claimed_ = false;
    bool enumerating_ = false;
    std::atomic<int> pollingDelay_{0};
    std::atomic<int> sleepTime_{100};
    // Counts discards; a report read before the last one is not delivered.
    std::atomic<std::uint64_t> inputEpoch_{0};
    THidDataEvent onData_;
    // Whether the handlers are still the controller's own, so that changing the
    // controller's handler reaches this device too.
    bool dataFollowsController_ = true;
    bool unplugFollowsController_ = true;
    std::shared_ptr<HidConnection> connection_;
    std::unique_ptr<THidDeviceReadThread> reader_;
};

class THidDeviceReadThread {
public:
    THidDeviceReadThread(THidDevice& device, std::shared_ptr<HidConnection> connection);
    ~THidDeviceReadThread();  // stops and joins
    void Stop();

private:
    struct Handover;
    void Run();
    bool WaitFor(int ms);  // false when a stop came first

    THidDevice& device_;
    std::shared_ptr<HidConnection> connection_;
    QObject* context_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<Handover> pending_;
    std::thread thread_;
};

class THidDeviceController : public QObject {
public:
    explicit THidDeviceController(std::shared_ptr<HidBackend> backend, QObject* parent = nullptr);
    ~THidDeviceController() override;

    // Offers every plugged-in device to OnEnumerate in list order; returns how many.
    int Enumerate();
    // The rescan, run on every change notice and once after start-up.
    void DeviceChange();

    int DevPollingDelayTime() const { return pollingDelay_; }
    int DevThreadSleepTime() const { return sleepTime_; }
    void SetDevPollingDelayTime(int ms);
    void SetDevThreadSleepTime(int ms);
    void SetOnDeviceData(THidDataEvent handler);
    void SetOnDeviceUnplug(THidPlugEvent handler);
    void SetOnDeviceDataError(THidDataErrorEvent handler);
    const THidDataEvent& OnDeviceData() const { return onDeviceData_; }
    std::string Version() const { return "1.0"; }

    const std::vector<std::unique_ptr<THidDevice>>& Devices() const { return devices_; }
    HidBackend& Backend() { return *backend_; }
    int ClaimedCount() const { return claimed_; }
    int UnclaimedCount() const { return unclaimed_; }
    int UnpluggedCount() const { return unplugged_; }

    THidPlugEvent OnArrival;
    THidPlugEvent OnRemoval;
    THidEnumerateEvent OnEnumerate;
    std::function<void(THidDeviceController& Sender)> OnDeviceChange;
    THidDeviceCreateError OnDeviceCreateError;

private:
    friend class THidDevice;
    void MonitorActivated();
    std::unique_ptr<THidDevice> CreateDevice(const HidInterfaceInfo& info);
    void Recount();

    std::shared_ptr<HidBackend> backend_;
    std::vector<std::unique_ptr<THidDevice>> devices_;
    QTimer* settle_ = nullptr;
    bool rescanning_ = false;
    bool destroying_ = false;
    long lastParam_ = 0;
    int pollingDelay_ = 0;
    int sleepTime_ = 100;
    THidDataEvent onDeviceData_;
    THidPlugEvent onDeviceUnplug_;
    THidDataErrorEvent onDeviceDataError_;
    int claimed_ = 0;
    int unclaimed_ = 0;
    int unplugged_ = 0;
};
