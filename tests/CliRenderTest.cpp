// lsthtool render and fonts, run as a user would.

#include "PngRead.h"
#include "RunCommand.h"
#include "TempDir.h"
#include "ColorText.h"
#include "PictureMaker.h"
#include "PictureSeeds.h"
#include "ThemeFile.h"
#include "ThemeCard.h"
#include "ThemeGenerator.h"
#include "Unit2.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

class CliRender : public ::testing::Test {
protected:
    TempDir dir;
    CommandResult Run(const std::string& args) { return RunCommand(std::string(LSTHTOOL) + " " + args, dir.File("stderr")); }
    std::string Q(const std::string& name) { return "'" + dir.File(name) + "'"; }
};

std::tm At905()
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 9;
    t.tm_min = 5;
    return t;
}

// 42 different colours, so every pixel tells its slot.
TThemeColorTable DistinctTheme()
{
    TThemeColorTable colors{};
    for (int i = 0; i < ThemeSlotCount; ++i)
        colors[i] = RGB565ToColor(static_cast<TRGB565>(i * 1561 + 99));
    return colors;
}

bool SaveSmallTheme(const std::string& path, const TThemeColorTable& colors)
{
    TPackedTheme packed{};
    std::string name;
    return SaveTheme(path, colors, packed, true, name);
}

// The drawer's own picture of a page, to compare the PNG with.
void ExpectPageInImage(const RgbImage& image, int left, int page, const TThemeColorTable& colors, bool small)
{
    bool smallDisplay = small;
    TLSDrawer drawer(colors, smallDisplay);
    drawer.SetClock(FixedClock(At905()));
    drawer.DrawPage(page);
    int wrong = 0;
    for (int y = 0; y < PreviewHeight; ++y)
        for (int x = 0; x < PreviewWidth; ++x)
            wrong += image.Pixel(left + x, y) != drawer.Bitmap().Pixel(x, y);
    EXPECT_EQ(wrong, 0) << "page " << page << " at x " << left;
}

TEST_F(CliRender, OnePageIsExactlyTheDrawersBitmap)
{
    ASSERT_EQ(Run("render --page 6 --at '2026-12-08 09:05' -o " + Q("p6.png")).exitCode, 0);
    RgbImage image;
    ASSERT_TRUE(ReadPng(dir.File("p6.png"), image));
    EXPECT_EQ(image.width, 240);
    EXPECT_EQ(image.height, 320);
    TThemeColorTable defaults{};
    LoadDefaultTheme(defaults);
    ExpectPageInImage(image, 0, 6, defaults, false);
}

TEST_F(CliRender, AllPagesOfAFileSideBySideInItsDisplaySize)
{
    const TThemeColorTable colors = DistinctTheme();
    ASSERT_TRUE(SaveSmallTheme(dir.File("t.lsth"), colors));
    ASSERT_EQ(Run("render " + Q("t.lsth") + " --page all --at '2026-12-08 09:05' -o " + Q("all.png")).exitCode, 0);
    RgbImage image;
    ASSERT_TRUE(ReadPng(dir.File("all.png"), image));
    EXPECT_EQ(image.width, 1920);
    EXPECT_EQ(image.height, 320);
    for (int page = 0; page < 8; ++page)
        ExpectPageInImage(image, page * 240, page, colors, true);

    // --display overrides the file's size.
    ASSERT_EQ(Run("render " + Q("t.lsth") + " --page 0 --display 240x320 --at '2026-12-08 09:05' -o " + Q("p0.png"))
                  .exitCode, 0);
    ASSERT_TRUE(ReadPng(dir.File("p0.png"), image));
    ExpectPageInImage(image, 0, 0, colors, false);
}

