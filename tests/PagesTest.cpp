// The eight pages in both sizes, checked on their pixels with a theme whose 42
// colours all differ, so every pixel can be traced to its slot.

#include "SlotCatalogue.h"
#include "Unit2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>
#include <string>

namespace {

TThemeColorTable DistinctTheme()
{
    TThemeColorTable colors{};
    for (int i = 0; i < ThemeSlotCount; ++i) {
        const unsigned r5 = static_cast<unsigned>(i % 32), g6 = static_cast<unsigned>((i * 37 + 11) % 64),
                       b5 = i >= 32 ? 31u : static_cast<unsigned>((i * 13) % 31);
        colors[i] = RGB565ToColor((r5 << 11) | (g6 << 5) | b5);
    }
    return colors;
}

std::tm Moment(int year, int month, int day, int hour, int minute)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

class Pages : public ::testing::Test {
protected:
    TThemeColorTable colors = DistinctTheme();
    bool small = false;
    TLSDrawer drawer{colors, small};

    void SetUp() override { drawer.SetClock(FixedClock(Moment(2026, 12, 8, 9, 5))); }

    const Bitmap& Draw(int page, bool smallDisplay)
    {
        small = smallDisplay;
        drawer.DrawPage(page);
        return drawer.Bitmap();
    }
    TColor At(int x, int y) const { return drawer.Bitmap().Pixel(x, y); }

    // The cells of `text` as DrawTextBox paints them with their top-left at
    // (x, y) must appear on the page exactly there (from row minRow on).
    void ExpectTextAt(const std::string& text, int x, int y, int font, int bgSlot, int fgSlot, int minRow = 0,
                      int endRow = PreviewHeight)
    {
        // The scratch theme holds the page's two colours and, in a third slot,
        // a colour the page never shows.
        const TColor sentinel = MakeColor(3, 1, 4);
        TThemeColorTable scratchColors{};
        scratchColors[0] = sentinel;
        scratchColors[1] = colors[bgSlot];
        scratchColors[2] = colors[fgSlot];
        TLSDrawer scratch(scratchColors, small);
        scratch.FillBox(0, 0, PreviewWidth, PreviewHeight, SlotId::Main_Background);
        scratch.DrawTextBox(text, x, y, 0, 0, SlotId::Main_Divider, SlotId::Main_DivSq, static_cast<std::uint8_t>(font),
                            0);
        int compared = 0, wrong = 0;
        for (int py = std::max(minRow, 0); py < endRow; ++py)
            for (int px = 0; px < PreviewWidth; ++px) {
                const TColor want = scratch.Bitmap().Pixel(px, py);
                if (want == sentinel)
                    continue;
                ++compared;
                if (At(px, py) != want && ++wrong <= 3)
                    ADD_FAILURE() << '"' << text << "\" expected at (" << x << "," << y << "): pixel (" << px << ","
                                  << py << ") differs";
            }
        EXPECT_GT(compared, 0) << text;
        EXPECT_EQ(wrong, 0) << '"' << text << "\" at (" << x << "," << y << ")";
    }
    void ExpectFilled(int x1, int y1, int x2, int y2, int slot)
    {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x)
                ASSERT_EQ(At(x, y), colors[slot]) << "(" << x << "," << y << ") should be slot " << slot;
    }
};

