#include "ThemeCard.h"

#include "BitmapText.h"
#include "ColorText.h"
#include "Fonts.h"
#include "PageImage.h"
#include "SlotCatalogue.h"
#include "Unit2.h"

#include <cstring>

namespace {

const TColor Paper = MakeColor(236, 236, 232);
const TColor Ink = MakeColor(24, 24, 28);
const TColor Frame = MakeColor(128, 128, 128);
constexpr int Font = 6;
constexpr int Columns = 3;
constexpr int SwatchRow = 22;

int FontHeight() { return FontTableFor(Font).header[0]; }

// The device's fonts have capitals only.
std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

void Paste(Bitmap& card, const Bitmap& picture, int left, int top)
{
    FillRect(card, left - 1, top - 1, left + picture.Width() + 1, top + picture.Height() + 1, Frame);
    for (int y = 0; y < picture.Height(); ++y)
        std::memcpy(card.Row(top + y) + left * 3, picture.Row(y), static_cast<std::size_t>(picture.Width()) * 3);
}

// The name a slot has in the colour list of the first page that lists it.
std::string ListName(SlotId slot)
{
    for (int page = 0; page < PageCount; ++page)
        if (const char* name = ListNameOf(page, false, slot))
            return name;
    return SlotKey(slot);
}

int CardWidth() { return CardPageLeft(4) + 80 + CardPad; }

}  // namespace

int CardPageLeft(int index) { return CardPad + index * (240 + CardPad); }

Bitmap RenderThemeCard(const TThemeColorTable& colors, const std::string& name, const ClockSource& clock)
{
    const int captionTop = CardPagesTop + 320 + 6;
    const int swatchTop = captionTop + FontHeight() + CardPad;
    const int rows = (ThemeSlotCount + Columns - 1) / Columns;
    Bitmap card(CardWidth(), swatchTop + rows * SwatchRow + CardPad);
    FillRect(card, 0, 0, card.Width(), card.Height(), Paper);
    DrawBitmapText(card, CardPad, CardPad, Upper(name.empty() ? "Untitled" : name), Font, Paper, Ink);

    for (bool small : {false, true}) {
        TThemeColorTable table = colors;
        TLSDrawer drawer(table, small);
        drawer.SetClock(clock);
        for (int i = 0; i < (small ? 1 : 4); ++i) {
            const int page = CardPages[i];
            drawer.DrawPage(page);
            const int left = CardPageLeft(small ? 4 : i);
            Paste(card, ScreenOf(drawer.Bitmap(), small), left, CardPagesTop);
            DrawBitmapText(card, left, captionTop, Upper(small ? "80x160" : PageNames[page]), Font, Paper, Ink);
        }
    }

    const int columnWidth = (card.Width() - 2 * CardPad) / Columns;
    for (int i = 0; i < ThemeSlotCount; ++i) {
        const int x = CardPad + (i / rows) * columnWidth, y = swatchTop + (i % rows) * SwatchRow;
        const TColor color = colors[static_cast<std::size_t>(i)];
        FillRect(card, x, y, x + 18, y + 18, Ink);
        FillRect(card, x + 1, y + 1, x + 17, y + 17, color);
        const int textTop = y + (18 - FontHeight()) / 2;
        const int after = DrawBitmapText(card, x + 26, textTop, Upper(ListName(static_cast<SlotId>(i))), Font, Paper, Ink);
        const std::string hex = ColorToHexText(color);
        const int hexLeft = x + columnWidth - 16 - BitmapTextWidth(hex, Font);
        DrawBitmapText(card, std::max(after + 8, hexLeft), textTop, hex, Font, Paper, Ink);
    }
    return card;
}
