// The descriptor parser on real devices' descriptors and on broken ones, and the
// kernel identity strings.

#include "HidIdentity.h"
#include "ReportDescriptor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <sstream>

namespace {

const std::string DescriptorDir = std::string(SHARED_DIR) + "/hid-descriptors";

std::vector<std::uint8_t> ReadHex(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::uint8_t> bytes;
    std::string token;
    while (in >> token)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(token, nullptr, 16)));
    return bytes;
}

// expected.json: per descriptor name, its input, output and feature lengths and
// whether it is numbered.
std::map<std::string, HidReportLengths> ReadExpected()
{
    std::ifstream in(DescriptorDir + "/expected.json");
    std::stringstream text;
    text << in.rdbuf();
    const std::string json = text.str();
    const std::regex entry(R"re("([a-z0-9_]+)":\s*\{\s*"input":\s*(\d+),\s*"output":\s*(\d+),\s*"feature":\s*(\d+),\s*"numbered":\s*(true|false))re");
    std::map<std::string, HidReportLengths> expected;
    for (auto it = std::sregex_iterator(json.begin(), json.end(), entry); it != std::sregex_iterator(); ++it) {
        HidReportLengths l;
        l.input = static_cast<std::uint16_t>(std::stoi((*it)[2]));
        l.output = static_cast<std::uint16_t>(std::stoi((*it)[3]));
        l.feature = static_cast<std::uint16_t>(std::stoi((*it)[4]));
        l.numbered = (*it)[5] == "true";
        expected[(*it)[1]] = l;
    }
    return expected;
}

TEST(ReportDescriptor, RealDevicesMatchTheReferenceLengths)
{
    if (!std::filesystem::exists(DescriptorDir))
        GTEST_SKIP() << "no shared descriptors at " << DescriptorDir;
    const auto expected = ReadExpected();
    ASSERT_GE(expected.size(), 20u);
    int files = 0, compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(DescriptorDir)) {
        if (entry.path().extension() != ".hex")
            continue;
        ++files;
        const std::string name = entry.path().stem().string();
        const auto bytes = ReadHex(entry.path().string());
        HidReportLengths lengths;
        std::string error;
        ASSERT_TRUE(ParseReportDescriptor(bytes.data(), bytes.size(), lengths, &error)) << name << ": " << error;
        const auto want = expected.find(name);
        if (want == expected.end())
            continue;
        ++compared;
        EXPECT_EQ(lengths.input, want->second.input) << name;
        EXPECT_EQ(lengths.output, want->second.output) << name;
        EXPECT_EQ(lengths.feature, want->second.feature) << name;
        EXPECT_EQ(lengths.numbered, want->second.numbered) << name;
    }
    EXPECT_EQ(files, 38);
    EXPECT_EQ(compared, static_cast<int>(expected.size()));
}

struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    bool ok;
    std::uint16_t input, output, feature;
    bool numbered;
};