TEST_F(Pages, MainPageLargeWorkedPositions)
{
    Draw(0, false);
    ExpectTextAt("42.0", 64, 63, 0, 0, 8);
    ExpectTextAt("W", 108, 137, 1, 0, 9);
    // Clock: colon box x 119..123, hours right-aligned ending at 118, minutes from 124.
    ExpectTextAt(":", 119, 4, 6, 0, 5);
    ExpectTextAt("09", 119 - 23, 4, 6, 0, 5);
    ExpectTextAt("05", 124, 4, 6, 0, 5);
    // Info field 1: number from x 40, its unit from x 72 four rows lower.
    ExpectTextAt("0.0", 40, 197, 3, 0, 14);
    ExpectTextAt("A", 72, 201, 6, 0, 15);
    ExpectTextAt("CURRENT", 11 + (100 - 79 + 1) / 2, 234, 6, 0, 16);
    // Fixed values flush with the side margins.
    ExpectTextAt("V", 223, 146, 6, 0, 13);
    ExpectTextAt("3.30", 223 - 45, 142, 3, 0, 12);
    ExpectTextAt("0.00", 6, 142, 3, 0, 12);
    ExpectTextAt("@", 51, 146, 6, 0, 13);
    // Battery outlines: the charge level fills their inside afterwards, so check
    // the rows above it.
    ExpectTextAt("1", 5, 6, 4, 0, 3, 0, 8);
    ExpectTextAt("2", 203, 6, 4, 0, 3, 0, 8);
    ExpectFilled(7, 8, 20, 19, 3);
    ExpectFilled(21, 224, 26, 229, 2);
    ExpectFilled(5, 45, 65, 46, 1);
}

TEST_F(Pages, MainPageVariantsLarge)
{
    Draw(1, false);
    ExpectTextAt("235", 63 + (115 - 99 + 1) / 2, 63, 0, 0, 8);
    ExpectTextAt("TCR", 5, 52, 6, 0, 7);
    ExpectTextAt("*C", 90 + (60 - 25 + 1) / 2, 137, 1, 0, 10);

    Draw(2, false);
    ExpectTextAt("POWER BANK", 60 + (120 - 113 + 1) / 2, 36, 6, 0, 6);
    ExpectTextAt("OFF", 63 + (115 - 32 + 1) / 2, 63 + 21, 6, 0, 8);
    ExpectTextAt("0.00", 11 + (100 - 45 - 11 + 1) / 2, 197, 3, 0, 14);
    ExpectFilled(5, 45, 45, 46, 1);
    EXPECT_EQ(At(50, 45), colors[0]);

    Draw(3, false);
    ExpectTextAt("DEVICE", (240 - 61 + 1) / 2, 56, 6, 0, 19);
    // No title, no title dividers, no arc, no fixed values.
    EXPECT_EQ(At(30, 45), colors[0]);
    for (int x = 0; x < 240; ++x)
        for (int y = 100; y < 134; ++y)
            ASSERT_TRUE(At(x, y) != colors[9] && At(x, y) != colors[10] && At(x, y) != colors[11]);
}

TEST_F(Pages, MainPageSmallWorkedPositions)
{
    Draw(0, true);
    ExpectTextAt("42.0", 82, 124, 7, 0, 8);
    ExpectTextAt("W", 132, 124, 7, 0, 9);
    ExpectTextAt("50%", 131, 80, 8, 0, 3);
    ExpectFilled(83, 83, 93, 90, 3);
    // Info row boxes have cut corners.
    EXPECT_EQ(At(108, 182), colors[0]);
    EXPECT_EQ(At(109, 182), colors[2]);
    EXPECT_EQ(At(159, 182), colors[0]);
    EXPECT_EQ(At(159, 183), colors[2]);

    Draw(1, true);
    ExpectTextAt("235", 84, 124, 7, 0, 8);
    ExpectTextAt("*C", 128, 124, 7, 0, 10);

    Draw(3, true);
    ExpectTextAt("09", 80 + 16 - 16, 80, 8, 0, 5);
    ExpectTextAt("05", 99, 80, 8, 0, 5);
    ExpectTextAt("PROFILE1", 91, 99, 8, 0, 6);
}

