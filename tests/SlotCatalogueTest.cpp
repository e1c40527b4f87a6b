#include "SlotCatalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

int SlotOf(SlotId slot) { return static_cast<int>(slot); }

TEST(SlotCatalogue, TablesKeepTheirInvariants)
{
    const int rowCounts[PageCount][2] = {{43, 28}, {45, 28}, {38, 22}, {34, 26}, {14, 11}, {9, 9}, {10, 7}, {3, 3}};
    const int backgrounds[PageCount] = {0, 0, 0, 0, 20, 29, 34, 26};
    TSlotCatalogue catalogue;
    std::set<int> largeSlots;
    for (int page = 0; page < PageCount; ++page)
        for (bool small : {false, true}) {
            SCOPED_TRACE("page " + std::to_string(page) + (small ? " 80x160" : " 240x320"));
            const auto* table = catalogue.GetPageElements(page, small);
            ASSERT_NE(table, nullptr);
            EXPECT_EQ(static_cast<int>(table->size()), rowCounts[page][small ? 1 : 0]);
            const TLSElement& last = table->back();
            EXPECT_EQ(last.Name, "Background");
            EXPECT_EQ(std::vector<int>({last.Left, last.Top, last.Right, last.Bottom}), std::vector<int>(4, -1));
            EXPECT_EQ(SlotOf(last.Color), backgrounds[page]);
            std::map<std::string, int> slotOfName;
            for (const TLSElement& e : *table) {
                const int slot = SlotOf(e.Color);
                ASSERT_GE(slot, 0);
                ASSERT_LT(slot, ThemeSlotCount);
                auto [it, fresh] = slotOfName.emplace(e.Name, slot);
                EXPECT_TRUE(fresh || it->second == slot) << e.Name << " names two slots";
                if (&e == &last)
                    continue;
                EXPECT_LE(e.Left, e.Right);
                EXPECT_LE(e.Top, e.Bottom);
                if (small) {
                    EXPECT_GE(e.Left, 78) << e.Name;
                    EXPECT_LE(e.Right, 161) << e.Name;
                    EXPECT_GE(e.Top, 79) << e.Name;
                    EXPECT_LE(e.Bottom, 237) << e.Name;
                } else {
                    EXPECT_GE(e.Left, 0);
                    EXPECT_LE(e.Right, 239);
                    EXPECT_GE(e.Top, 0);
                    EXPECT_LE(e.Bottom, 319);
                    largeSlots.insert(slot);
                }
            }
        }
    EXPECT_EQ(static_cast<int>(largeSlots.size()) + 5, ThemeSlotCount) << "every slot but the five backgrounds";
    EXPECT_EQ(catalogue.GetPageElements(8, false), nullptr);
    EXPECT_EQ(catalogue.GetPageElements(-1, true), nullptr);
}

std::vector<std::string> Names(const std::vector<ColorListItem>& items)
{
    std::vector<std::string> names;
    for (const auto& i : items)
        names.push_back(i.Name);
    return names;
}

TEST(SlotCatalogue, ListContentIsDistinctAndSortedIgnoringCase)
{
    TSlotCatalogue catalogue;
    EXPECT_EQ(Names(ColorListItems(*catalogue.GetPageElements(0, false))),
              (std::vector<std::string>{"Background", "Battery", "Battery Label", "Clock", "Divider", "Divider Sq.",
                                        "Dominant", "Dominant Acc.", "Fixed", "Fixed Acc.", "Info", "Info Acc.",
                                        "Info Label", "Profile"}));
    EXPECT_EQ(Names(ColorListItems(*catalogue.GetPageElements(0, true))),
              (std::vector<std::string>{"Background", "Battery", "Charging", "Divider", "Dominant", "Dominant Acc.",
                                        "Fixed", "Fixed Acc.", "Info", "Info Acc.", "Info Backgnd.", "Info Label",
                                        "Profile"}));
    const auto saver = ColorListItems(*catalogue.GetPageElements(7, false));
    EXPECT_EQ(Names(saver), (std::vector<std::string>{"Background", "Date", "Time"}));
    EXPECT_EQ(SlotOf(saver[0].Color), 26);
    for (int page : {0, 1, 2}) {
        const auto items = ColorListItems(*catalogue.GetPageElements(page, false));
        for (const auto& i : items)
            if (i.Name == "Dominant Acc.") {
                EXPECT_EQ(SlotOf(i.Color), 9 + page);
            }
    }
    const auto small2 = Names(ColorListItems(*catalogue.GetPageElements(2, true)));
    EXPECT_EQ(std::count(small2.begin(), small2.end(), "Dominant"), 0);
    const auto small6 = Names(ColorListItems(*catalogue.GetPageElements(6, true)));
    EXPECT_EQ(std::count(small6.begin(), small6.end(), "Current"), 0);
}

struct HitCase {
    int page;
    bool small;
    int x, y;
    const char* name;  // nullptr: no region
};

TEST(SlotCatalogue, HitTestTakesTheFirstRowWithInclusiveEdges)
{
    const HitCase cases[] = {
        {0, false, 5, 5, "Battery"},      {0, false, 34, 20, "Battery"},   {0, false, 35, 20, nullptr},
        {0, false, 0, 0, nullptr},        {0, false, 239, 168, "Divider"}, {0, true, 119, 190, "Info"},
        {0, true, 118, 190, "Info Backgnd."}, {0, true, 115, 202, "Info"}, {0, true, 20, 20, nullptr},
        {1, false, 120, 125, "Dominant Acc."}, {4, false, 4, 108, "Cursor"}, {7, true, 80, 144, "Time"},
        {6, false, 138, 277, "Battery"}, {6, false, 201, 277, nullptr},
    };
    TSlotCatalogue catalogue;
    for (const HitCase& c : cases) {
        const TLSElement* hit = FindHitRegion(*catalogue.GetPageElements(c.page, c.small), c.x, c.y);
        SCOPED_TRACE("page " + std::to_string(c.page) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
        if (!c.name) {
            EXPECT_EQ(hit, nullptr);
        } else {
            ASSERT_NE(hit, nullptr);
            EXPECT_EQ(hit->Name, c.name);
        }
    }
    const TLSElement* acc = FindHitRegion(*catalogue.GetPageElements(1, false), 120, 125);
    EXPECT_EQ(SlotOf(acc->Color), 10);
}

}  // namespace
