#include "WindowsHidBackend.h"

#include "WindowsText.h"

#include <windows.h>
// C declarations without a C++ guard of their own; hidsdi.h declares the
// types hidpi.h uses, so it comes first.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
#include <dbt.h>
#include <setupapi.h>

#include <algorithm>
#include <condition_variable>

namespace {

HidAccess AccessFromError(DWORD code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return HidAccess::NoPermission;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEVICE_NOT_CONNECTED: return HidAccess::Gone;
    default: return HidAccess::Failed;
    }
}

// Read and write access; failing that, none at all, which still tells the
// attributes of a device this user may not use (as Windows allows for keyboards).
HANDLE OpenDevice(const std::wstring& path, bool readWrite, DWORD flags = 0)
{
    return CreateFileW(path.c_str(), readWrite ? GENERIC_READ | GENERIC_WRITE : 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, flags, nullptr);
}

bool Identify(HANDLE h, HidInterfaceInfo& info)
{
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (HidD_GetAttributes(h, &attributes)) {
        info.identified = true;
        info.vendorId = attributes.VendorID;
        info.productId = attributes.ProductID;
        info.versionNumber = attributes.VersionNumber;
    }
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (HidD_GetPreparsedData(h, &preparsed)) {
        HIDP_CAPS caps{};
        if (HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
            info.lengths.input = caps.InputReportByteLength;
            info.lengths.output = caps.OutputReportByteLength;
            info.lengths.feature = caps.FeatureReportByteLength;
        }
        HidD_FreePreparsedData(preparsed);
    }
    wchar_t name[256] = {};
    if (HidD_GetProductString(h, name, sizeof name))
        info.name = Utf8FromUtf16(name, wcsnlen(name, 256));
    return info.identified;
}

// An interface opened for overlapped reads; Interrupt and Stop cancel a read
// that is waiting at once.
class WindowsConnection : public HidConnection {
public:
    WindowsConnection(HANDLE device, HidReportLengths lengths)
        : device_(device), lengths_(lengths), readDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
    {
    }
    ~WindowsConnection() override
    {
        CancelIoEx(device_, nullptr);
        CloseHandle(device_);
        CloseHandle(readDone_);
        CloseHandle(wake_);
    }

    bool Write(const std::uint8_t* data, std::size_t size, std::string* error) override
    {
        // Windows wants exactly the output report length, the ID byte first.
        std::vector<std::uint8_t> report(data, data + size);
        if (report.size() < lengths_.output)
            report.resize(lengths_.output, 0);
        OVERLAPPED done{};
        done.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DWORD written = 0;
        BOOL ok = WriteFile(device_, report.data(), static_cast<DWORD>(report.size()), nullptr, &done);
        if (!ok && GetLastError() == ERROR_IO_PENDING)
            ok = GetOverlappedResult(device_, &done, &written, TRUE);
        else if (ok)
            ok = GetOverlappedResult(device_, &done, &written, FALSE);
        const DWORD code = GetLastError();
        CloseHandle(done.hEvent);
        if (ok && written == report.size())
            return true;
        if (error)
            *error = "write failed (error " + std::to_string(code) + ")";
        return false;
    }

    HidReadStatus Read(std::vector<std::uint8_t>& report, int timeoutMs, std::string* error) override
    {
        std::lock_guard<std::mutex> lock(reading_);
        if (!pending_) {
            buffer_.assign(std::max<std::size_t>(lengths_.input, 1), 0);
            ResetEvent(readDone_);
            overlapped_ = OVERLAPPED{};
            overlapped_.hEvent = readDone_;
            if (!ReadFile(device_, buffer_.data(), static_cast<DWORD>(buffer_.size()), nullptr, &overlapped_) &&
                GetLastError() != ERROR_IO_PENDING)
                return Failed(GetLastError(), error);
            pending_ = true;
        }
        const HANDLE waits[2] = {readDone_, wake_};
        const DWORD which = WaitForMultipleObjects(2, waits, FALSE, timeoutMs < 0 ? INFINITE : DWORD(timeoutMs));
        if (which == WAIT_TIMEOUT)
            return HidReadStatus::Timeout;  // the read stays pending for the next call
        if (which == WAIT_OBJECT_0 + 1) {
            CancelIoEx(device_, &overlapped_);
            DWORD ignored = 0;
            GetOverlappedResult(device_, &overlapped_, &ignored, TRUE);
            pending_ = false;
            return HidReadStatus::Interrupted;
        }
        DWORD got = 0;
        pending_ = false;
        if (!GetOverlappedResult(device_, &overlapped_, &got, FALSE))
            return Failed(GetLastError(), error);
        // Every report comes with its ID byte, as long as the driver gave it.
        report.assign(buffer_.data(), buffer_.data() + got);
        return HidReadStatus::Report;
    }

    void Interrupt() override { SetEvent(wake_); }

private:
    static HidReadStatus Failed(DWORD code, std::string* error)
    {
        if (error)
            *error = "read failed (error " + std::to_string(code) + ")";
        return code == ERROR_DEVICE_NOT_CONNECTED || code == ERROR_OPERATION_ABORTED || code == ERROR_BAD_COMMAND
                   ? HidReadStatus::Gone
                   : HidReadStatus::Error;
    }

