#pragma once
// Which colour slots each preview page offers, under which names, and which
// rectangles of the mock-up belong to them: 16 tables, one per page (0..7) and
// display size. Rectangles are inclusive, in preview-bitmap pixels, in the same
// coordinate space for both sizes (the 80x160 screen sits at (80,80)).
//
// Row order is the hit test's tie-break: where rectangles overlap, the earlier
// row wins. Every table ends with "Background" at (-1,-1,-1,-1), which no point
// can hit; it is what a click on nothing selects.

#include "AsciiText.h"
#include "ColorModel.h"
#include "ThemeSlots.h"

#include <array>
#include <string>
#include <vector>

struct TLSElement {
    std::string Name;
    int Left;
    int Top;
    int Right;
    int Bottom;
    SlotId Color;  // the entry of the theme colour table it stands for
};

// A hit region as the constant tables hold it.
struct TLSElementRow {
    const char* Name;
    int Left, Top, Right, Bottom;
    SlotId Slot;
};

constexpr int PageCount = 8;

// The pages as the page list names them, in page order.
extern const char* const PageNames[PageCount];

// The name the page's colour list gives a slot, or nullptr where it lists none.
const char* ListNameOf(int page, bool smallDisplay, SlotId slot);
// That name, or the slot's file key where the page lists none.
const char* ListNameOrKey(int page, bool smallDisplay, SlotId slot);
// Its list name on `page`, else on another page (this display size first),
// else its file key: for lists of slots from every page.
const char* AnyListNameOf(int page, bool smallDisplay, SlotId slot);

// The constant rows of one page at one display size.
const std::vector<TLSElementRow>& PageElementRows(int page, bool smallDisplay);

// The 16 tables, one per page and display size.
class TSlotCatalogue {
public:
    TSlotCatalogue();

    // The table of a page and display size; nullptr for a page outside 0..7.
    const std::vector<TLSElement>* GetPageElements(int page, bool smallDisplay) const;

private:
    std::array<std::vector<TLSElement>, PageCount * 2> tables_;
};

// The name of the first row containing (x, y), or nullptr when none does.
const TLSElement* FindHitRegion(const std::vector<TLSElement>& table, int x, int y);

// The list content of a table: one entry per distinct name (first row wins, names
// compared without regard to ASCII case), sorted by name ignoring case.
struct ColorListItem {
    std::string Name;
    SlotId Color;
};
std::vector<ColorListItem> ColorListItems(const std::vector<TLSElement>& table);
