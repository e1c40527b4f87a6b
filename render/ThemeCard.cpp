#include "ThemeCard.h"

#include "BitmapText.h"
#include "ColorText.h"
#include "Fonts.h"
#include "PageImage.h"
#include "SlotCatalogue.h"
#include "ThemeSlots.h"
#include "Unit2.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

// What the font lacks is said with what it has: "Info, Dialogs" reads
// "INFO / DIALOGS" and "Voltage (normal)" "VOLTAGE - NORMAL", rather than
// losing the comma and the brackets.
std::string CardText(const std::string& text)
{
    std::string upper;
    for (char c : text) {
        if (c == ',')
            upper += " /";
        else if (c == '(')
            upper += "- ";
        else if (c != ')')
            upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return upper;
}

namespace {

const TColor Paper = MakeColor(236, 236, 232);
const TColor Ink = MakeColor(24, 24, 28);
const TColor Frame = MakeColor(128, 128, 128);
constexpr int Font = 6;
constexpr int Columns = 3;
constexpr int SwatchRow = 22;

int FontHeight() { return FontTableFor(Font).header[0]; }

void Paste(Bitmap& card, const Bitmap& picture, int left, int top)
{
    FillRect(card, left - 1, top - 1, left + picture.Width() + 1, top + picture.Height() + 1, Frame);
    for (int y = 0; y < picture.Height(); ++y)
        std::memcpy(card.Row(top + y) + left * 3, picture.Row(y), static_cast<std::size_t>(picture.Width()) * 3);
}

// The first page whose colour list names the slot, and that name.
std::pair<int, std::string> FirstListing(SlotId slot)
{
    for (int page = 0; page < PageCount; ++page)
        if (const char* name = ListNameOf(page, false, slot))
            return {page, name};
    return {-1, SlotKey(slot)};
}

const char* SectionOf(int slot) { return ThemeSlots[static_cast<std::size_t>(slot)].section; }

// One line of the swatch columns: a section's heading, or a slot.
struct SwatchLine {
    int slot;  // -1 for a heading
    std::string text;
};

std::vector<SwatchLine> SwatchLines()
{
    std::vector<SwatchLine> lines;
    for (int i = 0; i < ThemeSlotCount; ++i) {
        if (i == 0 || std::strcmp(SectionOf(i), SectionOf(i - 1)) != 0)
            lines.push_back({-1, CardText(SectionOf(i))});
        lines.push_back({i, CardText(CardSlotLabel(static_cast<SlotId>(i)))});
    }
    return lines;
}

// Where each line goes: down the columns, `rows` a column, with no
// heading left at the foot of one.
struct Place {
    int column;
    int row;
};

std::vector<Place> Flow(const std::vector<SwatchLine>& lines, int rows)
{
    std::vector<Place> places;
    int column = 0, row = 0;
    for (const SwatchLine& line : lines) {
        if (row == rows || (line.slot < 0 && row == rows - 1))
            ++column, row = 0;
        places.push_back({column, row++});
    }
    return places;
}

// As few rows as hold every line in the columns.
int RowsPerColumn(const std::vector<SwatchLine>& lines)
{
    int rows = int(lines.size() + Columns - 1) / Columns;
    while (Flow(lines, rows).back().column >= Columns)
        ++rows;
    return rows;
}

// What a line needs across: swatch, name, a gap, the widest #RRGGBB and the
// space before the next column.
int LineWidth(const SwatchLine& line)
{
    const int name = BitmapTextWidth(line.text, Font);
    return line.slot < 0 ? name + 48 : 26 + name + 8 + BitmapTextWidth("#DDDDDD", Font) + 16;
}

// Each column's left edge, the last entry the right edge of all: each
// column as wide as its longest line, what is left shared out evenly.
std::vector<int> ColumnEdges(const std::vector<SwatchLine>& lines, const std::vector<Place>& places, int width)
{
    std::vector<int> need(Columns, 0);
    for (std::size_t i = 0; i < lines.size(); ++i)
        need[std::size_t(places[i].column)] = std::max(need[std::size_t(places[i].column)], LineWidth(lines[i]));
    int spare = width;
    for (int n : need)
        spare -= n;
    std::vector<int> edges{CardPad};
    for (int c = 0; c < Columns; ++c)
        edges.push_back(edges.back() + (spare >= 0 ? need[std::size_t(c)] + spare / Columns : width / Columns));
    return edges;
}

int CardWidth() { return CardPageLeft(4) + 80 + CardPad; }

}  // namespace

int CardPageLeft(int index) { return CardPad + index * (240 + CardPad); }

std::string CardSlotLabel(SlotId slot)
{
    const auto [page, name] = FirstListing(slot);
    const int index = SlotIndex(slot);
    for (int other = 0; other < ThemeSlotCount; ++other) {
        if (other == index || std::strcmp(SectionOf(other), SectionOf(index)) != 0 ||
            FirstListing(static_cast<SlotId>(other)).second != name)
            continue;
        // The mode of the page that shows it, as "Temp. Control" of "Main - Temp. Control".
        const std::string pageName = page >= 0 ? PageNames[page] : SlotKey(slot);
        const std::size_t dash = pageName.find(" - ");
        return name + " - " + (dash == std::string::npos ? pageName : pageName.substr(dash + 3));
    }
    return name;
}

Bitmap RenderThemeCard(const TThemeColorTable& colors, const std::string& name, const ClockSource& clock)
{
    const int captionTop = CardPagesTop + 320 + 6;
    const int swatchTop = captionTop + FontHeight() + CardPad;
    const std::vector<SwatchLine> lines = SwatchLines();
    const int rows = RowsPerColumn(lines);
    Bitmap card(CardWidth(), swatchTop + rows * SwatchRow + CardPad);
    FillRect(card, 0, 0, card.Width(), card.Height(), Paper);
    DrawBitmapText(card, CardPad, CardPad, CardText(name.empty() ? "Untitled" : name), Font, Paper, Ink);

    for (bool small : {false, true}) {
        TThemeColorTable table = colors;
        TLSDrawer drawer(table, small);
        drawer.SetClock(clock);
        for (int i = 0; i < (small ? 1 : 4); ++i) {
            const int page = CardPages[i];
            drawer.DrawPage(page);
            const int left = CardPageLeft(small ? 4 : i);
            Paste(card, ScreenOf(drawer.Bitmap(), small), left, CardPagesTop);
            DrawBitmapText(card, left, captionTop, CardText(small ? "80x160" : PageNames[page]), Font, Paper, Ink);
        }
    }

    const std::vector<Place> places = Flow(lines, rows);
    const std::vector<int> edges = ColumnEdges(lines, places, card.Width() - 2 * CardPad);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SwatchLine& line = lines[i];
        const int x = edges[std::size_t(places[i].column)], right = edges[std::size_t(places[i].column) + 1] - 16;
        const int y = swatchTop + places[i].row * SwatchRow;
        const int textTop = y + (18 - FontHeight()) / 2;
        if (line.slot < 0) {
            const int after = DrawBitmapText(card, x, textTop, line.text, Font, Paper, Ink);
            FillRect(card, after + 8, y + 9, right, y + 10, Frame);
            continue;
        }
        const TColor color = colors[static_cast<std::size_t>(line.slot)];
        FillRect(card, x, y, x + 18, y + 18, Ink);
        FillRect(card, x + 1, y + 1, x + 17, y + 17, color);
        const int after = DrawBitmapText(card, x + 26, textTop, line.text, Font, Paper, Ink);
        const std::string hex = ColorToHexText(color);
        DrawBitmapText(card, std::max(after + 8, right - BitmapTextWidth(hex, Font)), textTop, hex, Font, Paper, Ink);
    }
    return card;
}