TEST_F(Pages, MenuAndInfo)
{
    Draw(4, false);
    ExpectTextAt("LARKSPUR", 76, 11, 6, 20, 21);
    ExpectTextAt("SETTINGS", 10, 116, 6, 23, 25);
    const int settingsWidth = 11 + 10 + 11 + 11 + 5 + 12 + 12 + 11;
    for (int y = 110; y < 138; ++y)
        for (int x = 5; x < 235; ++x) {
            const bool inText = x >= 10 && x < 10 + settingsWidth && y >= 116 && y < 133;
            if (!inText) {
                ASSERT_EQ(At(x, y), colors[23]) << x << "," << y;
            }
        }
    EXPECT_EQ(At(4, 110), colors[20]);
    EXPECT_EQ(At(235, 137), colors[20]);

    Draw(4, true);
    ExpectFilled(80, 135, 81, 150, 23);
    ExpectFilled(80, 149, 160, 150, 23);
    EXPECT_EQ(At(80, 134), colors[20]);
    EXPECT_EQ(At(160, 140), colors[20]);

    Draw(5, true);
    ExpectTextAt("<", 80, 224, 8, 29, 33);
    ExpectTextAt(">", 153, 224, 8, 29, 33);
    Draw(5, false);
    ExpectTextAt("<", 20, 280, 6, 29, 33);
    ExpectTextAt(">", 200 + 20 - 9, 280, 6, 29, 33);
}

TEST_F(Pages, ChargeAndSaverClocks)
{
    // DrawClockLarge at Y 35: digit boxes 42..77, 78..113, colon 114..126, 127..162, 163..198.
    Draw(6, false);
    ExpectTextAt("0", 42 + 2, 35, 0, 34, 41);
    ExpectTextAt("9", 78 + 2, 35, 0, 34, 41);
    ExpectTextAt("0", 127 + 2, 35, 0, 34, 41);
    ExpectTextAt("5", 163 + 2, 35, 0, 34, 41);
    ExpectTextAt(".", 114, 35 - 35, 0, 34, 41);
    ExpectTextAt(".", 114, 35 - 12, 0, 34, 41, 35 + 24);  // below the upper cell
    // The battery images and the charge levels.
    for (int left : {39, 139}) {
        EXPECT_EQ(At(left + 19, 180), colors[35]);
        EXPECT_EQ(At(left + 18, 180), colors[34]);
        EXPECT_EQ(At(left, 195), colors[35]);
        EXPECT_EQ(At(left + 10, 195), colors[34]);
        EXPECT_EQ(At(left + 61, 194), colors[35]);
        EXPECT_EQ(At(left + 6, 277), colors[35]);
        EXPECT_EQ(At(left + 5, 277), colors[34]);
        EXPECT_EQ(At(left + 62, 194), colors[34]);
        EXPECT_EQ(At(left + 30, 278), colors[34]);
    }
    ExpectFilled(51, 232, 89, 267, 35);
    ExpectFilled(151, 232, 189, 267, 35);
    EXPECT_EQ(At(50, 231), colors[34]);

    // DrawClockSmall at Y 81: hours right-aligned in 80..116, colon 118..122, minutes from 125.
    Draw(6, true);
    ExpectTextAt("09", 87, 81, 7, 34, 41);
    ExpectTextAt(".", 118, 81 - 15, 7, 34, 41);
    ExpectTextAt("05", 125, 81, 7, 34, 41);
    ExpectFilled(98 + 15, 149, 98 + 29, 150, 35);
    ExpectFilled(107, 188, 133, 213, 35);

    Draw(7, false);
    ExpectTextAt("0", 44, 108, 0, 26, 27);
    ExpectTextAt("5", 165, 108, 0, 26, 27);
    ExpectTextAt("08.12.26", 83, 190, 6, 26, 28);
    Draw(7, true);
    ExpectTextAt("09", 87, 147, 7, 26, 27);
    ExpectTextAt("08.12.26", 80 + (80 - 52 + 1) / 2, 187, 8, 26, 28);
}

