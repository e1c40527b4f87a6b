// Generated themes, judged by the legibility check page by page at both
// sizes: legible, locked slots kept bit for bit, the same for the same
// inputs, the seeds' hues and the scheme's lightness visible, and slots that
// stand for different things apart. And the seeds a picture proposes.

#include "Legibility.h"
#include "Oklab.h"
#include "PictureSeeds.h"
#include "ThemeGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

double HueGap(double a, double b)
{
    const double d = std::fabs(a - b);
    return std::min(d, 360 - d);
}

}  // namespace

TEST(ThemeGenerator, SeededThemesAreLegibleKeepLocksAndRepeat)
{
    std::mt19937 random(1209);
    int unlockedRuns = 0;
    for (int round = 0; round < 100; ++round) {
        GenerateOptions options;
        const int seeds = 1 + int(random() % 3);
        for (int i = 0; i < seeds; ++i)
            options.seeds.push_back(random() & 0xFFFFFF);
        options.dark = random() % 2;
        options.highContrast = random() % 4 == 0;
        options.variation = random() % 3 ? std::uint32_t(random()) : 0;
        TThemeColorTable current{};
        for (TColor& c : current)
            c = RGB565ToColor(random() & 0xFFFF);
        // Half the rounds lock nothing; the others lock up to four slots.
        std::set<SlotId> locked;
        if (round % 2)
            for (int i = 0, n = 1 + int(random() % 4); i < n; ++i)
                locked.insert(static_cast<SlotId>(random() % ThemeSlotCount));
        const std::string where = "round " + std::to_string(round);

        const GeneratedTheme theme = GenerateTheme(options, current, locked);
        ASSERT_EQ(GenerateTheme(options, current, locked).colors, theme.colors) << where;
        for (std::size_t i = 0; i < ThemeSlotCount; ++i) {
            if (locked.count(static_cast<SlotId>(i)))
                ASSERT_EQ(theme.colors[i], current[i]) << where;
            else
                ASSERT_EQ(theme.colors[i], RGB565ToColor(ColorToRGB565(theme.colors[i]))) << where;
        }

        // Every pair at both sizes reaches its need, or is reported, and a
        // reported one has a locked slot in it or next to it.
        for (bool small : {false, true}) {
            TThemeColorTable colors = theme.colors;
            TLSDrawer drawer(colors, small);
            for (const LegibilityPair& p : LegibilityPairs(drawer, colors)) {
                const double need = options.highContrast ? (p.required >= 4.5 ? 7.0 : 4.5) : p.required;
                if (p.ratio >= need)
                    continue;
                bool reported = false;
                for (const UnmendablePair& u : theme.unmendable)
                    reported = reported || (u.fg == p.fg && u.bg == p.bg);
                ASSERT_TRUE(reported) << where << ": " << SlotKey(p.fg) << " on " << SlotKey(p.bg) << " " << p.ratio;
            }
        }
        if (locked.empty()) {
            ++unlockedRuns;
            ASSERT_TRUE(theme.unmendable.empty()) << where;
        }
        // A locked page background or accent can leave no room: a mid-grey
        // page, say, takes near-white or near-black accents, all alike. Apart
        // from those, slots kept apart are, and the accent has the seed's hue.
        bool room = true;
        for (SlotId s : {SlotId::Main_Background, SlotId::Menu_Background, SlotId::Main_AccentPB, SlotId::Main_AccentVW,
                         SlotId::Main_AccentTC, SlotId::Menu_Cursor, SlotId::Menu_Text, SlotId::Menu_TextSelected})
            room = room && !locked.count(s);
        if (!room)
            continue;
        for (const SlotsApart& pair : SlotsKeptApart()) {
            EXPECT_GE(OklabDistance(ToOklab(theme.colors[std::size_t(SlotIndex(pair.a))]),
                                    ToOklab(theme.colors[std::size_t(SlotIndex(pair.b))])),
                      MinimumApart)
                << where << ": " << SlotKey(pair.a) << " and " << SlotKey(pair.b);
        }
        // The scheme and the accent seed show: a dark or a light page, and
        // the value accent in the accent seed's hue where the seed has one.
        const double pageL = ToOklab(theme.colors[std::size_t(SlotIndex(SlotId::Main_Background))]).L;
        EXPECT_TRUE(options.dark ? pageL < 0.35 : pageL > 0.85) << where << ": background lightness " << pageL;
        const Oklch accentSeed = ToOklch(ToOklab(options.seeds[options.seeds.size() > 1 ? 1 : 0]));
        if (accentSeed.C >= 0.08) {
            const Oklch accent = ToOklch(ToOklab(theme.colors[std::size_t(SlotIndex(SlotId::Main_AccentPB))]));
            EXPECT_LT(HueGap(accent.h, accentSeed.h), 30) << where;
        }
    }
    EXPECT_EQ(unlockedRuns, 50);
}

// A picture of a large dull area, a smaller muted one and a small vivid
// spot, each with a little noise: the base is the large area, the first
// accent the vivid spot, though it covers a twentieth.
TEST(PictureSeeds, ThreeColourPictureGivesItsColoursInOrder)
{
    const int width = 600, height = 400;
    const std::size_t stride = width * 4 + 8;  // rows with padding after them
    std::vector<std::uint8_t> pixels(stride * height);
    const TColor dull = MakeColor(0x5A, 0x64, 0x70), muted = MakeColor(0xC8, 0xA0, 0x78), vivid = MakeColor(0xE0, 0x20, 0x1C);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TColor c = x < 420 ? dull : (y < 320 ? muted : vivid);
            std::uint8_t* px = pixels.data() + std::size_t(y) * stride + std::size_t(x) * 4;
            const auto noisy = [&](unsigned v) { return std::uint8_t(int(v) + int(random() % 5) - 2); };
            px[0] = noisy(ColorRed(c));
            px[1] = noisy(ColorGreen(c));
            px[2] = noisy(ColorBlue(c));
            px[3] = 255;
        }
    const std::vector<TColor> seeds = SeedsFromPicture({pixels.data(), width, height, 4, stride});
    ASSERT_EQ(seeds.size(), 3u);
    const TColor expected[3] = {dull, vivid, muted};
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(OklabDistance(ToOklab(seeds[std::size_t(i)]), ToOklab(expected[i])), 0.01)
            << "seed " << i << " is #" << std::hex << seeds[std::size_t(i)];

    // Transparent pixels do not count: with the vivid spot clear, the two
    // others are all there is.
    for (int y = 320; y < height; ++y)
        for (int x = 420; x < width; ++x)
            pixels[std::size_t(y) * stride + std::size_t(x) * 4 + 3] = 0;
    const std::vector<TColor> two = SeedsFromPicture({pixels.data(), width, height, 4, stride});
    ASSERT_EQ(two.size(), 2u);
    EXPECT_LT(OklabDistance(ToOklab(two[1]), ToOklab(muted)), 0.01);
}