    HANDLE device_;
    HidReportLengths lengths_;
    HANDLE readDone_;
    HANDLE wake_;
    std::mutex reading_;
    bool pending_ = false;
    OVERLAPPED overlapped_{};
    std::vector<std::uint8_t> buffer_;
};

const wchar_t* const WindowClass = L"LarkspurHidChanges";

LRESULT CALLBACK ChangeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE &&
        (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE || wParam == DBT_DEVNODES_CHANGED)) {
        if (auto* backend = reinterpret_cast<WindowsHidBackend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            backend->NotifyChange();
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

WindowsHidBackend::WindowsHidBackend() = default;

WindowsHidBackend::~WindowsHidBackend() { StopWatching(); }

std::vector<HidInterfaceInfo> WindowsHidBackend::Enumerate()
{
    std::vector<HidInterfaceInfo> found;
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    HDEVINFO set = SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return found;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof iface;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, index, &iface))
            break;  // ERROR_NO_MORE_ITEMS
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &size, nullptr);
        std::vector<std::uint8_t> storage(std::max<DWORD>(size, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA devinfo{};
        devinfo.cbSize = sizeof devinfo;
        if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, size, nullptr, &devinfo))
            continue;
        HidInterfaceInfo info;
        info.path = Utf8FromUtf16(detail->DevicePath, wcslen(detail->DevicePath));
        wchar_t instance[512] = {};
        if (SetupDiGetDeviceInstanceIdW(set, &devinfo, instance, 512, nullptr))
            info.instance = Utf8FromUtf16(instance, wcsnlen(instance, 512));
        HANDLE h = OpenDevice(detail->DevicePath, true);
        if (h == INVALID_HANDLE_VALUE)
            h = OpenDevice(detail->DevicePath, false);
        if (h != INVALID_HANDLE_VALUE) {
            Identify(h, info);
            CloseHandle(h);
        }
        found.push_back(std::move(info));
    }
    SetupDiDestroyDeviceInfoList(set);

    std::lock_guard<std::mutex> lock(mutex_);
    std::map<std::string, bool> now;
    for (HidInterfaceInfo& info : found) {
        if (!present_.count(info.path))
            appearance_[info.path] = nextAppearance_++;
        now[info.path] = true;
        info.instance += "#" + std::to_string(appearance_[info.path]);
        lengths_[info.path] = info.lengths;
    }
    present_ = std::move(now);
    return found;
}

HidAccess WindowsHidBackend::Probe(const std::string& path)
{
    HANDLE h = OpenDevice(Utf16FromUtf8(path), true);
    if (h == INVALID_HANDLE_VALUE)
        return AccessFromError(GetLastError());
    CloseHandle(h);
    return HidAccess::ReadWrite;
}

std::shared_ptr<HidConnection> WindowsHidBackend::Open(const std::string& path, HidAccess& access, std::string* error)
{
    HANDLE h = OpenDevice(Utf16FromUtf8(path), true, FILE_FLAG_OVERLAPPED);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        access = AccessFromError(code);
        if (error)
            *error = path + ": " + HidAccessText(access) + " (error " + std::to_string(code) + ")";
        return nullptr;
    }
    HidReportLengths lengths;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto known = lengths_.find(path);
        if (known != lengths_.end())
            lengths = known->second;
    }
    if (lengths.input == 0 && lengths.output == 0) {
        HidInterfaceInfo info;
        Identify(h, info);
        lengths = info.lengths;
    }
    access = HidAccess::ReadWrite;
    return std::make_shared<WindowsConnection>(h, lengths);
}

void WindowsHidBackend::NotifyChange()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (changed_)
        changed_();
}

void WindowsHidBackend::StopWatching()
{
    if (watcher_.joinable()) {
        PostMessageW(static_cast<HWND>(window_), WM_CLOSE, 0, 0);
        watcher_.join();
    }
    window_ = nullptr;
}

void WindowsHidBackend::SetChangeHandler(std::function<void()> changed)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        changed_ = std::move(changed);
        if (!changed_ || watcher_.joinable())
            return;
    }
    // A message-only window registered for HID interface changes, with its
    // own message loop on its own thread.
    std::mutex ready;
    std::condition_variable created;
    bool done = false;
    watcher_ = std::thread([&, this] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ChangeWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = WindowClass;
        RegisterClassW(&wc);
        HWND hwnd = CreateWindowExW(0, WindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        HDEVNOTIFY notify = nullptr;
        if (hwnd) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            DEV_BROADCAST_DEVICEINTERFACE_W filter{};
            filter.dbcc_size = sizeof filter;
            filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
            HidD_GetHidGuid(&filter.dbcc_classguid);
            notify = RegisterDeviceNotificationW(hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        }
        {
            // Notified under the lock: the waiter's condition variable lives
            // only until it has seen `done`.
            std::lock_guard<std::mutex> lock(ready);
            window_ = hwnd;
            done = true;
            created.notify_all();
        }
        if (!hwnd)
            return;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_CLOSE && msg.hwnd == hwnd)
                break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (notify)
            UnregisterDeviceNotification(notify);
        DestroyWindow(hwnd);
    });
    std::unique_lock<std::mutex> lock(ready);
    created.wait(lock, [&] { return done; });
    if (!window_) {
        lock.unlock();
        watcher_.join();
    }
}