// The hit regions are hand-measured rectangles: a painted pixel may stand up to
// two pixels beyond them (battery terminals, divider ends). Text backgrounds
// (the 80x160 info boxes, the menu cursor) also show through the regions of the
// texts drawn on them, and the 80x160 divider between the fixed values has no
// region of its own.
bool NearOwnRegion(const std::vector<TLSElement>& table, SlotId entry, int slot, int x, int y,
                   bool smallDisplay)
{
    for (const TLSElement& e : table)
        if (e.Color == entry && e.Left - 2 <= x && x <= e.Right + 2 && e.Top - 2 <= y && y <= e.Bottom + 2)
            return true;
    if ((smallDisplay && slot == 2) || slot == 23) {
        int left = 1000, top = 1000, right = -1, bottom = -1;
        for (const TLSElement& e : table) {
            if (e.Left - 2 <= x && x <= e.Right + 2 && e.Top - 2 <= y && y <= e.Bottom + 2)
                return true;
            if (e.Color == entry) {
                left = std::min(left, e.Left);
                top = std::min(top, e.Top);
                right = std::max(right, e.Right);
                bottom = std::max(bottom, e.Bottom);
            }
        }
        if (left - 2 <= x && x <= right + 2 && top - 2 <= y && y <= bottom + 2)
            return true;
    }
    return smallDisplay && slot == 1 && x == 121 && y >= 159 && y < 176;
}

// Every page, both sizes: only its own slots (and ramps between them) appear,
// the small screen leaves the rest of the bitmap alone, every solid slot pixel
// lies inside a hit region of that slot, and drawing again gives the same bitmap.
TEST_F(Pages, EveryPixelBelongsToThePageAndItsHitRegions)
{
    TSlotCatalogue catalogue;
    for (int page = 0; page < PageCount; ++page)
        for (bool smallDisplay : {false, true}) {
            SCOPED_TRACE("page " + std::to_string(page) + (smallDisplay ? " 80x160" : " 240x320"));
            const auto& table = *catalogue.GetPageElements(page, smallDisplay);
            const TColor background = colors[std::size_t(table.back().Color)];
            std::set<int> slots;
            for (const TLSElement& e : table)
                slots.insert(static_cast<int>(e.Color));
            std::set<TColor> allowed;
            for (int bg : slots)
                for (int fg : slots)
                    for (int i = 0; i < 16; ++i)
                        allowed.insert(RampBlend(colors[bg], colors[fg], i));

            Draw((page + 3) % PageCount, !smallDisplay);  // leave something else behind first
            const Bitmap first = Draw(page, smallDisplay);
            std::set<int> seen;
            int stray = 0, outside = 0;
            for (int y = 0; y < PreviewHeight; ++y)
                for (int x = 0; x < PreviewWidth; ++x) {
                    const TColor c = first.Pixel(x, y);
                    if (!allowed.count(c) && ++stray <= 3)
                        ADD_FAILURE() << "pixel (" << x << "," << y << ") is no colour of this page";
                    if (smallDisplay && (x < 80 || x > 159 || y < 80 || y > 239) && c != background)
                        ++outside;
                    for (int s : slots)
                        if (c == colors[s] && c != background) {
                            seen.insert(s);
                            if (!NearOwnRegion(table, static_cast<SlotId>(s), s, x, y, smallDisplay) && ++stray <= 6)
                                ADD_FAILURE() << "slot " << s << " at (" << x << "," << y << ") far from its regions";
                        }
                }
            EXPECT_EQ(stray, 0);
            EXPECT_EQ(outside, 0);
            EXPECT_EQ(seen.size() + 1, slots.size()) << "a slot of the list never appears on the page";
            Draw(page, smallDisplay);
            EXPECT_TRUE(std::equal(first.Data(), first.Data() + PreviewWidth * PreviewHeight * 3, drawer.Bitmap().Data()));
        }
}

