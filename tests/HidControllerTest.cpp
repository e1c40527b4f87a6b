// THidDeviceController over the simulated backend, a scripted backend and a
// socketpair standing in for a hidraw node.

#include "HidControllerClass.h"
#include "PumpEvents.h"
#include "LinuxHidBackend.h"
#include "SimulatedHidBackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

namespace {

std::vector<std::uint8_t> Payload(std::uint8_t first)
{
    std::vector<std::uint8_t> p(64, 0);
    p[0] = first;
    return p;
}

struct Recorder {
    int changes = 0;
    std::vector<THidDevice*> offered;
    struct Report {
        std::uint8_t id;
        std::uint8_t first;
        std::uint16_t size;
    };
    std::vector<Report> reports;

    void Bind(THidDeviceController& c, bool claimAccepted = true)
    {
        c.OnDeviceChange = [this, &c](THidDeviceController&) {
            ++changes;
            offered.clear();
            c.Enumerate();
        };
        c.OnEnumerate = [this, claimAccepted](THidDevice& d, int) {
            offered.push_back(&d);
            if (claimAccepted)
                d.Claim();
            return true;
        };
        c.SetOnDeviceData([this](THidDevice&, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
            reports.push_back({id, size ? data[0] : std::uint8_t(0), size});
        });
    }
};

TEST(HidController, StartUpFiresOnceEvenWithoutDevices)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large, "", false);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    EXPECT_EQ(r.changes, 0) << "nothing runs before the event loop";
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    Pump(150);
    EXPECT_EQ(r.changes, 1);
    EXPECT_TRUE(controller.Devices().empty());
}

TEST(HidController, RealBackendEnumeratesThisMachine)
{
    THidDeviceController controller(std::make_shared<LinuxHidBackend>());
    Recorder r;
    r.Bind(controller, false);
    ASSERT_TRUE(PumpUntil([&] { return r.changes >= 1; }));
    EXPECT_EQ(static_cast<int>(r.offered.size()), static_cast<int>(controller.Devices().size()));
}

TEST(HidController, RescansFireOnlyOnChange)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller, false);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    ASSERT_EQ(controller.Devices().size(), 1u);
    EXPECT_EQ(controller.Devices()[0]->Attributes().VendorID, 0x0416);
    EXPECT_EQ(controller.Devices()[0]->Caps().InputReportByteLength, 65);
    EXPECT_EQ(controller.Devices()[0]->Caps().OutputReportByteLength, 65);
    controller.DeviceChange();
    EXPECT_EQ(r.changes, 1) << "nothing changed";

    // An unclaimed device that leaves is dropped; the monitor triggers the rescan.
    sim->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 2; }));
    EXPECT_TRUE(controller.Devices().empty());
    sim->Plug();
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 3; }));
    EXPECT_EQ(controller.Devices().size(), 1u);
}

TEST(HidController, ClaimedDeviceUnpluggedStaysListedAndReturnsAsANewObject)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    int removals = 0, unplugs = 0;
    controller.OnRemoval = [&](THidDevice&) { ++removals; };
    controller.SetOnDeviceUnplug([&](THidDevice&) { ++unplugs; });
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    THidDevice* first = controller.Devices()[0].get();
    EXPECT_TRUE(first->IsClaimed());
    EXPECT_TRUE(first->HasReader());

    sim->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 2; }));
    ASSERT_EQ(controller.Devices().size(), 1u);
    EXPECT_FALSE(first->IsPluggedIn());
    EXPECT_FALSE(first->HasReader());
    EXPECT_TRUE(r.offered.empty()) << "unplugged entries are skipped";
    EXPECT_EQ(unplugs, 1);

    // Every later rescan fires again, whatever caused it.
    controller.DeviceChange();
    EXPECT_EQ(r.changes, 3);
    EXPECT_EQ(removals, 2);
    EXPECT_EQ(unplugs, 1) << "the unplug handler fires once";

    sim->Plug();
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 4; }));
    ASSERT_EQ(controller.Devices().size(), 2u);
    EXPECT_EQ(controller.Devices()[0].get(), first);
    ASSERT_EQ(r.offered.size(), 1u);
    EXPECT_NE(r.offered[0], first);
    EXPECT_NE(r.offered[0]->PnPInfo().DeviceInstance(), first->PnPInfo().DeviceInstance());
}

// A backend that lists what the test says.
class ScriptedBackend : public HidBackend {
public:
    std::vector<HidInterfaceInfo> interfaces;
    HidAccess access = HidAccess::ReadWrite;
    int probes = 0;
    std::vector<HidInterfaceInfo> Enumerate() override { return interfaces; }
    HidAccess Probe(const std::string&) override
    {
        ++probes;
        return access;
    }
    std::shared_ptr<HidConnection> Open(const std::string&, HidAccess& a, std::string*) override
    {
        a = HidAccess::Failed;
        return nullptr;
    }
    void SetChangeHandler(std::function<void()>) override {}
};

