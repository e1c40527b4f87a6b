#include "LinuxHidBackend.h"

#include "HidIdentity.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <libudev.h>
#include <poll.h>
#include <sstream>
#include <sys/eventfd.h>
#include <unistd.h>

HidAccess AccessFromErrno(int err)
{
    switch (err) {
    case EACCES:
    case EPERM: return HidAccess::NoPermission;
    case ENOENT:
    case ENODEV:
    case ENXIO: return HidAccess::Gone;
    default: return HidAccess::Failed;
    }
}

namespace {

std::string ReadSmallFile(const std::string& path, std::size_t limit)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// A hidraw node: reads wait in poll() beside an eventfd that Interrupt() signals.
class HidrawConnection : public HidConnection {
public:
    HidrawConnection(int fd, int wake, HidReportLengths lengths) : fd_(fd), wake_(wake), lengths_(lengths) {}
    ~HidrawConnection() override
    {
        close(fd_);
        close(wake_);
    }

    bool Write(const std::uint8_t* data, std::size_t size, std::string* error) override
    {
        for (;;) {
            const ssize_t n = write(fd_, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n == static_cast<ssize_t>(size))
                return true;
            if (error)
                *error = n < 0 ? std::string("write: ") + std::strerror(errno)
                               : "short write: " + std::to_string(n) + " of " + std::to_string(size) + " bytes";
            return false;
        }
    }

    HidReadStatus Read(std::vector<std::uint8_t>& report, int timeoutMs, std::string* error) override
    {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_, POLLIN, 0}};
        const int ready = poll(fds, 2, timeoutMs);
        if (ready < 0)
            return errno == EINTR ? HidReadStatus::Timeout : HidReadStatus::Error;
        if (ready == 0)
            return HidReadStatus::Timeout;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count;
            (void)!read(wake_, &count, sizeof count);
            return HidReadStatus::Interrupted;
        }
        if (fds[0].revents & POLLIN) {
            std::uint8_t raw[4096];
            const ssize_t n = read(fd_, raw, sizeof raw);
            if (n > 0) {
                report = NormalisedReport(raw, static_cast<std::size_t>(n), lengths_);
                return HidReadStatus::Report;
            }
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                return HidReadStatus::Timeout;
            if (error)
                *error = n == 0 ? "end of file" : std::string("read: ") + std::strerror(errno);
            return HidReadStatus::Gone;
        }
        // POLLERR, POLLHUP or POLLNVAL without data: the device went away. Not
        // leaving here would spin.
        return HidReadStatus::Gone;
    }

    void Interrupt() override
    {
        const std::uint64_t one = 1;
        (void)!write(wake_, &one, sizeof one);
    }

private:
    int fd_;
    int wake_;
    HidReportLengths lengths_;
};

}  // namespace

LinuxHidBackend::LinuxHidBackend(MonitorSource monitorSource)
{
    udev_ = udev_new();
    if (!udev_)
        return;
    // Without udevd (containers, CI) only the kernel's own events exist.
    const bool udevd = access("/run/udev/control", F_OK) == 0;
    const char* source = monitorSource == MonitorSource::Udev     ? "udev"
                         : monitorSource == MonitorSource::Kernel ? "kernel"
                         : udevd                                  ? "udev"
                                                                  : "kernel";
    monitor_ = udev_monitor_new_from_netlink(udev_, source);
    if (monitor_) {
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr);
        udev_monitor_set_receive_buffer_size(monitor_, 1024 * 1024);
        if (udev_monitor_enable_receiving(monitor_) < 0) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
    }
}

