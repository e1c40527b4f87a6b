#include "HidControllerClass.h"

#include <QMetaObject>
#include <QTimer>

#include <algorithm>

// ---- THidDevice ------------------------------------------------------------------

THidDevice::THidDevice(THidDeviceController& controller, std::unique_ptr<THidPnPInfo> pnpInfo)
    : controller_(&controller), pnpInfo_(std::move(pnpInfo))
{
    pollingDelay_ = controller.DevPollingDelayTime();
    sleepTime_ = controller.DevThreadSleepTime();
    onData_ = controller.OnDeviceData();
    OnUnplug = controller.onDeviceUnplug_;
    const HidInterfaceInfo& info = pnpInfo_->Info();
    // Identity comes from the kernel without opening the node, so a device this
    // user may not open is still listed, with read/write access noted as missing.
    access_ = controller.Backend().Probe(info.path);
    if (access_ == HidAccess::Gone)
        throw EControllerError("Device cannot be opened");
    if (!info.identified)
        throw EControllerError("Device cannot be identified");
    attributes_ = {info.vendorId, info.productId, info.versionNumber};
}

THidDevice::~THidDevice()
{
    StopReader();
    CloseHandles();
}

bool THidDevice::Claim()
{
    if (!controller_ || !pluggedIn_ || claimed_)
        return false;
    claimed_ = true;
    controller_->Recount();
    if (onData_ && pluggedIn_ && claimed_ && HasReadWriteAccess() && !reader_)
        StartReader();
    return true;
}

bool THidDevice::Release()
{
    if (!claimed_)
        return false;
    StopReader();
    claimed_ = false;
    if (!enumerating_)
        CloseHandles();
    if (controller_)
        controller_->Recount();
    return true;
}

void THidDevice::SetOnData(THidDataEvent handler)
{
    onData_ = std::move(handler);
    dataFollowsController_ = false;
    if (!onData_)
        StopReader();
    else if (claimed_ && pluggedIn_ && HasReadWriteAccess() && !reader_)
        StartReader();
}

void THidDevice::SetDevPollingDelayTime(int ms)
{
    if (ms >= 0 && ms <= 10000)
        pollingDelay_ = ms;
}

void THidDevice::SetDevThreadSleepTime(int ms)
{
    if (ms >= 10 && ms <= 10000)
        sleepTime_ = ms;
}

bool THidDevice::EnsureConnection(std::string* error)
{
    if (connection_)
        return true;
    HidAccess access = HidAccess::Failed;
    connection_ = controller_ ? controller_->Backend().Open(pnpInfo_->DevicePath(), access, error) : nullptr;
    return connection_ != nullptr;
}

bool THidDevice::WriteReport(const std::uint8_t* buffer, std::size_t length, std::size_t& written, std::string* error)
{
    written = 0;
    if (!Accessible()) {
        if (error)
            *error = pluggedIn_ ? "the device is not claimed" : "the device is gone";
        return false;
    }
    if (!EnsureConnection(error))
        return false;
    if (!connection_->Write(buffer, length, error))
        return false;
    written = length;
    return true;
}

THidCaps THidDevice::Caps()
{
    // The backend knows them (from the descriptor, or the platform's capabilities).
    const HidReportLengths& lengths = pnpInfo_->Info().lengths;
    return {lengths.input, lengths.output, lengths.feature};
}

bool THidDevice::NumberedReports()
{
    return pnpInfo_->Info().lengths.numbered;
}

void THidDevice::DiscardPendingInput()
{
    // First what waits in the transport, then what the reader holds already:
    // the reader stamps each report as it reads it.
    if (connection_)
        connection_->DiscardInput();
    ++inputEpoch_;
}

void THidDevice::CloseHandles()
{
    StopReader();
    connection_.reset();
}

void THidDevice::Unplug()
{
    CloseHandles();
    pluggedIn_ = false;
    THidPlugEvent handler = std::move(OnUnplug);
    OnUnplug = nullptr;
    if (handler)
        handler(*this);
}

void THidDevice::StartReader()
{
    std::string error;
    if (!EnsureConnection(&error)) {
        if (OnDataError)
            OnDataError(*this, 1);
        return;
    }
    reader_ = std::make_unique<THidDeviceReadThread>(*this, connection_);
}

void THidDevice::StopReader() { reader_.reset(); }

void THidDevice::Deliver(const std::vector<std::uint8_t>& report)
{
    if (onData_ && !report.empty())
        onData_(*this, report[0], report.data() + 1, static_cast<std::uint16_t>(report.size() - 1));
}