TEST(HidController, CreateErrors)
{
    auto backend = std::make_shared<ScriptedBackend>();
    HidInterfaceInfo unknown;
    unknown.instance = "x1";
    unknown.path = "/dev/x1";
    backend->interfaces = {unknown};
    THidDeviceController controller(backend);
    controller.OnDeviceCreateError = [](THidDeviceController&, const THidPnPInfo&, bool& handled, bool&) {
        handled = true;
    };
    Pump(20);  // the start-up rescan
    EXPECT_TRUE(controller.Devices().empty());

    // Without a handler the error reaches the caller.
    controller.OnDeviceCreateError = nullptr;
    EXPECT_THROW(controller.DeviceChange(), EControllerError);
    // A handler that leaves Handled false passes it on too.
    controller.OnDeviceCreateError = [](THidDeviceController&, const THidPnPInfo&, bool&, bool&) {};
    EXPECT_THROW(controller.DeviceChange(), EControllerError);
    // Handled, no retry: skipped in silence.
    std::string message;
    int calls = 0;
    controller.OnDeviceCreateError = [&](THidDeviceController&, const THidPnPInfo& info, bool& handled, bool& retry) {
        ++calls;
        message = info.DevicePath();
        handled = true;
        retry = calls == 1;  // one retry, then give up
    };
    backend->probes = 0;
    EXPECT_NO_THROW(controller.DeviceChange());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(backend->probes, 2);
    EXPECT_EQ(message, "/dev/x1");
    EXPECT_TRUE(controller.Devices().empty());

    // A node that is gone cannot be opened; one without permission is listed.
    backend->interfaces[0].identified = true;
    backend->access = HidAccess::Gone;
    calls = 0;
    controller.DeviceChange();
    EXPECT_EQ(calls, 2) << "the handler asks for one retry";
    EXPECT_TRUE(controller.Devices().empty());
    backend->access = HidAccess::NoPermission;
    controller.DeviceChange();
    ASSERT_EQ(controller.Devices().size(), 1u);
    EXPECT_FALSE(controller.Devices()[0]->HasReadWriteAccess());
    EXPECT_EQ(controller.Devices()[0]->Access(), HidAccess::NoPermission);
}

TEST(HidController, ReportsArriveInOrderWithTheIdByteAddedAndTheirOwnLength)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    for (std::uint8_t i = 1; i <= 5; ++i)
        sim->InjectReport(Payload(i));
    sim->InjectReport(std::vector<std::uint8_t>(10, 0x77));  // short: as it came, for the receiver to refuse
    ASSERT_TRUE(PumpUntil([&] { return r.reports.size() == 6; }));
    for (std::uint8_t i = 0; i < 5; ++i) {
        EXPECT_EQ(r.reports[i].id, 0);
        EXPECT_EQ(r.reports[i].first, i + 1);
        EXPECT_EQ(r.reports[i].size, 64);
    }
    EXPECT_EQ(r.reports[5].first, 0x77);
    EXPECT_EQ(r.reports[5].size, 10);
}

TEST(HidController, AFastDeviceLosesNothingAndKeepsItsOrder)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    // The handler is slower than the device: reports wait, one hand-over at a time.
    controller.SetOnDeviceData([&](THidDevice&, std::uint8_t, const std::uint8_t* data, std::uint16_t size) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        r.reports.push_back({0, data[0], size});
    });
    for (int i = 0; i < 300; ++i)
        sim->InjectReport(Payload(static_cast<std::uint8_t>(i)));
    ASSERT_TRUE(PumpUntil([&] { return r.reports.size() == 300; }, 10000));
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(r.reports[i].first, static_cast<std::uint8_t>(i));
}

TEST(HidController, WritesAndTheSimulatedProtocol)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Small);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    THidDevice& device = *controller.Devices()[0];
    const auto command = lsproto::BuildCommandReport(lsproto::CmdDataflashRead, 0, 576, 0x0416);
    std::size_t written = 0;
    ASSERT_TRUE(device.WriteReport(command.data(), command.size(), written));
    EXPECT_EQ(written, 65u);
    ASSERT_TRUE(PumpUntil([&] { return r.reports.size() == 9; }));
    Pump(50);
    EXPECT_EQ(r.reports.size(), 9u);

    sim->SetFailWrites(true);
    std::string error;
    EXPECT_FALSE(device.WriteReport(command.data(), command.size(), written, &error));
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(error.empty());
    sim->SetFailWrites(false);
    sim->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 2; }));
    EXPECT_FALSE(device.WriteReport(command.data(), command.size(), written));
}