// The slot map and inspect tell what the drawer's own record says, for the
// file's theme at the file's display size.
TEST_F(CliRender, SlotMapAndInspectShowTheDrawersRecord)
{
    const TThemeColorTable colors = DistinctTheme();
    ASSERT_TRUE(SaveSmallTheme(dir.File("t.lsth"), colors));
    ASSERT_EQ(Run("render " + Q("t.lsth") + " --page all --slot-map --at '2026-12-08 09:05' -o " + Q("map.png")).exitCode, 0);
    RgbImage map;
    ASSERT_TRUE(ReadPng(dir.File("map.png"), map));
    ASSERT_EQ(map.width, 1920);
    bool small = true;
    TLSDrawer drawer(colors, small);
    drawer.SetClock(FixedClock(At905()));
    for (int page = 0; page < 8; ++page) {
        drawer.DrawPage(page);
        int wrong = 0;
        for (int y = 0; y < PreviewHeight; ++y)
            for (int x = 0; x < PreviewWidth; ++x) {
                const PixelSlots p = drawer.Slots().At(x, y);
                const TColor want = MakeColor(SlotIndex(p.fg), SlotIndex(p.bg), 17 * p.level);
                wrong += map.Pixel(page * 240 + x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << "page " << page;
    }

    // The selected item of the 80x160 menu: its text on the cursor bar.
    drawer.DrawPage(4);
    for (const auto& [x, y] : {std::pair{100, 140}, std::pair{84, 140}, std::pair{0, 0}}) {
        const PixelSlots p = drawer.Slots().At(x, y);
        const CommandResult r = Run("inspect " + Q("t.lsth") + " --page 4 --at '2026-12-08 09:05' " +
                                    std::to_string(x) + " " + std::to_string(y));
        ASSERT_EQ(r.exitCode, 0);
        const std::string first = std::to_string(x) + " " + std::to_string(y) + " fg=" + std::to_string(SlotIndex(p.fg)) +
                                  " bg=" + std::to_string(SlotIndex(p.bg)) + " level=" + std::to_string(p.level) + "\n";
        EXPECT_EQ(r.out.substr(0, first.size()), first);
    }
    const CommandResult named = Run("inspect " + Q("t.lsth") + " --page 4 100 140");
    EXPECT_NE(named.out.find("fg 25 Menu_TextSelected \"Selected Item\""), std::string::npos) << named.out;
    EXPECT_NE(named.out.find("bg 23 Menu_Cursor \"Cursor\""), std::string::npos) << named.out;
    for (const char* bad : {"--page 4 240 0", "--page 4 1", "--page all 1 1", "--page 4 1 2 3 4", "--page 4 -1 5"})
        EXPECT_EQ(Run(std::string("inspect ") + bad).exitCode, 2) << bad;
}

TEST_F(CliRender, BadArgumentsGiveOneLine)
{
    WriteText(dir.File("bad.lsth"), "[Main]\r\nMain_Dom=white\r\n");
    const std::string longValue(300, 'z');
    const struct {
        const char* command;
        std::string args;
        int exitCode;
    } cases[] = {
        // A theme file that cannot be read is the file's fault.
        {"render", "'NOFILE.lsth' --page 0 -o x.png", 1},
        // The command line is wrong: a value out of range, missing or no moment.
        {"render", "--page 8 -o x.png", 2}, {"render", "--page 0", 2}, {"render", "-o x.png", 2},
        {"render", "--page 0 --display 100x100 -o x.png", 2}, {"render", "--page 0 --at 'yesterday' -o x.png", 2},
        {"render", "--page 0 --at '2026-13-01 10:00' -o x.png", 2},
        // Days the calendar does not have, a missing space, nothing at all.
        {"render", "--page 0 --at '2026-02-30 10:00' -o x.png", 2},
        {"render", "--page 0 --at '2025-02-29 10:00' -o x.png", 2},
        {"render", "--page 0 --at '2026-04-31 10:00' -o x.png", 2},
        {"render", "--page 0 --at '2026-01-0110:00' -o x.png", 2}, {"render", "--page 0 --at '' -o x.png", 2},
        {"render", "--page", 2},
        {"render", "--page 0 --display " + longValue + " -o x.png", 2},
        // The command line itself is wrong: unknown, repeated or not taken.
        {"render", "--frob -o x.png --page 1", 2}, {"render", "--page 0 --page 1 -o x.png", 2},
        {"inspect", "--page 0 -o x.png 1 1", 2}, {"lint", "-o x.png", 2}, {"lint", "--display 80x160 --display 80x160", 2},
        {"lint", "'NOFILE.lsth'", 2},
    };
    for (const auto& c : cases) {
        const CommandResult r = Run(std::string(c.command) + " " + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.command << " " << c.args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
        EXPECT_LT(r.err.size(), 200u) << "a refused value is echoed short";
    }
    EXPECT_EQ(Run("render --page 0 --at '2024-02-29 10:00' -o " + Q("leap.png")).exitCode, 0);
    const CommandResult bad = Run("render " + Q("bad.lsth") + " --page 0 -o " + Q("x.png"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("Main_Dom"), std::string::npos);
    EXPECT_EQ(Run("render --page 0 -o " + Q("no/such/folder.png")).exitCode, 1);
}

TEST_F(CliRender, GlyphSheet)
{
    ASSERT_EQ(Run("fonts -o " + Q("fonts.png")).exitCode, 0);
    RgbImage image;
    ASSERT_TRUE(ReadPng(dir.File("fonts.png"), image));
    EXPECT_EQ(image.width, 1600);
    EXPECT_GT(image.height, 1000);
    EXPECT_EQ(Run("fonts").exitCode, 1);
}

}  // namespace

// lint --fix mends the default theme (whose five pairs fail) at both sizes:
// each change printed, the written theme passes lint at both sizes, the
// original is left alone with -o, and the written file keeps its other lines.
TEST_F(CliRender, LintFixMendsAndWritesTheTheme)
{
    {
        std::ofstream theme(dir.File("mine.lsth"), std::ios::binary);
        theme << "; kept by hand\r\n[Main]\r\nMain_Dom=$FFFF\r\nNote=mine\r\n";
    }
    EXPECT_EQ(Run("lint " + Q("mine.lsth")).exitCode, 1);
    const std::string before = ReadText(dir.File("mine.lsth"));
    const CommandResult fixed = Run("lint " + Q("mine.lsth") + " --fix -o " + Q("fixed.lsth"));
    ASSERT_EQ(fixed.exitCode, 0) << fixed.out << fixed.err;
    EXPECT_EQ(ReadText(dir.File("mine.lsth")), before);
    std::istringstream lines(fixed.out);
    std::string line;
    int changes = 0;
    while (std::getline(lines, line)) {
        ++changes;
        EXPECT_TRUE(std::regex_match(line, std::regex(R"([A-Za-z_]+ #[0-9A-F]{6} -> #[0-9A-F]{6} \(\d+\.\d\d:1 -> \d+\.\d\d:1\))")))
            << line;
    }
    EXPECT_GT(changes, 0);
    for (const char* display : {"240x320", "80x160"})
        EXPECT_EQ(Run("lint " + Q("fixed.lsth") + " --display " + display).exitCode, 0) << display;
    const std::string written = ReadText(dir.File("fixed.lsth"));
    EXPECT_NE(written.find("; kept by hand\r\n"), std::string::npos);
    EXPECT_NE(written.find("Note=mine\r\n"), std::string::npos);
    // In place, and again: nothing left to mend, nothing printed.
    EXPECT_EQ(Run("lint " + Q("mine.lsth") + " --fix").exitCode, 0);
    EXPECT_EQ(Run("lint " + Q("mine.lsth")).exitCode, 0);
    const CommandResult again = Run("lint " + Q("mine.lsth") + " --fix");
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "");
}

// lsthtool generate makes what the generator makes for the same inputs: the
// locks and locked colours of --keep, the seeds a picture proposes. It never
// writes into a file that is no theme.
TEST_F(CliRender, GenerateWritesTheGeneratorsThemeKeepingLocks)
{
    // Locked colours that suit a dark page.
    TThemeColorTable mine = DistinctTheme();
    mine[std::size_t(SlotIndex(SlotId::Main_Dom))] = RGB565ToColor(0xF714);
    mine[std::size_t(SlotIndex(SlotId::Menu_Cursor))] = RGB565ToColor(0xFD00);
    {
        TPackedTheme packed{};
        std::string name;
        const std::vector<int> locked = {SlotIndex(SlotId::Main_Dom), SlotIndex(SlotId::Menu_Cursor)};
        ASSERT_TRUE(SaveTheme(dir.File("mine.lsth"), mine, packed, true, name, nullptr, &locked));
    }
    ASSERT_EQ(Run("render --page 4 --at '2026-12-08 09:05' -o " + Q("picture.png")).exitCode, 0);
    RgbImage picture;
    ASSERT_TRUE(ReadPng(dir.File("picture.png"), picture));
    const std::vector<TColor> pictureSeeds =
        SeedsFromPicture({picture.rgb.data(), picture.width, picture.height, 3, std::size_t(picture.width) * 3});

    struct Case {
        std::string args;
        GenerateOptions options;
        bool keep;
    };
    const Case cases[] = {
        {"--seed '#3080FF' --keep " + Q("mine.lsth"), {{MakeColor(0x30, 0x80, 0xFF)}, true, false, 0}, true},
        {"--seed '#202020' --seed 'rgb(255, 128, 0)' --seed '#00A060' --light --contrast high --variation 77",
         {{MakeColor(0x20, 0x20, 0x20), MakeColor(0xFF, 0x80, 0x00), MakeColor(0x00, 0xA0, 0x60)}, false, true, 77},
         false},
        {"--from-picture " + Q("picture.png") + " --keep " + Q("mine.lsth") + " --variation 5", {pictureSeeds, true, false, 5},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        std::remove(dir.File("out.lsth").c_str());
        const CommandResult r = Run("generate " + c.args + " -o " + Q("out.lsth"));
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        TThemeColorTable defaults{};
        LoadDefaultTheme(defaults);
        const GeneratedTheme expected = c.keep ? GenerateTheme(c.options, mine, {SlotId::Main_Dom, SlotId::Menu_Cursor})
                                               : GenerateTheme(c.options, defaults, {});
        TPackedTheme packed{};
        std::string name;
        bool small = false;
        ThemeLoadReport report;
        ASSERT_TRUE(LoadTheme(dir.File("out.lsth"), packed, [&](bool s) { small = s; }, name, nullptr, &report));
        TThemeColorTable written{};
        UnpackTheme(packed, written);
        EXPECT_EQ(written, expected.colors);
        EXPECT_EQ(small, c.keep);
        const std::vector<int> locks = {SlotIndex(SlotId::Main_Dom), SlotIndex(SlotId::Menu_Cursor)};
        EXPECT_EQ(report.locked, c.keep ? locks : std::vector<int>());
        for (const char* display : {"240x320", "80x160"})
            EXPECT_EQ(Run("lint " + Q("out.lsth") + " --display " + display).exitCode, 0) << display;
    }
    // A JPEG's seeds, as lsthtool prints them, are those the window takes.
    {
        std::vector<std::uint8_t> rgb(std::size_t(64) * 48 * 3);
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            const bool spot = i % (64 * 3) > 50 * 3;
            rgb[i] = spot ? 230 : 60, rgb[i + 1] = spot ? 40 : 90, rgb[i + 2] = spot ? 30 : 120;
        }
        WriteText(dir.File("photo.jpg"), EncodeTestJpeg(64, 48, 3, rgb));
        std::vector<TColor> seeds;
        std::string error;
        ASSERT_TRUE(SeedsFromPictureFile(dir.File("photo.jpg"), seeds, error)) << error;
        std::string printed = "seeds";
        for (TColor seed : seeds)
            printed += " " + ColorToHexText(seed);
        const CommandResult r = Run("generate --from-picture " + Q("photo.jpg") + " -o " + Q("photo.lsth"));
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), printed);
    }
    // A PNG is not a theme to write into; a picture that is none is refused.
    const std::string png = ReadText(dir.File("picture.png"));
    EXPECT_EQ(Run("generate --seed '#3080FF' -o " + Q("picture.png")).exitCode, 1);
    EXPECT_EQ(ReadText(dir.File("picture.png")), png);
    EXPECT_EQ(Run("generate --from-picture " + Q("mine.lsth") + " -o " + Q("x.lsth")).exitCode, 1);
    for (const char* bad : {"--seed '#3080FF'", "--seed nope -o x", "--seed '#000' --from-picture p.png -o x",
                            "--seed '#000' --variation 4294967296 -o x", "--seed '#000' --contrast max -o x"})
        EXPECT_EQ(Run(std::string("generate ") + bad).exitCode, 2) << bad;
}