// ---- THidDeviceReadThread -------------------------------------------------------

// One report on its way to the GUI thread. The reader waits until it was
// handled, or until a stop cancels it.
struct THidDeviceReadThread::Handover {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    bool cancelled = false;
};

THidDeviceReadThread::THidDeviceReadThread(THidDevice& device, std::shared_ptr<HidConnection> connection)
    : device_(device), connection_(std::move(connection)), context_(device.Controller())
{
    thread_ = std::thread(&THidDeviceReadThread::Run, this);
}

THidDeviceReadThread::~THidDeviceReadThread() { Stop(); }

void THidDeviceReadThread::Stop()
{
    stop_ = true;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (pending_) {
            std::lock_guard<std::mutex> handoverLock(pending_->mutex);
            pending_->cancelled = true;
            pending_->cv.notify_all();
        }
    }
    wake_.notify_all();
    connection_->Interrupt();
    if (thread_.joinable())
        thread_.join();
}

bool THidDeviceReadThread::WaitFor(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stop_.load(); });
}

void THidDeviceReadThread::Run()
{
    std::vector<std::uint8_t> raw;
    while (!stop_) {
        std::string error;
        const int slice = device_.sleepTime_;
        switch (connection_->Read(raw, slice, &error)) {
        case HidReadStatus::Timeout:
        case HidReadStatus::Interrupted:
            continue;
        case HidReadStatus::Gone:
            return;  // the device went away: it delivers nothing more
        case HidReadStatus::Error: {
            THidDevice* device = &device_;
            QMetaObject::invokeMethod(context_, [device] {
                if (device->OnDataError)
                    device->OnDataError(*device, 2);
            }, Qt::QueuedConnection);
            WaitFor(slice);
            continue;
        }
        case HidReadStatus::Report:
            break;
        }
        const std::uint64_t epoch = device_.inputEpoch_.load();

        // Backends deliver the ID byte first, then the payload as it came.
        std::vector<std::uint8_t> report = std::move(raw);

        auto handover = std::make_shared<Handover>();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_)
                return;
            pending_ = handover;
        }
        THidDevice* device = &device_;
        QMetaObject::invokeMethod(context_, [handover, device, epoch, report = std::move(report)] {
            {
                std::lock_guard<std::mutex> lock(handover->mutex);
                if (handover->cancelled)
                    return;
            }
            if (epoch == device->inputEpoch_.load())
                device->Deliver(report);
            std::lock_guard<std::mutex> lock(handover->mutex);
            handover->done = true;
            handover->cv.notify_all();
        }, Qt::QueuedConnection);
        {
            std::unique_lock<std::mutex> lock(handover->mutex);
            handover->cv.wait(lock, [&] { return handover->done || handover->cancelled; });
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_.reset();
        }
        const int delay = device_.pollingDelay_;
        if (delay > 0)
            WaitFor(delay);
    }
}

// ---- THidDeviceController -------------------------------------------------------

THidDeviceController::THidDeviceController(std::shared_ptr<HidBackend> backend, QObject* parent)
    : QObject(parent), backend_(std::move(backend))
{
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    // Several interfaces of one device arrive in a burst: one rescan for all.
    settle_->setInterval(50);
    connect(settle_, &QTimer::timeout, this, [this] {
        lastParam_ = 0;
        DeviceChange();
    });
    // The backend tells of changes on a thread of its own; they are handled here.
    backend_->SetChangeHandler([this] { QMetaObject::invokeMethod(this, [this] { MonitorActivated(); }, Qt::QueuedConnection); });
    // The start-up notice: handled once the event loop runs, after the window is up.
    QMetaObject::invokeMethod(this, [this] {
        lastParam_ = -1;
        DeviceChange();
    }, Qt::QueuedConnection);
}

THidDeviceController::~THidDeviceController()
{
    destroying_ = true;
    OnDeviceChange = nullptr;
    OnEnumerate = nullptr;
    SetOnDeviceUnplug(nullptr);
    // Returns once no change call is under way: none reaches this object after.
    backend_->SetChangeHandler(nullptr);
    for (auto& device : devices_) {
        if (device->claimed_)
            device->Unplug();
        device->controller_ = nullptr;
        device.reset();
    }
    devices_.clear();
}

void THidDeviceController::MonitorActivated()
{
    if (!destroying_)
        settle_->start();
}

std::unique_ptr<THidDevice> THidDeviceController::CreateDevice(const HidInterfaceInfo& info)
{
    return std::make_unique<THidDevice>(*this, std::make_unique<THidPnPInfo>(info));
}

