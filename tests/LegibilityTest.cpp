// Contrast ratios against WCAG's own figures, the pairs a page shows, and the
// colour-vision simulation's fixed points and confusions.

#include "ColorVision.h"
#include "Legibility.h"
#include "ThemeSlots.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(Legibility, ContrastRatiosMatchTheStandardsFigures)
{
    EXPECT_NEAR(ContrastRatio(MakeColor(0, 0, 0), MakeColor(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(MakeColor(255, 255, 255), MakeColor(255, 255, 255)), 1.0, 1e-9);
    // #777777 on white is the well-known grey just short of 4.5:1.
    EXPECT_NEAR(ContrastRatio(MakeColor(0x77, 0x77, 0x77), MakeColor(255, 255, 255)), 4.48, 0.005);
    EXPECT_NEAR(RelativeLuminance(MakeColor(255, 0, 0)), 0.2126, 1e-9);
    EXPECT_NEAR(RelativeLuminance(MakeColor(0, 255, 0)), 0.7152, 1e-9);
}

// A theme in which every pair reads well but one: exactly that pair is
// reported, on each page that shows it, and nothing else.
TEST(Legibility, AThemeBuiltToFailOnePairReportsThatPairAlone)
{
    for (bool small : {false, true}) {
        TThemeColorTable colors{};
        colors.fill(RGB565ToColor(0xFFFF));
        for (SlotId bg : {SlotId::Main_Background, SlotId::Menu_Background, SlotId::Saver_Background,
                          SlotId::Info_Background, SlotId::Charge_Background, SlotId::Main_DivSq})
            colors[SlotIndex(bg)] = RGB565ToColor(0x0000);
        // The selected menu item, dark on the white cursor bar, reads well too.
        colors[SlotIndex(SlotId::Menu_TextSelected)] = RGB565ToColor(0x0000);
        // The one that fails: the profile name, dark grey on black.
        colors[SlotIndex(SlotId::Main_Profile)] = RGB565ToColor(0x2104);
        bool smallDisplay = small;
        TLSDrawer drawer(colors, smallDisplay);
        const auto failing = FailingPairs(drawer, colors);
        ASSERT_FALSE(failing.empty()) << (small ? "80x160" : "240x320");
        for (const LegibilityPair& p : failing) {
            EXPECT_EQ(p.fg, SlotId::Main_Profile) << "page " << p.page;
            EXPECT_EQ(p.bg, SlotId::Main_Background);
            EXPECT_EQ(p.required, 4.5);
            EXPECT_LT(p.ratio, 1.6);
        }
        // Three pages show the profile's slot: 0, 1 and 3 at 80x160, 0, 1 and 2
        // (its "POWER BANK" title) at 240x320.
        EXPECT_EQ(failing.size(), 3u);
        // Large marks need 3:1 only: the accent colour at 3.6:1 passes
        colors[SlotIndex(SlotId::Main_Profile)] = RGB565ToColor(0xFFFF);
        // (the accent arc and the "W" beside the value are its only marks).
        colors[SlotIndex(SlotId::Main_AccentVW)] = RGB565ToColor(ColorToRGB565(MakeColor(0x66, 0x66, 0x66)));
        const double ratio = ContrastRatio(colors[SlotIndex(SlotId::Main_AccentVW)], 0);
        ASSERT_GT(ratio, 3.0);
        ASSERT_LT(ratio, 4.5);
        // at 240x320, where they are of the large fonts; at 80x160 the "W" is
        // font 7 text and needs 4.5:1.
        const auto rest = FailingPairs(drawer, colors);
        if (!small) {
            EXPECT_TRUE(rest.empty()) << ratio;
        } else {
            ASSERT_EQ(rest.size(), 1u);
            EXPECT_EQ(rest[0].fg, SlotId::Main_AccentVW);
            EXPECT_EQ(rest[0].page, 0);
            EXPECT_EQ(rest[0].required, 4.5);
        }
    }
}

TEST(ColorVisionSimulation, GreysStayAndConfusedColoursMeet)
{
    const auto distance = [](TColor a, TColor b) {
        return std::hypot(double(ColorRed(a)) - ColorRed(b), double(ColorGreen(a)) - ColorGreen(b),
                          double(ColorBlue(a)) - ColorBlue(b));
    };
    for (ColorVision v : {ColorVision::Protanopia, ColorVision::Deuteranopia, ColorVision::Tritanopia,
                          ColorVision::Greyscale})
        for (unsigned g : {0u, 64u, 128u, 200u, 255u}) {
            const TColor grey = MakeColor(g, g, g);
            EXPECT_LE(distance(SimulateColor(grey, v), grey), 2.0) << ColorVisionName(v) << " " << g;
        }
    // Red and green, far apart for normal eyes, come close for red-green
    // deficiencies and stay apart for a tritanope, who confuses blue and green.
    const TColor red = MakeColor(200, 60, 40), green = MakeColor(90, 130, 40), blue = MakeColor(40, 110, 200),
                 teal = MakeColor(40, 150, 130);
    const double normal = distance(red, green);
    for (ColorVision v : {ColorVision::Protanopia, ColorVision::Deuteranopia})
        EXPECT_LT(distance(SimulateColor(red, v), SimulateColor(green, v)), normal / 2) << ColorVisionName(v);
    EXPECT_GT(distance(SimulateColor(red, ColorVision::Tritanopia), SimulateColor(green, ColorVision::Tritanopia)),
              normal / 2);
    EXPECT_LT(distance(SimulateColor(blue, ColorVision::Tritanopia), SimulateColor(teal, ColorVision::Tritanopia)),
              distance(blue, teal) / 2);
    EXPECT_EQ(SimulateColor(red, ColorVision::Normal), red);
    ColorVision parsed{};
    EXPECT_TRUE(ParseColorVision("deuteranopia", parsed));
    EXPECT_EQ(parsed, ColorVision::Deuteranopia);
    EXPECT_FALSE(ParseColorVision("Deuteranopia", parsed));
}

}  // namespace

TEST(ColorVisionSimulation, MatchesThePublishedMatrices)
{
    // The primaries and one mixed colour through the severity-1 matrices of
    // Machado, Oliveira and Fernandes (2009), worked out apart from the
    // program in linear sRGB; a row moved or two matrices swapped shows.
    const TColor inputs[] = {MakeColor(255, 0, 0), MakeColor(0, 255, 0), MakeColor(0, 0, 255), MakeColor(200, 120, 40)};
    const struct {
        ColorVision vision;
        TColor expected[4];
    } cases[] = {
        {ColorVision::Protanopia,
         {MakeColor(109, 95, 0), MakeColor(255, 229, 0), MakeColor(0, 89, 255), MakeColor(145, 128, 27)}},
        {ColorVision::Deuteranopia,
         {MakeColor(163, 144, 0), MakeColor(239, 214, 58), MakeColor(0, 61, 251), MakeColor(164, 146, 41)}},
        {ColorVision::Tritanopia,
         {MakeColor(255, 0, 15), MakeColor(0, 247, 217), MakeColor(0, 107, 150), MakeColor(219, 102, 104)}},
    };
    for (const auto& c : cases)
        for (int i = 0; i < 4; ++i) {
            const TColor got = SimulateColor(inputs[i], c.vision), want = c.expected[i];
            EXPECT_LE(std::abs(int(ColorRed(got)) - int(ColorRed(want))) + std::abs(int(ColorGreen(got)) - int(ColorGreen(want))) +
                          std::abs(int(ColorBlue(got)) - int(ColorBlue(want))),
                      1)
                << ColorVisionName(c.vision) << " input " << i;
        }
}
