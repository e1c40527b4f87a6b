// The udev/hidraw backend against a faked sysfs and /dev (umockdev): run under
// umockdev-wrapper, which CTest does.

#include "HidControllerClass.h"
#include "PumpEvents.h"
#include "LinuxHidBackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>
#include <umockdev.h>

#include <cstdio>
#include <thread>

namespace {

const std::vector<std::uint8_t> Descriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
    0x40, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0,
};

// A USB HID device as the kernel shows it: the hid device BUS:VID:PID.SEQ with
// its uevent and descriptor, and its hidraw child with a node the testbed
// creates. Returns the hidraw syspath.
std::string AddDevice(UMockdevTestbed* tb, int sequence, const char* node)
{
    char hidName[32];
    std::snprintf(hidName, sizeof hidName, "0003:0416:5020.%04X", sequence);
    const std::string hid = std::string("/devices/usb1/1-1/1-1:1.0/") + hidName;
    std::string hex;
    for (std::uint8_t b : Descriptor) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
    }
    const std::string record = "P: " + hid + "/hidraw/" + node + "\nN: " + node +
                               "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/" + node + "\nA: dev=240:0\n\n" +
                               "P: " + hid + "\nE: SUBSYSTEM=hid\nE: HID_ID=0003:00000416:00005020\n" +
                               "E: HID_NAME=Larkspur test handheld\nH: report_descriptor=" + hex + "\n";
    GError* error = nullptr;
    EXPECT_TRUE(umockdev_testbed_add_from_string(tb, record.c_str(), &error)) << (error ? error->message : "");
    return "/sys" + hid + "/hidraw/" + node;
}

TEST(UdevBackend, EnumeratesIdsDescriptorAndLengths)
{
    UMockdevTestbed* tb = umockdev_testbed_new();
    ASSERT_TRUE(umockdev_in_mock_environment()) << "run under umockdev-wrapper";
    AddDevice(tb, 1, "hidraw3");
    LinuxHidBackend backend;
    const auto found = backend.Enumerate();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, "/dev/hidraw3");
    EXPECT_TRUE(found[0].identified);
    EXPECT_EQ(found[0].vendorId, 0x0416);
    EXPECT_EQ(found[0].productId, 0x5020);
    EXPECT_EQ(found[0].name, "Larkspur test handheld");
    EXPECT_EQ(found[0].reportDescriptor, Descriptor);
    EXPECT_EQ(backend.Probe(found[0].path), HidAccess::ReadWrite);
    g_object_unref(tb);
}

TEST(UdevBackend, UeventsRescanAndAReplugIsANewInstance)
{
    UMockdevTestbed* tb = umockdev_testbed_new();
    const std::string first = AddDevice(tb, 1, "hidraw0");
    auto backend = std::make_shared<LinuxHidBackend>(LinuxHidBackend::MonitorSource::Udev);
    ASSERT_TRUE(backend->HasMonitor());
    THidDeviceController controller(backend);
    int changes = 0;
    controller.OnDeviceChange = [&](THidDeviceController&) { ++changes; };
    controller.OnDeviceCreateError = [](THidDeviceController&, const THidPnPInfo&, bool& handled, bool&) {
        handled = true;
    };
    ASSERT_TRUE(PumpUntil([&] { return changes == 1; }, 3000));
    ASSERT_EQ(controller.Devices().size(), 1u);
    const std::string firstInstance = controller.Devices()[0]->PnPInfo().DeviceInstance();
    EXPECT_EQ(controller.Devices()[0]->Caps().InputReportByteLength, 65);

    umockdev_testbed_uevent(tb, first.c_str(), "remove");
    umockdev_testbed_remove_device(tb, first.c_str());
    ASSERT_TRUE(PumpUntil([&] { return changes == 2; }, 3000));
    EXPECT_TRUE(controller.Devices().empty());

    // Back, under the kernel's next sequence number. (The testbed cannot make
    // the same node twice, so it gets the next node name; the instance is told
    // apart by the hid device's sequence number in its syspath either way.)
    const std::string second = AddDevice(tb, 2, "hidraw1");
    umockdev_testbed_uevent(tb, second.c_str(), "add");
    ASSERT_TRUE(PumpUntil([&] { return changes == 3; }, 3000));
    ASSERT_EQ(controller.Devices().size(), 1u);
    const std::string secondInstance = controller.Devices()[0]->PnPInfo().DeviceInstance();
    EXPECT_NE(secondInstance, firstInstance);
    EXPECT_NE(secondInstance.find("0003:0416:5020.0002"), std::string::npos);
    g_object_unref(tb);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
