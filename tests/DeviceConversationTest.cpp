// The device conversation on report bytes alone: what it writes, what each
// reply makes of it, and the device's own bytes it keeps. Each case starts
// from a conversation of its own.

#include "DeviceConversation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Event = DeviceConversation::Event;

struct Wire : DevicePort {
    std::vector<std::vector<std::uint8_t>> written;
    int failAfter = -1;  // writes that still go through; -1 = all
    bool WriteReport(const std::uint8_t* report, std::size_t length, std::string* error) override
    {
        if (failAfter == 0) {
            *error = "unplugged";
            return false;
        }
        if (failAfter > 0)
            --failAfter;
        written.emplace_back(report, report + length);
        return true;
    }
    void DiscardInput() override {}
    std::uint8_t Command(std::size_t i) const { return written.at(i).at(1); }
};

struct Link {
    Wire wire;
    DeviceConversation talk;
    explicit Link(std::size_t inputLength = 65) { talk.Attach(wire, {"dev-1", 0x0416, inputLength, 65}); }
    // Feeds bytes as reports of `size` payload bytes; the last outcome.
    DeviceConversation::Outcome Feed(const std::vector<std::uint8_t>& bytes, std::size_t size = 64)
    {
        DeviceConversation::Outcome last;
        for (std::size_t at = 0; at < bytes.size(); at += size) {
            std::vector<std::uint8_t> report(size, 0);
            std::copy(bytes.begin() + static_cast<long>(at),
                      bytes.begin() + static_cast<long>(std::min(bytes.size(), at + size)), report.begin());
            last = talk.OnReport(report.data(), report.size());
        }
        return last;
    }
};

std::vector<std::uint8_t> DeviceBlock()
{
    std::vector<std::uint8_t> block(128);
    for (std::size_t k = 0; k < block.size(); ++k)
        block[k] = static_cast<std::uint8_t>(k < 84 ? 0xA0 : k);  // its own bytes 84..127 are k
    return block;
}

std::vector<std::uint8_t> Dataflash(std::uint8_t displayType, int stamp)
{
    std::vector<std::uint8_t> flash(576, 0);
    flash[12] = displayType;
    flash[516] = static_cast<std::uint8_t>(stamp / 10000);
    flash[517] = static_cast<std::uint8_t>(stamp / 100 % 100);
    flash[518] = static_cast<std::uint8_t>(stamp % 100);
    return flash;
}

PackedThemeBlock Theme(std::uint8_t fill)
{
    PackedThemeBlock theme{};
    theme.fill(fill);
    return theme;
}

}  // namespace

TEST(DeviceConversation, FirmwareCheckAndItsOpenWait)
{
    const struct {
        std::uint8_t display;
        int stamp;
        Event event;
    } cases[] = {{0xCF, 190225, Event::Connected}, {0xCF, 190224, Event::Incompatible}, {0x00, 250101, Event::Incompatible}};
    for (const auto& c : cases) {
        Link link;
        EXPECT_EQ(link.talk.BeginFirmwareCheck("").event, Event::None);
        EXPECT_EQ(link.wire.Command(0), 0x35);
        EXPECT_FALSE(link.talk.DeadlineMs());  // a device that never answers is waited for
        EXPECT_EQ(link.talk.OnDeadline().event, Event::None);
        EXPECT_EQ(link.Feed(Dataflash(c.display, c.stamp)).event, c.event);
    }
}

TEST(DeviceConversation, ReportsOfAnyOtherLengthAreDeviceErrors)
{
    // Short replies are no zeros, long ones no reply: in the firmware check,
    // a download and the read an upload starts with.
    for (std::size_t size : {1u, 2u, 7u, 13u, 32u, 63u, 65u}) {
        for (int phase = 0; phase < 3; ++phase) {
            Link link;
            if (phase == 0)
                link.talk.BeginFirmwareCheck("");
            else if (phase == 1)
                link.talk.BeginDownload();
            else
                link.talk.BeginUpload(Theme(0x11));
            const std::size_t writes = link.wire.written.size();
            const auto outcome = link.Feed(std::vector<std::uint8_t>(size, 0x5A), size);
            EXPECT_EQ(outcome.event, Event::DeviceError) << size << " bytes, phase " << phase;
            EXPECT_EQ(outcome.message, "A device error has occurred");
            EXPECT_FALSE(link.talk.Busy());
            EXPECT_EQ(link.wire.written.size(), writes) << "nothing is written after a bad reply";
        }
    }
}

