#include "ColorModel.h"
#include "DeviceProtocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {

std::string Hex(const std::array<std::uint8_t, 18>& block)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < block.size(); ++i) {
        char b[4];
        std::snprintf(b, sizeof b, "%02X", block[i]);
        out << (i ? " " : "") << b;
    }
    return out.str();
}

TEST(DeviceProtocol, CommandBlocksForBothSignatures)
{
    const struct {
        std::uint8_t code;
        std::uint32_t length;
        std::uint16_t vendor;
        const char* hex;
    } cases[] = {
        {0x35, 576, 0x0416, "35 0E 00 00 00 00 40 02 00 00 48 49 44 43 9D 01 00 00"},
        {0x90, 128, 0x0416, "90 0E 00 00 00 00 80 00 00 00 48 49 44 43 36 02 00 00"},
        {0x91, 128, 0x0416, "91 0E 00 00 00 00 80 00 00 00 48 49 44 43 37 02 00 00"},
        {0x35, 576, 0x0483, "35 0E 00 00 00 00 40 02 00 00 5C CA 37 75 57 02 00 00"},
        {0x90, 128, 0x0483, "90 0E 00 00 00 00 80 00 00 00 5C CA 37 75 F0 02 00 00"},
        {0x91, 128, 0x0483, "91 0E 00 00 00 00 80 00 00 00 5C CA 37 75 F1 02 00 00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(lsproto::BuildCommandBlock(c.code, 0, c.length, c.vendor)), c.hex);
    const auto report = lsproto::BuildCommandReport(0x35, 0, 576, 0x0416);
    EXPECT_EQ(report[0], 0);
    EXPECT_EQ(report[1], 0x35);
    for (std::size_t i = 19; i < report.size(); ++i)
        EXPECT_EQ(report[i], 0);
}

TEST(DeviceProtocol, AcceptedPairs)
{
    EXPECT_TRUE(lsproto::IsAcceptedDevice(0x0416, 0x5020));
    EXPECT_TRUE(lsproto::IsAcceptedDevice(0x0483, 0x5750));
    EXPECT_FALSE(lsproto::IsAcceptedDevice(0x0416, 0x5750));
    EXPECT_FALSE(lsproto::IsAcceptedDevice(0x0483, 0x5020));
}

TEST(DeviceProtocol, FirmwareDecision)
{
    const struct {
        std::uint8_t stamp[3];
        std::uint8_t display;
        const char* code;
        const char* overrideText;
        bool compatible;
    } cases[] = {
        {{19, 2, 25}, 0xCF, "XXXX", "", true},
        {{19, 2, 24}, 0xCF, "XXXX", "", false},
        {{20, 0, 0}, 0xCF, "XXXX", "", true},
        {{18, 99, 99}, 0xCF, "XXXX", "", false},
        {{20, 1, 1}, 0x00, "SIMS", "", false},
        {{20, 1, 1}, 0x00, "SIMS", "SIMS", true},
        {{19, 2, 24}, 0x00, "SIMS", "SIMS", false},
        {{20, 1, 1}, 0x00, "ABCD", "ABCDEFG", true},
        {{20, 1, 1}, 0x00, "BCDE", "ABCDEFG", true},
        {{20, 1, 1}, 0x00, "CDEF", "ABCDEFG", true},
        {{20, 1, 1}, 0x00, "DEFG", "ABCDEFG", true},
        {{20, 1, 1}, 0x00, "abcd", "ABCDEFG", false},
        {{20, 1, 1}, 0x00, "EFGH", "ABCDEFG", false},
        {{20, 1, 1}, 0x12, "LSX1", "; LSX1, SIMS", true},
    };
    for (const auto& c : cases) {
        std::array<std::uint8_t, lsproto::DataflashSize> flash{};
        std::memcpy(&flash[516], c.stamp, 3);
        flash[12] = c.display;
        std::memcpy(&flash[316], c.code, 4);
        const auto info = lsproto::ReadFirmwareInfo(flash.data());
        EXPECT_EQ(lsproto::IsCompatible(info, c.overrideText), c.compatible)
            << int(c.stamp[0]) << "." << int(c.stamp[1]) << "." << int(c.stamp[2]) << " " << c.code << " in '"
            << c.overrideText << "'";
        EXPECT_EQ(lsproto::HasLargeDisplay(info), c.display == 0xCF);
    }
    // A zero byte is a character of the code like any other.
    std::array<std::uint8_t, lsproto::DataflashSize> flash{};
    flash[516] = 20;
    std::memcpy(&flash[316], "AB\0D", 4);
    EXPECT_FALSE(lsproto::IsCompatible(lsproto::ReadFirmwareInfo(flash.data()), "AB"));
    EXPECT_TRUE(lsproto::IsCompatible(lsproto::ReadFirmwareInfo(flash.data()), std::string("xAB\0D", 5)));
}

using Outcome = lsproto::ReceiveState::Outcome;

TEST(DeviceProtocol, ReplyAssembly)
{
    lsproto::ReceiveState rx;
    std::uint8_t payload[64] = {};
    EXPECT_EQ(rx.Append(payload, 64), Outcome::Dropped) << "idle drops";

    rx.Start(lsproto::CmdDataflashRead);
    int completions = 0;
    for (int i = 0; i < 10; ++i) {
        std::memset(payload, i + 1, sizeof payload);
        const Outcome o = rx.Append(payload, 64);
        if (i < 8) {
            EXPECT_EQ(o, Outcome::Partial) << i;
        }
        if (o == Outcome::DataflashComplete)
            ++completions;
        if (i == 9) {
            EXPECT_EQ(o, Outcome::Dropped);
        }
    }
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(rx.Buffer()[0], 1);
    EXPECT_EQ(rx.Buffer()[575], 9);

    // A second theme read restarts the count.
    rx.Start(lsproto::CmdThemeRead);
    std::memset(payload, 0xAA, sizeof payload);
    EXPECT_EQ(rx.Append(payload, 64), Outcome::Partial);
    rx.Start(lsproto::CmdThemeRead);
    std::memset(payload, 0xBB, sizeof payload);
    EXPECT_EQ(rx.Append(payload, 64), Outcome::Partial);
    EXPECT_EQ(rx.Append(payload, 64), Outcome::ThemeComplete);
    EXPECT_EQ(rx.Append(payload, 64), Outcome::Dropped);
    EXPECT_EQ(rx.Buffer()[0], 0xBB);

    // The theme write expects nothing.
    rx.Start(lsproto::CmdThemeWrite);
    EXPECT_EQ(rx.ExpectedBytes(), 0u);
    EXPECT_EQ(rx.Append(payload, 64), Outcome::Dropped);
}

TEST(DeviceProtocol, OversizedPayloadsNeverOverflow)
{
    lsproto::ReceiveState rx;
    std::vector<std::uint8_t> huge(4000, 0x5A);
    // A report longer than the protocol's payload is no reply: it ends the
    // exchange, and nothing of it is taken.
    for (std::size_t size : {65u, 128u, 4000u})
        for (std::uint8_t code : {lsproto::CmdThemeRead, lsproto::CmdDataflashRead}) {
            rx.Start(code);
            EXPECT_EQ(rx.Append(huge.data(), 64), Outcome::Partial);
            EXPECT_EQ(rx.Append(huge.data(), size), Outcome::Oversized) << size;
            EXPECT_EQ(rx.ReceivedBytes(), 64u);
            EXPECT_EQ(rx.ExpectedBytes(), 0u);
            EXPECT_EQ(rx.Append(huge.data(), 64), Outcome::Dropped);
        }
    // Odd sizes add up exactly.
    rx.Start(lsproto::CmdThemeRead);
    EXPECT_EQ(rx.Append(huge.data(), 63), Outcome::Partial);
    EXPECT_EQ(rx.Append(huge.data(), 63), Outcome::Partial);
    EXPECT_EQ(rx.Append(huge.data(), 63), Outcome::ThemeComplete);
}

TEST(DeviceProtocol, ThemeBlockWordsAreLittleEndian)
{
    std::uint8_t block[lsproto::ThemeBlockSize] = {0x1F, 0x00, 0x00, 0xF8};
    TPackedTheme packed{};
    PackedThemeFromBytes(block, packed);
    TThemeColorTable colors{};
    UnpackTheme(packed, colors);
    EXPECT_EQ(colors[0], MakeColor(0, 0, 255));
    EXPECT_EQ(colors[1], MakeColor(255, 0, 0));
}

}  // namespace
