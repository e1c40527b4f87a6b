// Mending what is hard to read: over random themes with random locks, every
// pair that can be mended is, locked slots keep their bits, nothing that
// passed fails, and each new colour is one the device shows. The outcome is
// judged by the legibility check itself, page by page at both sizes.

#include "LegibilityFix.h"
#include "SimulatedHidBackend.h"
#include "Oklab.h"
#include "ThemeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// Every pair of every page at both sizes, as the check reports them.
std::vector<LegibilityPair> AllPairs(const TThemeColorTable& colors)
{
    std::vector<LegibilityPair> all;
    for (bool small : {false, true}) {
        TThemeColorTable copy = colors;
        TLSDrawer drawer(copy, small);
        for (const LegibilityPair& p : LegibilityPairs(drawer, copy))
            all.push_back(p);
    }
    return all;
}

}  // namespace

TEST(LegibilityFix, RandomThemesAreMendedWithoutTouchingLockedSlots)
{
    const std::vector<ContrastNeed> needs = ContrastNeeds();
    ASSERT_FALSE(needs.empty());
    std::vector<double> luminance(65536);
    for (std::uint32_t word = 0; word < 65536; ++word)
        luminance[word] = RelativeLuminance(RGB565ToColor(word));
    std::mt19937 random(20261209);
    int mendedThemes = 0;
    for (int round = 0; round < 200; ++round) {
        TThemeColorTable colors{};
        for (TColor& c : colors)
            c = RGB565ToColor(random() & 0xFFFF);
        std::set<SlotId> locked;
        for (int i = 0; i < 5; ++i)
            locked.insert(static_cast<SlotId>(random() % ThemeSlotCount));
        const TThemeColorTable before = colors;
        const LegibilityFixResult result = FixLegibility(colors, needs, locked);
        for (SlotId slot : locked)
            ASSERT_EQ(colors[std::size_t(SlotIndex(slot))], before[std::size_t(SlotIndex(slot))]) << "round " << round;
        for (const ColorFix& fix : result.changes) {
            ASSERT_FALSE(locked.count(fix.slot));
            ASSERT_EQ(fix.after, RGB565ToColor(ColorToRGB565(fix.after)));
            ASSERT_GE(fix.worstAfter, 3.0 + ContrastMargin);
        }
        const auto unmendable = [&](const LegibilityPair& p) {
            for (const UnmendablePair& u : result.unmendable)
                if (u.fg == p.fg && u.bg == p.bg)
                    return true;
            return false;
        };
        const std::vector<LegibilityPair> was = AllPairs(before), now = AllPairs(colors);
        ASSERT_EQ(was.size(), now.size());
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (!was[i].Fails()) {
                ASSERT_FALSE(now[i].Fails()) << "round " << round << ": a passing pair fails";
            }
            if (now[i].Fails()) {
                ASSERT_TRUE(unmendable(now[i])) << "round " << round << ": a failing pair was left unreported";
            }
        }
        // What is reported as unmendable really is: no colour the device
        // shows gives either unlocked slot every contrast its pairs need.
        for (const UnmendablePair& u : result.unmendable) {
            EXPECT_FALSE(u.why.empty());
            for (SlotId slot : {u.fg, u.bg}) {
                if (locked.count(slot))
                    continue;
                std::vector<std::pair<double, double>> partners;  // luminance, need
                for (const LegibilityPair& p : now)
                    if (p.fg == slot || p.bg == slot)
                        partners.push_back({RelativeLuminance(colors[std::size_t(SlotIndex(p.fg == slot ? p.bg : p.fg))]),
                                            p.required + ContrastMargin});
                bool some = false;
                for (std::uint32_t word = 0; word < 65536 && !some; ++word)
                    some = std::all_of(partners.begin(), partners.end(), [&](const auto& p) {
                        const double l = luminance[word];
                        return (std::max(l, p.first) + 0.05) / (std::min(l, p.first) + 0.05) >= p.second;
                    });
                ASSERT_FALSE(some) << "round " << round << ": " << SlotKey(slot)
                                   << " could have been mended";
            }
        }
        mendedThemes += result.unmendable.empty();
    }
    // Even with five random locks some themes are mended whole.
    EXPECT_GT(mendedThemes, 0);
}

// The simulated device's theme has a text on two backgrounds too far apart
// for any one colour of it: Fix All moves the box and the text together.
TEST(LegibilityFix, ATextOnTwoBackgroundsMovesTheBoxToo)
{
    const auto block = SimulatedHidBackend::FactoryThemeBlock();
    TPackedTheme packed{};
    PackedThemeFromBytes(block.data(), packed);
    TThemeColorTable colors{};
    UnpackTheme(packed, colors);
    const TThemeColorTable before = colors;
    const LegibilityFixResult result = FixLegibility(colors, ContrastNeeds(), {});
    EXPECT_TRUE(result.unmendable.empty());
    for (const LegibilityPair& p : AllPairs(colors))
        EXPECT_FALSE(p.Fails()) << SlotKey(p.fg) << " on " << SlotKey(p.bg) << " " << p.ratio;
    EXPECT_NE(colors[std::size_t(SlotIndex(SlotId::Main_DivSq))], before[std::size_t(SlotIndex(SlotId::Main_DivSq))]);
    // Locked, the box stays as it is.
    TThemeColorTable kept = before;
    FixLegibility(kept, ContrastNeeds(), {SlotId::Main_DivSq});
    EXPECT_EQ(kept[std::size_t(SlotIndex(SlotId::Main_DivSq))], before[std::size_t(SlotIndex(SlotId::Main_DivSq))]);
}

TEST(LegibilityFix, TheDefaultThemeIsMendedCloseToItself)
{
    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    const TThemeColorTable before = colors;
    const LegibilityFixResult result = FixLegibility(colors, ContrastNeeds(), {});
    EXPECT_TRUE(result.unmendable.empty());
    EXPECT_FALSE(result.changes.empty());
    for (const LegibilityPair& p : AllPairs(colors))
        EXPECT_FALSE(p.Fails()) << SlotKey(p.fg);
    // Close: no colour moves further than needed, well short of black to white.
    for (const ColorFix& fix : result.changes)
        EXPECT_LT(OklabDistance(ToOklab(fix.before), ToOklab(fix.after)), 0.5);
    // Only one pair asked for: the others stay as they were.
    TThemeColorTable one = before;
    const ContrastNeed* first = nullptr;
    const std::vector<ContrastNeed> needs = ContrastNeeds();
    for (const ContrastNeed& n : needs)
        if (ContrastRatio(before[std::size_t(SlotIndex(n.fg))], before[std::size_t(SlotIndex(n.bg))]) < n.need)
            first = first ? first : &n;
    ASSERT_TRUE(first);
    const LegibilityFixResult single = FixLegibility(one, needs, {}, first);
    ASSERT_EQ(single.changes.size(), 1u);
    for (std::size_t i = 0; i < one.size(); ++i)
        if (static_cast<int>(i) != SlotIndex(single.changes[0].slot)) {
            EXPECT_EQ(one[i], before[i]);
        }
}
