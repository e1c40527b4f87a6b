#include "SlotCatalogue.h"

#include <algorithm>

const char* const PageNames[PageCount] = {
    "Main - RizeDori", "Main - Temp. Control", "Main - Power Bank", "Main - Misc.",
    "Menu",            "Info, Dialogs",        "Charge",            "Screensaver",
};

const char* ListNameOf(int page, bool smallDisplay, SlotId slot)
{
    if (page < 0 || page >= PageCount)
        return nullptr;
    for (const TLSElementRow& row : PageElementRows(page, smallDisplay))
        if (row.Slot == slot)
            return row.Name;
    return nullptr;
}

const char* ListNameOrKey(int page, bool smallDisplay, SlotId slot)
{
    const char* listed = ListNameOf(page, smallDisplay, slot);
    return listed ? listed : SlotKey(slot);
}

TSlotCatalogue::TSlotCatalogue()
{
    for (int page = 0; page < PageCount; ++page)
        for (int small = 0; small < 2; ++small) {
            auto& table = tables_[static_cast<std::size_t>(page * 2 + small)];
            for (const TLSElementRow& row : PageElementRows(page, small != 0))
                table.push_back({row.Name, row.Left, row.Top, row.Right, row.Bottom, row.Slot});
        }
}

const std::vector<TLSElement>* TSlotCatalogue::GetPageElements(int page, bool smallDisplay) const
{
    if (page < 0 || page >= PageCount)
        return nullptr;
    return &tables_[static_cast<std::size_t>(page * 2 + (smallDisplay ? 1 : 0))];
}

const TLSElement* FindHitRegion(const std::vector<TLSElement>& table, int x, int y)
{
    for (const TLSElement& e : table)
        if (e.Left <= x && x <= e.Right && e.Top <= y && y <= e.Bottom)
            return &e;
    return nullptr;
}

std::vector<ColorListItem> ColorListItems(const std::vector<TLSElement>& table)
{
    std::vector<ColorListItem> items;
    for (const TLSElement& e : table) {
        const bool listed = std::any_of(items.begin(), items.end(),
                                        [&](const ColorListItem& i) { return SameTextIgnoringCase(i.Name, e.Name); });
        if (!listed)
            items.push_back({e.Name, e.Color});
    }
    std::stable_sort(items.begin(), items.end(), [](const ColorListItem& a, const ColorListItem& b) {
        return std::lexicographical_compare(a.Name.begin(), a.Name.end(), b.Name.begin(), b.Name.end(),
                                            [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
    });
    return items;
}

const char* AnyListNameOf(int page, bool smallDisplay, SlotId slot)
{
    if (const char* name = ListNameOf(page, smallDisplay, slot))
        return name;
    for (const bool small : {smallDisplay, !smallDisplay})
        for (int other = 0; other < PageCount; ++other)
            if (const char* name = ListNameOf(other, small, slot))
                return name;
    return SlotKey(slot);
}
