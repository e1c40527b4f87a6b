// lsthtool's device commands against the simulated device, and the session
// they run on against its faults.

#include "DeviceSession.h"
#include "RunCommand.h"
#include "SimulatedHidBackend.h"
#include "TempDir.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

class CliDevice : public ::testing::Test {
protected:
    TempDir dir;
    CommandResult Run(const std::string& env, const std::string& args)
    {
        return RunCommand("env -u LARKSPUR_HID_SIMULATOR " + env + " " + std::string(LSTHTOOL) + " " + args,
                          dir.File("stderr"));
    }
    std::string Q(const std::string& name) { return "'" + dir.File(name) + "'"; }
    std::string Sim(const char* model) { return std::string("LARKSPUR_HID_SIMULATOR=") + model + " LARKSPUR_HID_SIMULATOR_FILE=" + Q("device.bin"); }
};

TEST_F(CliDevice, DevicesAndCaps)
{
    EXPECT_EQ(Run("", "devices").exitCode, 0);
    const CommandResult sim = Run(Sim("large"), "devices");
    EXPECT_EQ(sim.exitCode, 0);
    EXPECT_NE(sim.out.find("0416:5020  supported  read/write  input 65 output 65"), std::string::npos) << sim.out;

    WriteText(dir.File("fido.hex"), "06 d0 f1 09 01 a1 01 09 20 15 00 26 ff 00 75 08 95 40 81 02 09 21 15 00 26 ff 00 75 08 95 40 91 02 c0\n");
    CommandResult r = Run("", "hid-caps " + Q("fido.hex"));
    EXPECT_EQ(r.out, "input 65\noutput 65\nfeature 0\nnumbered no\n");
    WriteText(dir.File("keys.bin"), std::string("\x05\x01\x09\x06\xa1\x01\x85\x02\x75\x08\x95\x07\x81\x02\xc0", 15));
    r = Run("", "hid-caps " + Q("keys.bin"));
    EXPECT_EQ(r.out, "input 8\noutput 0\nfeature 0\nnumbered yes\n");
    WriteText(dir.File("bad.hex"), "75 08 96 40\n");
    r = Run("", "hid-caps " + Q("bad.hex"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("truncated"), std::string::npos);
    EXPECT_EQ(Run("", "hid-caps " + Q("none.hex")).exitCode, 1);
    // Bytes that parse but declare no report are no descriptor.
    WriteText(dir.File("zeros.bin"), std::string(65536, '\0'));
    WriteText(dir.File("hello.txt"), "hello world");
    for (const char* name : {"zeros.bin", "hello.txt"}) {
        r = Run("", "hid-caps " + Q(name));
        EXPECT_EQ(r.exitCode, 1) << name;
        EXPECT_EQ(r.out, "") << name;
    }
    // What a command prints is its result: a full disk fails it.
    for (const std::string& command : {std::string("download"), std::string("devices")}) {
        r = Run(Sim("large"), command + " > /dev/full");
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_NE(r.err.find("cannot write standard output: No space left on device"), std::string::npos) << r.err;
    }
}

TEST_F(CliDevice, UploadThenDownloadRoundTrips)
{
    CommandResult r = Run(Sim("large"), "download");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 43);
    EXPECT_NE(r.out.find("\n1 Main_Divider $0619\n"), std::string::npos);  // 1561 = 0x0619
    EXPECT_NE(r.out.find("\nDisplay 0\n"), std::string::npos);

    ASSERT_EQ(Run("", "set " + Q("mine.lsth") + " Main_Dom=#FF0000 Charge_Clock=#0000FF").exitCode, 0);
    r = Run(Sim("large"), "upload " + Q("mine.lsth"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Theme was uploaded successfully\n");
    const std::string stored = ReadText(dir.File("device.bin"));
    ASSERT_EQ(stored.size(), 128u);
    for (std::size_t k = 84; k < 128; ++k)
        EXPECT_EQ(static_cast<unsigned char>(stored[k]), k) << "the device's own byte " << k;

    r = Run(Sim("large"), "download -o " + Q("back.lsth"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const CommandResult mine = Run("", "dump " + Q("mine.lsth"));
    const CommandResult back = Run("", "dump " + Q("back.lsth"));
    EXPECT_EQ(back.out, mine.out);
}

TEST_F(CliDevice, RefusalsAreOneLineAndExitOne)
{
    WriteText(dir.File("bad.lsth"), "[Main]\r\nMain_Dom=white\r\n");
    const struct {
        std::string env, args, message;
    } cases[] = {
        {Sim("old"), "download", "Incompatible firmware"},
        {Sim("small"), "download", "Incompatible firmware"},
        {Sim("large"), "upload " + Q("bad.lsth"), "Main_Dom"},
        {Sim("large"), "upload", "a theme file is needed"},
        {Sim("large"), "download --frob", "unexpected argument"},
    };
    for (const auto& c : cases) {
        const CommandResult r = Run(c.env, c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    const CommandResult small = Run(Sim("small"), "download --override SIMS");
    EXPECT_EQ(small.exitCode, 0);
    EXPECT_NE(small.out.find("\nDisplay 1\n"), std::string::npos);
}

TEST(DeviceSession, Faults)
{
    {
        auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large, "", false);
        DeviceSession s(*sim, 200);
        EXPECT_EQ(s.Connect(""), DeviceSession::Result::NoDevice);
    }
    {
        auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
        sim->SetPermissionDenied(true);
        DeviceSession s(*sim, 200);
        EXPECT_EQ(s.Connect(""), DeviceSession::Result::NoPermission);
        EXPECT_NE(s.Message().find("udev"), std::string::npos);
    }
    {
        auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
        sim->SetSilent(true);
        DeviceSession s(*sim, 200);
        EXPECT_EQ(s.Connect(""), DeviceSession::Result::NoAnswer);
    }
    {
        auto sim = std::make_shared<SimulatedHidBackend>(SimulatorModel::Large);
        DeviceSession s(*sim, 200);
        ASSERT_EQ(s.Connect(""), DeviceSession::Result::Ok);
        EXPECT_TRUE(s.LargeDisplay());
        sim->SetFailWrites(true);
        std::array<std::uint8_t, lsproto::ThemeBlockSize> block{};
        EXPECT_EQ(s.ReadTheme(block), DeviceSession::Result::DeviceError);
        sim->SetFailWrites(false);
        sim->VanishAfterReports(1);
        EXPECT_EQ(s.ReadTheme(block), DeviceSession::Result::DeviceError);
    }
}

}  // namespace

namespace {

// Every fault the simulator can show, through lsthtool as a user would meet
// it: the exit code, the message, and whether the device's theme changed.
TEST_F(CliDevice, FaultsGiveOneLineAndNeverASuccess)
{
    ASSERT_EQ(Run("", "set " + Q("mine.lsth") + " Main_Dom=#FF0000").exitCode, 0);
    WriteText(dir.File("png.lsth"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const struct {
        const char* faults;
        const char* command;
        int exitCode;
        const char* says;
        bool stored;
    } cases[] = {
        {"", "upload mine.lsth", 0, "Theme was uploaded successfully", true},
        {"stale-report", "upload mine.lsth", 0, "Theme was uploaded successfully", true},
        {"stale-report", "download", 0, "1 Main_Divider $0619", false},
        {"forget-writes", "upload mine.lsth", 1, "The device did not store the theme", false},
        {"silent", "upload mine.lsth", 1, "did not answer", false},
        {"fail-writes", "upload mine.lsth", 1, "A device error has occurred", false},
        {"reply-size=65", "download", 1, "A device error has occurred", false},
        {"reply-size=128", "upload mine.lsth", 1, "A device error has occurred", false},
        {"reply-size=4096", "download", 1, "A device error has occurred", false},
        // Short replies are no zeros: in the firmware check, a download and an upload.
        {"reply-size=1", "download", 1, "A device error has occurred", false},
        {"reply-size=2", "upload mine.lsth", 1, "A device error has occurred", false},
        {"reply-size=7", "download", 1, "A device error has occurred", false},
        {"reply-size=13", "upload mine.lsth", 1, "A device error has occurred", false},
        {"reply-size=32", "download", 1, "A device error has occurred", false},
        {"reply-size=32", "upload mine.lsth", 1, "A device error has occurred", false},
        {"reply-size=63", "download", 1, "A device error has occurred", false},
        // Settings that would run a healthy device in disguise are refused.
        {"junk", "download", 2, "unknown fault 'junk'", false},
        {"Silent", "upload mine.lsth", 2, "unknown fault", false},
        {" silent", "upload mine.lsth", 2, "unknown fault", false},
        {"vanish-after-writes=0", "upload mine.lsth", 2, "from 1 to", false},
        {"reply-size=0", "download", 2, "from 1 to 4096", false},
        {"reply-size=100000", "download", 2, "from 1 to 4096", false},
        {"vanish-after-writes=3", "upload mine.lsth", 1, "A device error has occurred", false},
        {"permission-denied", "download", 1, "No permission", false},
        {"", "upload png.lsth", 1, "holds no theme colours", false},
        {"", "upload --force png.lsth", 0, "Theme was uploaded successfully", false},
    };
    for (const auto& c : cases) {
        std::remove(dir.File("device.bin").c_str());
        std::string command = c.command;
        const std::size_t file = command.rfind(' ');
        if (command.find(".lsth") != std::string::npos)
            command = command.substr(0, file + 1) + Q(command.substr(file + 1));
        const CommandResult r =
            Run(Sim("large") + " LARKSPUR_HID_SIMULATOR_FAULTS='" + c.faults + "'", command);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.faults << ": " << c.command << ": " << r.err;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << c.faults << ": " << r.out << r.err;
        EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        const std::string stored = ReadText(dir.File("device.bin"));
        EXPECT_EQ(stored.size() == 128 && stored[16] == '\x00' && stored[17] == '\xF8', c.stored)
            << c.faults << ": " << c.command;
    }
    // A simulator file that could never keep the theme: refused before anything is sent.
    mkdir(dir.File("folder").c_str(), 0700);
    mkfifo(dir.File("fifo").c_str(), 0600);
    for (const std::string& file : {dir.File("folder"), dir.File("fifo"), dir.File("no/such/device.bin")})
        for (const char* command : {"download", "devices"}) {
            const CommandResult r = Run("LARKSPUR_HID_SIMULATOR=large LARKSPUR_HID_SIMULATOR_FILE='" + file + "'", command);
            EXPECT_EQ(r.exitCode, 2) << file << " " << command;
            EXPECT_NE(r.err.find("LARKSPUR_HID_SIMULATOR_FILE"), std::string::npos) << r.err;
        }
}

}  // namespace