TEST(DeviceConversation, UploadKeepsTheDevicesOwnBytes)
{
    // Without a block of this device, the upload reads it first.
    Link link;
    link.talk.BeginUpload(Theme(0x11));
    ASSERT_EQ(link.wire.written.size(), 1u);
    EXPECT_EQ(link.wire.Command(0), 0x90);
    EXPECT_EQ(link.Feed(DeviceBlock()).event, Event::None);
    ASSERT_EQ(link.wire.written.size(), 5u);  // write command, two data reports, read-back command
    EXPECT_EQ(link.wire.Command(1), 0x91);
    EXPECT_EQ(link.wire.Command(4), 0x90);
    std::vector<std::uint8_t> sent(link.wire.written[2].begin() + 1, link.wire.written[2].end());
    sent.insert(sent.end(), link.wire.written[3].begin() + 1, link.wire.written[3].end());
    for (std::size_t k = 0; k < 128; ++k)
        ASSERT_EQ(sent[k], k < 84 ? 0x11 : k) << k;
    std::vector<std::uint8_t> back = sent;
    EXPECT_EQ(link.Feed(back).event, Event::Uploaded);

    // The next upload to the same device sends the same bytes at once; what
    // it reads back decides.
    link.wire.written.clear();
    link.talk.BeginUpload(Theme(0x22));
    ASSERT_EQ(link.wire.written.size(), 4u);
    EXPECT_EQ(link.wire.Command(0), 0x91);
    EXPECT_EQ(link.wire.written[2][1 + 84 - 64], 84);
    EXPECT_EQ(link.Feed(back).event, Event::NotStored);

    // Another appearance of a device has bytes of its own: read them first.
    link.talk.Attach(link.wire, {"dev-2", 0x0416, 65, 65});
    link.wire.written.clear();
    link.talk.BeginUpload(Theme(0x33));
    EXPECT_EQ(link.wire.Command(0), 0x90);
}

TEST(DeviceConversation, AnUploadCutOffIsADeviceError)
{
    // Unplugged after each of its writes, or silent before the read-back.
    for (int writes = 0; writes <= 4; ++writes) {
        Link link;
        link.talk.BeginDownload();
        link.Feed(DeviceBlock());
        link.wire.failAfter = writes;
        const auto begun = link.talk.BeginUpload(Theme(0x44));
        const auto gone = link.talk.Detach();
        EXPECT_TRUE(begun.event == Event::DeviceError || gone.event == Event::DeviceError) << writes;
        EXPECT_EQ(gone.event, Event::DeviceError) << writes;
        // Said so the user knows the device may hold part of the theme.
        EXPECT_EQ(gone.message, "The device was unplugged during the upload: upload the theme again") << writes;
    }
    // A download cut off says no more than that.
    Link download;
    download.talk.BeginDownload();
    EXPECT_EQ(download.talk.Detach().message, "A device error has occurred");
    Link late;
    late.talk.BeginUpload(Theme(0x44));
    EXPECT_EQ(late.talk.DeadlineMs(), DeviceConversation::ReplyDeadlineMs);
    EXPECT_EQ(late.talk.OnDeadline().event, Event::DeviceError);  // the device's own bytes never came
    Link verify;
    verify.talk.BeginUpload(Theme(0x44));
    verify.Feed(DeviceBlock());
    EXPECT_EQ(verify.talk.OnDeadline().event, Event::NotStored);
    EXPECT_EQ(verify.Feed(DeviceBlock()).event, Event::None);  // too late: dropped
    // Nothing under way, nothing failed: an unplug is no error.
    Link idle;
    EXPECT_EQ(idle.talk.Detach().event, Event::None);
}
