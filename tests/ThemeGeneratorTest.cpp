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

bool WarmYellow(double hue) { return hue >= 40 && hue <= 120; }

TColor Device(TColor c) { return RGB565ToColor(ColorToRGB565(c)); }
TColor At(const GeneratedTheme& t, SlotId s) { return t.colors[std::size_t(SlotIndex(s))]; }
double Distance(TColor a, TColor b) { return OklabDistance(ToOklab(a), ToOklab(b)); }

GeneratedTheme Generate(std::vector<TColor> seeds, GenerateStyle style, bool dark, std::uint32_t variation = 0)
{
    GenerateOptions options;
    options.seeds = std::move(seeds);
    options.style = style;
    options.dark = dark;
    options.variation = variation;
    return GenerateTheme(options, TThemeColorTable{}, {});
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
        options.style = static_cast<GenerateStyle>(random() % GenerateStyleCount);
        options.vividness = random() % 2 ? 100 : int(random() % 151);
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
        // The scheme and the hero show: a dark or a light page, and the arc
        // in the hero's hue where it has one (but for yellow on a light page,
        // where the hero fills areas instead of darkening into olive text).
        const double pageL = ToOklab(theme.colors[std::size_t(SlotIndex(SlotId::Main_Background))]).L;
        EXPECT_TRUE(options.dark ? pageL < 0.35 : pageL > 0.85) << where << ": background lightness " << pageL;
        const Oklch hero = ToOklch(ToOklab(options.seeds[0]));
        if (hero.C * options.vividness / 100 >= 0.08 && (options.dark || !WarmYellow(hero.h))) {
            const Oklch arc = ToOklch(ToOklab(theme.colors[std::size_t(SlotIndex(SlotId::Main_AccentVW))]));
            EXPECT_LT(HueGap(arc.h, hero.h), 30) << where;
        }
    }
    EXPECT_EQ(unlockedRuns, 50);
}

// What a designer keeps: seeds legible as they are come out as they are in
// the fidelity style, neon stays neon in the vibrant one, yellow never turns
// into olive text on a light page, and styles and variations look different.
TEST(ThemeGenerator, TheSeedsAreWhatTheDesignerSees)
{
    const TColor magenta = MakeColor(0xFF, 0x00, 0xFF), cyan = MakeColor(0x00, 0xE5, 0xFF), amber = MakeColor(0xFF, 0xD0, 0x00);
    const GeneratedTheme faithful = Generate({magenta, cyan, amber}, GenerateStyle::Fidelity, true);
    EXPECT_LE(Distance(At(faithful, SlotId::Main_AccentVW), Device(magenta)), 0.02);
    EXPECT_LE(Distance(At(faithful, SlotId::Menu_Cursor), Device(magenta)), 0.02);
    EXPECT_LE(Distance(At(faithful, SlotId::Main_Fixed_Acc), Device(cyan)), 0.02);
    EXPECT_LE(Distance(At(faithful, SlotId::Main_PuffTime_Acc), Device(amber)), 0.02);
    // The hero is on every page: the Select Profile page's header and the screensaver's time.
    EXPECT_LE(Distance(At(faithful, SlotId::Info_Header), Device(magenta)), 0.02);
    EXPECT_LE(Distance(At(faithful, SlotId::Saver_Time), Device(magenta)), 0.02);
    // Generate Theme starts from a theme's own roles and kind of page: a
    // generated theme gives its seeds and its pages back.
    const std::array<TColor, 3> back = ThemeSeeds(faithful.colors);
    const TColor given[3] = {magenta, cyan, amber};
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(Distance(back[static_cast<std::size_t>(i)], Device(given[i])), 0.02) << "seed " << i;
    EXPECT_TRUE(HasDarkPages(faithful.colors));
    EXPECT_FALSE(HasDarkPages(Generate({magenta, cyan, amber}, GenerateStyle::Fidelity, false).colors));

    const double seedChroma = ToOklch(ToOklab(Device(magenta))).C;
    for (GenerateStyle style : {GenerateStyle::Fidelity, GenerateStyle::Vibrant})
        EXPECT_GE(ToOklch(ToOklab(At(Generate({magenta}, style, true), SlotId::Main_AccentVW))).C, 0.9 * seedChroma);

    const std::vector<ContrastNeed> needs = GenerationNeeds(false);
    for (TColor yellow : {MakeColor(0xFF, 0xCC, 0x00), MakeColor(0xFD, 0xD8, 0x35), MakeColor(0xFF, 0x8F, 0x00)})
        for (int style = 0; style < GenerateStyleCount; ++style) {
            const GeneratedTheme light = Generate({yellow}, static_cast<GenerateStyle>(style), false);
            for (const ContrastNeed& n : needs) {
                const Oklch text = ToOklch(ToOklab(At(light, n.fg)));
                EXPECT_FALSE(WarmYellow(text.h) && text.C > 0.04 && text.L < 0.6)
                    << StyleName(static_cast<GenerateStyle>(style)) << ": " << SlotKey(n.fg) << " is olive or brown";
            }
        }

    // Each style of one seed set, and each variation of a style, differ.
    const auto apart = [](const GeneratedTheme& a, const GeneratedTheme& b) {
        double sum = 0;
        for (std::size_t i = 0; i < a.colors.size(); ++i)
            sum += Distance(a.colors[i], b.colors[i]);
        return sum / double(a.colors.size());
    };
    const TColor blue = MakeColor(0x1E, 0x88, 0xE5);
    for (int a = 0; a < GenerateStyleCount; ++a)
        for (int b = a + 1; b < GenerateStyleCount; ++b)
            EXPECT_GE(apart(Generate({blue}, static_cast<GenerateStyle>(a), true), Generate({blue}, static_cast<GenerateStyle>(b), true)),
                      0.02)
                << StyleName(static_cast<GenerateStyle>(a)) << " and " << StyleName(static_cast<GenerateStyle>(b));
    for (GenerateStyle style : {GenerateStyle::Fidelity, GenerateStyle::Vibrant, GenerateStyle::Expressive}) {
        const GeneratedTheme plain = Generate({blue}, style, true), varied = Generate({blue}, style, true, 7);
        EXPECT_GE(Distance(At(plain, SlotId::Main_Fixed_Acc), At(varied, SlotId::Main_Fixed_Acc)) +
                      Distance(At(plain, SlotId::Main_PuffTime_Acc), At(varied, SlotId::Main_PuffTime_Acc)),
                  0.05)
            << StyleName(style) << ": the variation changed only neutrals";
    }
}