TEST(ReportDescriptor, EdgesAndMalformedInput)
{
    const Case cases[] = {
        {"empty", {}, false, 0, 0, 0, false},
        {"collection never closed", {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, false, 0, 0, 0, false},
        {"End Collection without Collection", {0xC0}, false, 0, 0, 0, false},
        {"closed collection", {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}, true, 2, 0, 0, false},
        {"largest report that fits", {0x75, 0x08, 0x96, 0xFE, 0xFF, 0x91, 0x02}, true, 0, 65535, 0, false},
        {"a report one byte too long to count", {0x75, 0x08, 0x96, 0xFF, 0xFF, 0x91, 0x02}, false, 0, 0, 0, false},
        {"64 in, 64 out, unnumbered", {0x75, 0x08, 0x95, 0x40, 0x81, 0x02, 0x91, 0x02}, true, 65, 65, 0, false},
        {"bits round up", {0x75, 0x01, 0x95, 0x03, 0x81, 0x02}, true, 2, 0, 0, false},
        {"largest of two IDs",
         {0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0x81, 0x02, 0x85, 0x02, 0x95, 0x10, 0x81, 0x02}, true, 17, 0, 0, true},
        {"Pop restores size and ID",
         {0x75, 0x08, 0x95, 0x02, 0xA4, 0x85, 0x05, 0x95, 0x20, 0xB1, 0x02, 0xB4, 0x81, 0x02}, true, 3, 0, 33, true},
        {"long item skipped", {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, true, 2, 0, 0, false},
        {"four-byte data", {0x77, 0x08, 0x00, 0x00, 0x00, 0x97, 0x02, 0x00, 0x00, 0x00, 0x91, 0x02}, true, 0, 3, 0, false},
        {"truncated item", {0x75, 0x08, 0x96, 0x40}, false, 0, 0, 0, false},
        {"truncated long item", {0xFE, 0x05, 0x10, 0x00}, false, 0, 0, 0, false},
        {"Pop without Push", {0xB4}, false, 0, 0, 0, false},
        {"report ID 0", {0x85, 0x00}, false, 0, 0, 0, false},
        {"absurd size", {0x77, 0xFF, 0xFF, 0xFF, 0x7F, 0x97, 0xFF, 0xFF, 0xFF, 0x7F, 0x81, 0x02}, false, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        HidReportLengths l;
        std::string error;
        EXPECT_EQ(ParseReportDescriptor(c.bytes.data(), c.bytes.size(), l, &error), c.ok) << c.what;
        if (!c.ok) {
            EXPECT_FALSE(error.empty()) << c.what;
            continue;
        }
        EXPECT_EQ(l.input, c.input) << c.what;
        EXPECT_EQ(l.output, c.output) << c.what;
        EXPECT_EQ(l.feature, c.feature) << c.what;
        EXPECT_EQ(l.numbered, c.numbered) << c.what;
    }
    std::vector<std::uint8_t> deep(100, 0xA4);
    HidReportLengths l;
    EXPECT_FALSE(ParseReportDescriptor(deep.data(), deep.size(), l));
}

TEST(ReportDescriptor, RandomBytesNeverCrash)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes(random() % 200);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        HidReportLengths l;
        ParseReportDescriptor(bytes.data(), bytes.size(), l);
    }
    SUCCEED();
}

TEST(HidIdentity, UeventAndHidId)
{
    const std::string uevent =
        "DRIVER=hid-generic\nHID_ID=0003:00000416:00005020\nHID_NAME=Nuvoton HID Transfer\n"
        "HID_PHYS=usb-0000:05:00.3-2.3/input0\nHID_UNIQ=\nMODALIAS=hid:b0003g0001v00000416p00005020\n";
    const auto values = ParseUevent(uevent);
    EXPECT_EQ(values.at("HID_NAME"), "Nuvoton HID Transfer");
    EXPECT_EQ(values.at("HID_UNIQ"), "");
    EXPECT_EQ(values.count("garbage"), 0u);

    const struct {
        const char* text;
        bool ok;
        std::uint16_t bus, vendor, product;
    } cases[] = {
        {"0003:00000416:00005020", true, 3, 0x0416, 0x5020},
        {"0005:0000054C:000009CC", true, 5, 0x054C, 0x09CC},
        {"0003:00010483:00005750", true, 3, 0x0483, 0x5750},  // vendor is the low 16 bits
        {"0003:00000416", false, 0, 0, 0},
        {"0003:00000416:00005020:1", false, 0, 0, 0},
        {"0003:0000041G:00005020", false, 0, 0, 0},
        {"0003::00005020", false, 0, 0, 0},
        {"0003:000000000416:5020", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        HidId id;
        EXPECT_EQ(ParseHidId(c.text, id), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(id.bus, c.bus) << c.text;
            EXPECT_EQ(id.vendor, c.vendor) << c.text;
            EXPECT_EQ(id.product, c.product) << c.text;
        }
    }
}

}  // namespace