TEST(HidController, SleepAndPollingRanges)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    THidDeviceController controller(sim);
    EXPECT_EQ(controller.DevPollingDelayTime(), 0);
    EXPECT_EQ(controller.DevThreadSleepTime(), 100);
    Recorder r;
    r.Bind(controller, false);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    THidDevice& d = *controller.Devices()[0];
    const struct {
        int value;
        int sleepAfter;
    } sleeps[] = {{5, 100}, {20000, 100}, {10, 10}, {10000, 10000}, {9, 10000}};
    for (const auto& c : sleeps) {
        d.SetDevThreadSleepTime(c.value);
        EXPECT_EQ(d.DevThreadSleepTime(), c.sleepAfter) << c.value;
    }
    const struct {
        int value;
        int delayAfter;
    } delays[] = {{0, 0}, {-1, 0}, {10000, 10000}, {10001, 10000}, {7, 7}};
    for (const auto& c : delays) {
        d.SetDevPollingDelayTime(c.value);
        EXPECT_EQ(d.DevPollingDelayTime(), c.delayAfter) << c.value;
    }
    // The controller's setting reaches devices that still follow it.
    d.SetDevThreadSleepTime(100);
    controller.SetDevThreadSleepTime(40);
    EXPECT_EQ(d.DevThreadSleepTime(), 40);
    d.SetDevThreadSleepTime(55);
    controller.SetDevThreadSleepTime(60);
    EXPECT_EQ(d.DevThreadSleepTime(), 55);
}

TEST(HidController, StoppingIsPromptEvenWithAHandOverPending)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    THidDevice& device = *controller.Devices()[0];

    // Readers that wait in slices of 10 s: a stop that had to wait for the
    // slice to end would take that long, one that interrupts it takes none.
    device.Release();
    device.SetDevThreadSleepTime(10000);
    device.Claim();
    ASSERT_TRUE(device.HasReader());
    QElapsedTimer timer;
    timer.start();
    device.Release();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(device.HasReader());

    // A reader blocked on a hand-over the GUI thread never serves.
    device.Claim();
    ASSERT_TRUE(device.HasReader());
    sim->InjectReport(Payload(9));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the reader now waits on the GUI thread
    timer.restart();
    device.Release();
    EXPECT_LT(timer.elapsed(), 5000);
    Pump(50);
    EXPECT_TRUE(r.reports.empty()) << "a cancelled hand-over delivers nothing";
}

TEST(HidController, AVanishingDeviceEndsItsReads)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    sim->VanishAfterReports(3);
    const auto command = lsproto::BuildCommandReport(lsproto::CmdDataflashRead, 0, 576, 0x0416);
    std::size_t written;
    controller.Devices()[0]->WriteReport(command.data(), command.size(), written);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 2; }));
    Pump(100);
    EXPECT_EQ(r.reports.size(), 3u);
    sim->InjectReport(Payload(1));
    Pump(100);
    EXPECT_EQ(r.reports.size(), 3u);
}

TEST(HidController, PermissionDeniedDevicesAreListedWithoutAReader)
{
    auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
    sim->SetPermissionDenied(true);
    THidDeviceController controller(sim);
    Recorder r;
    r.Bind(controller);
    ASSERT_TRUE(PumpUntil([&] { return r.changes == 1; }));
    ASSERT_EQ(controller.Devices().size(), 1u);
    THidDevice& d = *controller.Devices()[0];
    EXPECT_TRUE(d.IsClaimed());
    EXPECT_FALSE(d.HasReader());
    EXPECT_EQ(d.Access(), HidAccess::NoPermission);
    EXPECT_EQ(d.Attributes().ProductID, 0x5020);
}

TEST(HidrawConnection, ReadsWritesAndHangUpOverASocketPair)
{
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
    auto connection = MakeHidrawConnection(fds[0]);
    ASSERT_TRUE(connection);
    std::vector<std::uint8_t> report;
    EXPECT_EQ(connection->Read(report, 20, nullptr), HidReadStatus::Timeout);

    // Unnumbered, as hidraw delivers it: the ID byte comes first all the same.
    const auto payload = Payload(42);
    ASSERT_EQ(write(fds[1], payload.data(), payload.size()), 64);
    ASSERT_EQ(connection->Read(report, 1000, nullptr), HidReadStatus::Report);
    std::vector<std::uint8_t> expected = {0};
    expected.insert(expected.end(), payload.begin(), payload.end());
    EXPECT_EQ(report, expected);

    const std::uint8_t out[65] = {0, 0x35};
    EXPECT_TRUE(connection->Write(out, sizeof out, nullptr));
    std::uint8_t got[100];
    EXPECT_EQ(read(fds[1], got, sizeof got), 65);

    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        connection->Interrupt();
    });
    EXPECT_EQ(connection->Read(report, 5000, nullptr), HidReadStatus::Interrupted);
    waker.join();

    close(fds[1]);
    EXPECT_EQ(connection->Read(report, 1000, nullptr), HidReadStatus::Gone);
    std::string error;
    EXPECT_FALSE(connection->Write(out, sizeof out, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