// A picture of a dull half, a muted area and a vivid fifth, each with a
// little noise: what catches the eye comes first, whatever its size.
TEST(PictureSeeds, ThreeColourPictureGivesItsColoursInOrder)
{
    const int width = 600, height = 400;
    const std::size_t stride = width * 4 + 8;  // rows with padding after them
    std::vector<std::uint8_t> pixels(stride * height);
    const TColor dull = MakeColor(0x5A, 0x64, 0x70), muted = MakeColor(0xC8, 0xA0, 0x78), vivid = MakeColor(0xE0, 0x20, 0x1C);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TColor c = x < 300 ? dull : (y < 160 ? muted : vivid);
            std::uint8_t* px = pixels.data() + std::size_t(y) * stride + std::size_t(x) * 4;
            const auto noisy = [&](unsigned v) { return std::uint8_t(int(v) + int(random() % 5) - 2); };
            px[0] = noisy(ColorRed(c));
            px[1] = noisy(ColorGreen(c));
            px[2] = noisy(ColorBlue(c));
            px[3] = 255;
        }
    const std::vector<TColor> seeds = SeedsFromPicture({pixels.data(), width, height, 4, stride});
    ASSERT_EQ(seeds.size(), 3u);
    const TColor expected[3] = {vivid, muted, dull};
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(OklabDistance(ToOklab(seeds[std::size_t(i)]), ToOklab(expected[i])), 0.01)
            << "seed " << i << " is #" << std::hex << seeds[std::size_t(i)];

    // Transparent pixels do not count: with the vivid spot clear, the two
    // others are all there is.
    for (int y = 160; y < height; ++y)
        for (int x = 300; x < width; ++x)
            pixels[std::size_t(y) * stride + std::size_t(x) * 4 + 3] = 0;
    const std::vector<TColor> two = SeedsFromPicture({pixels.data(), width, height, 4, stride});
    ASSERT_EQ(two.size(), 2u);
    EXPECT_LT(OklabDistance(ToOklab(two[0]), ToOklab(muted)), 0.01);
}