// diff, convert and card: what differs and nothing else, exit 1 then;
// .lsth through .gpl and .json and back is the same theme; the card is the
// card renderer's pixels.
TEST_F(CliRender, DiffConvertAndCard)
{
    const TThemeColorTable mine = DistinctTheme();
    ASSERT_TRUE(SaveSmallTheme(dir.File("a.lsth"), mine));
    ASSERT_EQ(Run("set " + Q("b.lsth") + " Main_Dom='$F800' Charge_Clock='$001F'").exitCode, 0);
    const CommandResult same = Run("diff " + Q("a.lsth") + " " + Q("a.lsth"));
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "");
    ASSERT_EQ(Run("set " + Q("c.lsth") + " Main_Dom='$F800' Charge_Clock='$001F'").exitCode, 0);
    ASSERT_EQ(Run("set " + Q("d.lsth")).exitCode, 0);
    const CommandResult two = Run("diff " + Q("d.lsth") + " " + Q("c.lsth"));
    EXPECT_EQ(two.exitCode, 1);
    EXPECT_EQ(two.out, "Main_Dom $FFFF $F800\nCharge_Clock $C618 $001F\n");
    EXPECT_EQ(Run("diff " + Q("a.lsth") + " " + Q("missing.lsth")).exitCode, 2);

    for (const char* via : {"t.gpl", "t.json"}) {
        SCOPED_TRACE(via);
        ASSERT_EQ(Run("convert " + Q("a.lsth") + " " + Q(via)).exitCode, 0);
        ASSERT_EQ(Run("convert " + Q(via) + " " + Q("back.lsth")).exitCode, 0);
        EXPECT_EQ(Run("diff " + Q("a.lsth") + " " + Q("back.lsth")).exitCode, 0);
        EXPECT_NE(Run("dump " + Q("back.lsth")).out.find("Display 1"), std::string::npos);
        std::remove(dir.File("back.lsth").c_str());
    }
    ASSERT_EQ(Run("convert " + Q("a.lsth") + " " + Q("t.h")).exitCode, 0);
    EXPECT_NE(ReadText(dir.File("t.h")).find("static const uint16_t larkspur_theme[42]"), std::string::npos);
    WriteText(dir.File("bad.gpl"), "GIMP Palette\n1 2 300 Main_Dom\n");
    const CommandResult refused = Run("convert " + Q("bad.gpl") + " " + Q("never.lsth"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("bad.gpl:2: "), std::string::npos) << refused.err;
    EXPECT_EQ(Run("convert " + Q("a.lsth") + " " + Q("t.txt")).exitCode, 2);
    // A picture that happens to be called .lsth is not written into.
    ASSERT_EQ(Run("render --page 0 -o " + Q("picture.lsth")).exitCode, 0);
    const std::string picture = ReadText(dir.File("picture.lsth"));
    EXPECT_EQ(Run("convert " + Q("t.gpl") + " " + Q("picture.lsth")).exitCode, 1);
    EXPECT_EQ(ReadText(dir.File("picture.lsth")), picture);

    // Each swatch is told from every other by its name under its section's heading.
    std::set<std::string> labels;
    for (int i = 0; i < ThemeSlotCount; ++i)
        labels.insert(std::string(ThemeSlots[std::size_t(i)].section) + ": " + CardSlotLabel(static_cast<SlotId>(i)));
    EXPECT_EQ(labels.size(), std::size_t(ThemeSlotCount));
    EXPECT_EQ(CardSlotLabel(SlotId::Main_AccentPB), "Dominant Acc. - Power Bank");
    ASSERT_EQ(Run("card " + Q("a.lsth") + " --at '2026-12-08 09:05' -o " + Q("card.png")).exitCode, 0);
    RgbImage card;
    ASSERT_TRUE(ReadPng(dir.File("card.png"), card));
    const Bitmap expected = RenderThemeCard(mine, "a", FixedClock(At905()));
    ASSERT_EQ(card.width, expected.Width());
    ASSERT_EQ(card.height, expected.Height());
    int wrong = 0;
    for (int y = 0; y < card.height; ++y)
        for (int x = 0; x < card.width; ++x)
            wrong += card.Pixel(x, y) != expected.Pixel(x, y);
    EXPECT_EQ(wrong, 0);
    // Its pages are the drawer's, at both sizes.
    for (int i = 0; i < 5; ++i) {
        bool small = i == 4;
        TThemeColorTable table = mine;
        TLSDrawer drawer(table, small);
        drawer.SetClock(FixedClock(At905()));
        drawer.DrawPage(CardPages[small ? 0 : i]);
        const int w = small ? 80 : 240, h = small ? 160 : 320, dx = small ? 80 : 0, dy = small ? 80 : 0;
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                differ += card.Pixel(CardPageLeft(i) + x, CardPagesTop + y) != drawer.Bitmap().Pixel(dx + x, dy + y);
        EXPECT_EQ(differ, 0) << "page " << i;
    }
}