// The record beside the bitmap: every pixel of every page variant has exactly
// the colour its record names, so no primitive paints one slot and records
// another. Drawn after other pages, so nothing left behind can pass either.
TEST_F(Pages, EveryPixelHasTheColourItsRecordNames)
{
    for (int page = 0; page < PageCount; ++page)
        for (bool smallDisplay : {false, true}) {
            Draw((page + 5) % PageCount, !smallDisplay);
            const Bitmap& bitmap = Draw(page, smallDisplay);
            const SlotMap& record = drawer.Slots();
            int wrong = 0, blends = 0;
            for (int y = 0; y < PreviewHeight; ++y)
                for (int x = 0; x < PreviewWidth; ++x) {
                    const PixelSlots p = record.At(x, y);
                    const TColor want = RampBlend(colors[SlotIndex(p.bg)], colors[SlotIndex(p.fg)], p.level);
                    blends += p.level != 0 && p.level != 15;
                    if (bitmap.Pixel(x, y) != want && ++wrong <= 3)
                        ADD_FAILURE() << "page " << page << (smallDisplay ? " 80x160" : " 240x320") << " pixel (" << x
                                      << "," << y << ") records fg " << SlotIndex(p.fg) << " bg " << SlotIndex(p.bg)
                                      << " level " << p.level;
                }
            EXPECT_EQ(wrong, 0);
            // The large pages' text is anti-aliased; the small ones' is not.
            EXPECT_EQ(blends > 0, !smallDisplay) << "page " << page;
        }
}

TEST_F(Pages, TimeAndDateKeepTheirLeadingZeros)
{
    drawer.SetClock(FixedClock(Moment(2031, 1, 2, 0, 0)));
    Draw(7, false);
    ExpectTextAt("0", 44, 108, 0, 26, 27);
    ExpectTextAt("02.01.31", 84, 190, 6, 26, 28);
    drawer.SetClock(FixedClock(Moment(2026, 12, 8, 23, 59)));
    Draw(0, false);
    ExpectTextAt("23", 119 - 22, 4, 6, 0, 5);
    ExpectTextAt("59", 124, 4, 6, 0, 5);
}

// The drawer keeps state between pages to save work: the ramp and the tables
// it builds from it. None of it may show: any sequence of pages and theme
// changes must give, page by page, the picture a fresh drawer gives.
TEST(PageShortcuts, NeverChangeThePicture)
{
    std::mt19937 random(1208);
    std::vector<TThemeColorTable> themes;
    themes.push_back(DistinctTheme());
    TThemeColorTable theme{};
    LoadDefaultTheme(theme);
    themes.push_back(theme);
    theme.fill(MakeColor(7, 77, 177));  // every slot the background: the most to skip
    themes.push_back(theme);
    for (int k = 0; k < 4; ++k) {
        const TColor palette[3] = {static_cast<TColor>(random() & 0xFFFFFF), static_cast<TColor>(random() & 0xFFFFFF),
                                   static_cast<TColor>(random() & 0xFFFFFF)};
        for (TColor& c : theme)
            c = palette[random() % 3];
        themes.push_back(theme);
    }

    TThemeColorTable colors{};
    bool small = false;
    TLSDrawer kept(colors, small);
    const ClockSource clock = FixedClock(Moment(2026, 12, 8, 9, 5));
    kept.SetClock(clock);
    for (int round = 0; round < 2; ++round)
        for (std::size_t t = 0; t < themes.size(); ++t)
            for (int smallDisplay = 0; smallDisplay < 2; ++smallDisplay)
                for (int page = 0; page < 8; ++page) {
                    colors = themes[(t + static_cast<std::size_t>(round * page)) % themes.size()];
                    small = smallDisplay != 0;
                    kept.DrawPage(page);

                    TThemeColorTable freshColors = colors;
                    bool freshSmall = small;
                    TLSDrawer fresh(freshColors, freshSmall);
                    fresh.SetClock(clock);
                    fresh.DrawPage(page);
                    const Bitmap& a = kept.Bitmap();
                    const Bitmap& b = fresh.Bitmap();
                    EXPECT_TRUE(std::equal(a.Data(), a.Data() + PreviewWidth * PreviewHeight * 3, b.Data()))
                        << "theme " << t << ", page " << page << (small ? " small" : " large") << ", round "
                        << round;
                }
}

}  // namespace
