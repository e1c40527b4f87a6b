// The list screens: page 4 the main menu with the cursor on its third item, and
// page 5 a profile-selection dialog. Slots 20..25 and 29..33.

#include "Unit2.h"

using S = SlotId;

namespace {

struct Item {
    const char* text;
    int y;
};

}  // namespace

void TLSDrawer::DrawMenuPage()
{
    const SlotId bg = S::Menu_Background, item = S::Menu_Text, cursor = S::Menu_Cursor, selected = S::Menu_TextSelected;
    FillBox(0, 0, PreviewWidth, PreviewHeight, bg);
    if (!smallDisplay_) {
        DrawTextBox("LARKSPUR", 0, 5, 240, 28, bg, S::Menu_TextHeader, 6, AlignMiddle | AlignCenter);
        FillBox(0, 34, 240, 36, S::Menu_Divider);
        DrawTextBox("PROFILE1", 10, 44, 220, 28, bg, item, 6, AlignMiddle);
        DrawTextBox("SCREEN", 10, 77, 220, 28, bg, item, 6, AlignMiddle);
        FillBox(5, 110, 10, 138, cursor);
        DrawTextBox("SETTINGS", 10, 110, 220, 28, cursor, selected, 6, AlignMiddle);
        FillBox(230, 110, 235, 138, cursor);
        for (const Item& i : {Item{"POWER BANK", 143}, Item{"INFO", 176}, Item{"ABOUT", 209}, Item{"EXIT", 242}})
            DrawTextBox(i.text, 10, i.y, 220, 28, bg, item, 6, AlignMiddle);
        return;
    }
    DrawTextBox("BOREALIS", 80, 80, 80, 0, bg, S::Menu_TextHeader, 8, AlignMiddle | AlignCenter);
    FillBox(80, 97, 160, 98, S::Menu_Divider);
    DrawTextBox("PROFILE1", 81, 102, 80, 0, bg, item, 8, AlignMiddle);
    DrawTextBox("SCREEN", 81, 119, 80, 0, bg, item, 8, AlignMiddle);
    FillBox(80, 135, 160, 150, cursor);
    DrawTextBox("SETTINGS", 81, 136, 79, 0, cursor, selected, 8, AlignMiddle);
    // "p" is the power-symbol icon: the item reads as a power symbol and "BANK".
    for (const Item& i : {Item{"p BANK", 153}, Item{"INFO", 170}, Item{"ABOUT", 187}, Item{"EXIT", 204}})
        DrawTextBox(i.text, 81, i.y, 80, 0, bg, item, 8, AlignMiddle);
}

void TLSDrawer::DrawInfoPage()
{
    const SlotId bg = S::Info_Background, header = S::Info_Header, divider = S::Info_Divider, text = S::Info_Text, action = S::Info_Actions;
    FillBox(0, 0, PreviewWidth, PreviewHeight, bg);
    if (!smallDisplay_) {
        DrawTextBox("SELECT", 0, 12, 240, 0, bg, header, 6, AlignCenter);
        DrawTextBox("PROFILE", 0, 42, 240, 0, bg, header, 6, AlignCenter);
        FillBox(5, 82, 235, 83, divider);
        for (const Item& i : {Item{"PROFILE1", 110}, Item{"RIZEDORI", 160}, Item{"42.0W", 190}, Item{"0.234@", 220}})
            DrawTextBox(i.text, 0, i.y, 240, 0, bg, text, 6, AlignCenter);
        FillBox(5, 260, 235, 261, divider);
        DrawTextBox("1/8", 80, 280, 80, 0, bg, action, 6, AlignCenter);
        DrawTextBox("<", 20, 280, 20, 0, bg, action, 6, AlignLeft);
        DrawTextBox(">", 200, 280, 20, 0, bg, action, 6, AlignRight);
        return;
    }
    DrawTextBox("SELECT", 80, 83, 80, 0, bg, header, 8, AlignCenter);
    DrawTextBox("PROFILE", 80, 101, 80, 0, bg, header, 8, AlignCenter);
    FillBox(80, 122, 160, 123, divider);
    FillBox(80, 215, 160, 216, divider);
    for (const Item& i : {Item{"PROFILE1", 131}, Item{"RIZEDORI", 158}, Item{"42.0W", 176}, Item{"0.234@", 194}})
        DrawTextBox(i.text, 80, i.y, 80, 0, bg, text, 8, AlignCenter);
    DrawTextBox("1/8", 88, 224, 64, 0, bg, action, 8, AlignCenter);
    DrawTextBox("<", 80, 224, 8, 0, bg, action, 8, AlignCenter);
    DrawTextBox(">", 153, 224, 8, 0, bg, action, 8, AlignCenter);
}