void THidDeviceController::DeviceChange()
{
    // A notice that comes in while a rescan runs is dropped.
    if (rescanning_ || destroying_)
        return;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(rescanning_);

    bool changed = lastParam_ == -1;
    lastParam_ = 0;

    std::vector<std::unique_ptr<THidDevice>> fresh;
    for (const HidInterfaceInfo& info : backend_->Enumerate()) {
        for (;;) {
            try {
                fresh.push_back(CreateDevice(info));
                break;
            } catch (const EControllerError&) {
                if (!OnDeviceCreateError)
                    throw;
                bool handled = false, retry = false;
                const THidPnPInfo pnp(info);
                OnDeviceCreateError(*this, pnp, handled, retry);
                if (!handled)
                    throw;
                if (!retry)
                    break;
            }
        }
    }

    auto inFresh = [&](const std::string& instance) {
        return std::any_of(fresh.begin(), fresh.end(),
                           [&](const auto& f) { return f->PnPInfo().DeviceInstance() == instance; });
    };
    // Removals, last to first. An unplugged entry never stays, so a claimed device
    // that is gone goes through here at every rescan.
    for (std::size_t i = devices_.size(); i-- > 0;) {
        THidDevice& device = *devices_[i];
        if (device.pluggedIn_ && inFresh(device.PnPInfo().DeviceInstance()))
            continue;
        device.Unplug();
        if (OnRemoval)
            OnRemoval(device);
        if (!device.claimed_)
            devices_.erase(devices_.begin() + static_cast<long>(i));
        changed = true;
    }
    // Duplicates of devices already listed.
    fresh.erase(std::remove_if(fresh.begin(), fresh.end(),
                               [&](const auto& f) {
                                   return std::any_of(devices_.begin(), devices_.end(), [&](const auto& d) {
                                       return d->pluggedIn_ &&
                                              d->PnPInfo().DeviceInstance() == f->PnPInfo().DeviceInstance();
                                   });
                               }),
                fresh.end());
    // Arrivals.
    for (auto& f : fresh) {
        devices_.push_back(std::move(f));
        if (OnArrival)
            OnArrival(*devices_.back());
        changed = true;
    }
    Recount();
    if (changed && OnDeviceChange)
        OnDeviceChange(*this);
}

int THidDeviceController::Enumerate()
{
    int offered = 0;
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        THidDevice& device = *devices_[i];
        if (!device.pluggedIn_)
            continue;
        ++offered;
        device.enumerating_ = true;
        const bool goOn = OnEnumerate ? OnEnumerate(device, static_cast<int>(i)) : true;
        device.enumerating_ = false;
        if (!device.claimed_)
            device.CloseHandles();
        if (!goOn)
            break;
    }
    return offered;
}

void THidDeviceController::Recount()
{
    unclaimed_ = unplugged_ = 0;
    int claimed = 0;
    for (const auto& d : devices_) {
        claimed += d->claimed_ ? 1 : 0;
        unclaimed_ += d->claimed_ ? 0 : 1;
        unplugged_ += d->pluggedIn_ ? 0 : 1;
    }
    claimed_ = claimed - unplugged_;
}

void THidDeviceController::SetDevPollingDelayTime(int ms)
{
    for (auto& d : devices_)
        if (d->pollingDelay_ == pollingDelay_)
            d->SetDevPollingDelayTime(ms);
    pollingDelay_ = ms;
}

void THidDeviceController::SetDevThreadSleepTime(int ms)
{
    for (auto& d : devices_)
        if (d->sleepTime_ == sleepTime_)
            d->SetDevThreadSleepTime(ms);
    sleepTime_ = ms;
}

void THidDeviceController::SetOnDeviceData(THidDataEvent handler)
{
    onDeviceData_ = std::move(handler);
    for (auto& d : devices_)
        if (d->dataFollowsController_) {
            d->SetOnData(onDeviceData_);
            d->dataFollowsController_ = true;
        }
}

void THidDeviceController::SetOnDeviceUnplug(THidPlugEvent handler)
{
    onDeviceUnplug_ = std::move(handler);
    for (auto& d : devices_)
        if (d->unplugFollowsController_)
            d->OnUnplug = onDeviceUnplug_;
}

void THidDeviceController::SetOnDeviceDataError(THidDataErrorEvent handler)
{
    onDeviceDataError_ = std::move(handler);
    for (auto& d : devices_)
        d->OnDataError = onDeviceDataError_;
}