LinuxHidBackend::~LinuxHidBackend()
{
    SetChangeHandler(nullptr);
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

std::vector<HidInterfaceInfo> LinuxHidBackend::Enumerate()
{
    std::vector<HidInterfaceInfo> found;
    if (!udev_)
        return found;
    udev_enumerate* e = udev_enumerate_new(udev_);
    if (!e)
        return found;
    udev_enumerate_add_match_subsystem(e, "hidraw");
    udev_enumerate_scan_devices(e);
    for (udev_list_entry* entry = udev_enumerate_get_list_entry(e); entry; entry = udev_list_entry_get_next(entry)) {
        const char* syspath = udev_list_entry_get_name(entry);
        udev_device* raw = udev_device_new_from_syspath(udev_, syspath);
        if (!raw)
            continue;
        HidInterfaceInfo info;
        // The syspath names the hid device BUS:VID:PID.SEQ, whose sequence number
        // the kernel never reuses: a re-plugged device is a new instance even
        // when it gets the same /dev/hidrawN.
        info.instance = syspath;
        if (const char* node = udev_device_get_devnode(raw))
            info.path = node;
        // The parent "hid" device carries the IDs and the report descriptor.
        udev_device* parent = udev_device_get_parent_with_subsystem_devtype(raw, "hid", nullptr);
        const char* parentPath = parent ? udev_device_get_syspath(parent) : nullptr;
        const std::string deviceDir = parentPath ? std::string(parentPath) : std::string(syspath) + "/device";
        const auto uevent = ParseUevent(ReadSmallFile(deviceDir + "/uevent", 16384));
        HidId id;
        const auto hidId = uevent.find("HID_ID");
        if (hidId != uevent.end() && ParseHidId(hidId->second, id)) {
            info.identified = true;
            info.vendorId = id.vendor;
            info.productId = id.product;
        }
        const auto name = uevent.find("HID_NAME");
        if (name != uevent.end())
            info.name = name->second;
        const std::string descriptor = ReadSmallFile(deviceDir + "/report_descriptor", 4096);
        info.reportDescriptor.assign(descriptor.begin(), descriptor.end());
        if (!ParseReportDescriptor(info.reportDescriptor.data(), info.reportDescriptor.size(), info.lengths))
            info.lengths = HidReportLengths{};  // zero lengths, like a device without capabilities
        udev_device_unref(raw);
        if (!info.path.empty())
            found.push_back(std::move(info));
    }
    udev_enumerate_unref(e);
    std::lock_guard<std::mutex> lock(mutex_);
    for (const HidInterfaceInfo& info : found)
        lengths_[info.path] = info.lengths;
    return found;
}

HidAccess LinuxHidBackend::Probe(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return AccessFromErrno(errno);
    close(fd);
    return HidAccess::ReadWrite;
}

std::shared_ptr<HidConnection> LinuxHidBackend::Open(const std::string& path, HidAccess& access, std::string* error)
{
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        access = AccessFromErrno(errno);
        if (error)
            *error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    HidReportLengths lengths;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!lengths_.count(path)) {
            lock.unlock();
            Enumerate();
            lock.lock();
        }
        const auto known = lengths_.find(path);
        if (known != lengths_.end())
            lengths = known->second;
    }
    auto connection = MakeHidrawConnection(fd, lengths);
    access = connection ? HidAccess::ReadWrite : HidAccess::Failed;
    if (!connection && error)
        *error = std::string("eventfd: ") + std::strerror(errno);
    return connection;
}

std::shared_ptr<HidConnection> MakeHidrawConnection(int fd, const HidReportLengths& lengths)
{
    const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        close(fd);
        return nullptr;
    }
    return std::make_shared<HidrawConnection>(fd, wake, lengths);
}

void LinuxHidBackend::SetChangeHandler(std::function<void()> changed)
{
    // One watcher thread waits on udev's monitor beside an eventfd that stops it.
    if (watcher_.joinable()) {
        const std::uint64_t one = 1;
        (void)!write(stopWatching_, &one, sizeof one);
        watcher_.join();
        close(stopWatching_);
        stopWatching_ = -1;
    }
    if (!changed || !monitor_)
        return;
    stopWatching_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopWatching_ < 0)
        return;
    watcher_ = std::thread([this, changed = std::move(changed)] {
        pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {stopWatching_, POLLIN, 0}};
        for (;;) {
            if (poll(fds, 2, -1) < 0 && errno != EINTR)
                return;
            if (fds[1].revents & POLLIN)
                return;
            if (fds[0].revents & POLLIN) {
                while (udev_device* d = udev_monitor_receive_device(monitor_))
                    udev_device_unref(d);
                changed();
            }
        }
    });
}
