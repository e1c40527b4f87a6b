// The four variants of the main screen: 0 "RizeDori", 1 "Temp. Control",
// 2 "Power Bank", 3 "Misc." (a message and the puff time). Slots 0..19.

#include "Unit2.h"

using S = SlotId;

namespace {

// The accent slot of pages 0..2; page 3 has no accent arc.
SlotId AccentSlot(int page) { return static_cast<SlotId>(SlotIndex(S::Main_AccentVW) + page); }

struct InfoField {
    int x, y;
    const char* number;
    const char* unit;
    const char* label;
};

const InfoField InfoFieldsLarge[2][4] = {
    {{11, 197, "0.0", "A", "CURRENT"}, {129, 197, "0.000", "@", "LIVE RES"},
     {11, 266, "0.0", "S", "L. PUFF"}, {129, 266, "3.70", "V", "BATTERY"}},
    {{11, 197, "0.00", "V", "VOLTAGE"}, {129, 197, "0.00", "A", "CURRENT"},
     {11, 266, "50", "%", "BATTERY"}, {129, 266, "30", "*C", "BOARD"}},
};

struct InfoRow {
    const char* icon;
    const char* number;
    const char* unit;
};

const InfoRow InfoRowsSmall[2][3] = {
    {{"m", "0.0", "A"}, {"r", "0.000", "@"}, {"b", "3.70", "V"}},
    {{"m", "0.0", "A"}, {"m", "0.00", "V"}, {"t", "30", "*C"}},
};

}  // namespace

void TLSDrawer::DrawMainPage(int page)
{
    if (smallDisplay_)
        DrawMainSmall(page);
    else
        DrawMainLarge(page);
}

void TLSDrawer::DrawMainLarge(int page)
{
    const SlotId bg = S::Main_Background;
    FillBox(0, 0, PreviewWidth, PreviewHeight, bg);
    FillBox(5, 171, 235, 172, S::Main_Divider);
    FillBox(26, 226, 96, 227, S::Main_Divider);
    FillBox(144, 226, 214, 227, S::Main_Divider);
    FillBox(26, 294, 96, 295, S::Main_Divider);
    FillBox(144, 294, 214, 295, S::Main_Divider);
    if (page == 0 || page == 1) {
        FillBox(5, 45, 65, 46, S::Main_Divider);
        FillBox(175, 45, 235, 46, S::Main_Divider);
    } else if (page == 2) {
        FillBox(5, 45, 45, 46, S::Main_Divider);
        FillBox(195, 45, 235, 46, S::Main_Divider);
    }
    for (int y : {224, 292})
        for (int x : {21, 96, 139, 214})
            FillBox(x, y, x + 5, y + 5, S::Main_DivSq);

    DrawTextBox("1", 5, 6, 32, 15, bg, S::Main_Batts, 4, 0);
    DrawTextBox("1", 40, 8, 6, 10, bg, S::Main_BattsNum, 5, 0);
    DrawTextBox("2", 203, 6, 32, 15, bg, S::Main_Batts, 4, 0);
    DrawTextBox("2", 193, 8, 6, 10, bg, S::Main_BattsNum, 5, 0);
    FillBox(7, 8, 20, 19, S::Main_Batts);
    FillBox(220, 8, 233, 19, S::Main_Batts);

    if (page == 0 || page == 1)
        DrawTextBox("PROFILE1", 65, 36, 110, 17, bg, S::Main_Profile, 6, AlignMiddle | AlignCenter);
    else if (page == 2)
        DrawTextBox("POWER BANK", 60, 36, 120, 17, bg, S::Main_Profile, 6, AlignMiddle | AlignCenter);
    if (page <= 2)
        DrawTextBox("a", 11, 106, 215, 26, bg, AccentSlot(page), 2, 0);

    switch (page) {
    case 0:
        DrawTextBox("W", 90, 137, 60, 30, bg, S::Main_AccentVW, 1, AlignCenter);
        DrawTextBox("42.0", 63, 63, 115, 59, bg, S::Main_Dom, 0, AlignCenter);
        break;
    case 1:
        DrawTextBox("TCR", 5, 52, 60, 17, bg, S::Main_TCR, 6, AlignLeft);
        DrawTextBox("42.0W", 176, 52, 60, 17, bg, S::Main_TCR, 6, AlignRight);
        DrawTextBox("*C", 90, 137, 60, 30, bg, S::Main_AccentTC, 1, AlignCenter);
        DrawTextBox("235", 63, 63, 115, 59, bg, S::Main_Dom, 0, AlignCenter);
        break;
    case 2:
        DrawTextBox("OFF", 63, 63, 115, 59, bg, S::Main_Dom, 6, AlignMiddle | AlignCenter);
        break;
    default:
        DrawSplitValue("2.2", "S", 90, 142, 60, 21, S::Main_PuffTime, S::Main_PuffTime_Acc, 3, 6);
        DrawTextBox("DEVICE", 0, 56, 240, 0, bg, S::Main_TextMsg, 6, AlignCenter);
        DrawTextBox("LOCK", 0, 86, 240, 0, bg, S::Main_TextMsg, 6, AlignCenter);
        break;
    }

    DrawMainClockLarge();

    if (page == 0 || page == 1) {
        // A resistance on the left and a voltage on the right, flush with the side margins.
        const int vw = MeasureText("V", 6).first;
        DrawTextBox("V", 235 - vw, 142, vw, 21, bg, S::Main_Fixed_Acc, 6, AlignBottom | AlignLeft);
        DrawTextBox("3.30", 175, 142, 235 - vw - 175, 21, bg, S::Main_Fixed, 3, AlignRight);
        const int nw = MeasureText("0.00", 3).first;
        DrawTextBox("0.00", 6, 142, nw, 21, bg, S::Main_Fixed, 3, AlignLeft);
        DrawTextBox("@", 6 + nw, 142, 60 - nw, 21, bg, S::Main_Fixed_Acc, 6, AlignBottom | AlignLeft);
    }
    DrawInfoFieldsLarge(page);
}

void TLSDrawer::DrawMainClockLarge()
{
    const std::string t = TimeText();
    const auto [cw, ch] = MeasureText(":", 6);
    int cx = 240 - cw;
    if (cx % 2 != 0)
        ++cx;
    cx = cx / 2 + 1;
    const SlotId bg = S::Main_Background, fg = S::Main_Clock;
    DrawTextBox(":", cx, 4, cw, ch, bg, fg, 6, AlignLeft);
    DrawTextBox(t.substr(0, 2), cx - 30, 4, 30, ch, bg, fg, 6, AlignRight);
    DrawTextBox(t.substr(3, 2), cx + cw, 4, 30, ch, bg, fg, 6, AlignLeft);
}

void TLSDrawer::DrawInfoFieldsLarge(int page)
{
    for (const InfoField& f : InfoFieldsLarge[page == 2 ? 1 : 0]) {
        DrawSplitValue(f.number, f.unit, f.x, f.y, 100, 21, S::Main_Info, S::Main_Info_Acc, 3, 6);
        DrawTextBox(f.label, f.x, f.y + 37, 100, 17, S::Main_Background, S::Main_Info_Cap, 6, AlignCenter);
    }
}

void TLSDrawer::DrawMainSmall(int page)
{
    const SlotId bg = S::Main_Background;
    FillBox(0, 0, PreviewWidth, PreviewHeight, bg);
    if (page != 2) {
        FillBox(80, 96, 160, 97, S::Main_Divider);
        FillBox(121, 159, 122, 176, S::Main_Divider);
    }
    FillBox(80, 114, 160, 115, S::Main_Divider);
    FillBox(80, 158, 160, 159, S::Main_Divider);
    FillBox(80, 176, 160, 177, S::Main_Divider);
    DrawTextBox("50%", 122, 80, 38, 0, bg, S::Main_Batts, 8, AlignRight);
    if (page != 3) {
        DrawTextBox("f", 115, 80, 0, 0, bg, S::Main_BattsNum, 8, AlignLeft);
        DrawTextBox("1", 81, 81, 26, 11, bg, S::Main_Batts, 9, AlignLeft);
        FillBox(83, 83, 93, 90, S::Main_Batts);
    } else {
        const std::string t = TimeText();
        DrawTextBox(t.substr(0, 2), 80, 80, 16, 0, bg, S::Main_Clock, 8, AlignRight);
        DrawTextBox(":", 96, 80, 0, 0, bg, S::Main_Clock, 8, AlignLeft);
        DrawTextBox(t.substr(3, 2), 99, 80, 16, 0, bg, S::Main_Clock, 8, AlignLeft);
    }
    DrawInfoRowsSmall(page);

    switch (page) {
    case 0:
        DrawValueUnit("42.0", "W", 80, 124, 80, 25, bg, S::Main_Dom, S::Main_AccentVW, 7);
        break;
    case 1:
        DrawValueUnit("235", "*C", 80, 124, 80, 25, bg, S::Main_Dom, S::Main_AccentTC, 7);
        break;
    case 2:
        DrawTextBox("POWER", 80, 122, 80, 0, bg, S::Main_AccentPB, 8, AlignCenter);
        DrawTextBox("BANK", 80, 138, 80, 0, bg, S::Main_AccentPB, 8, AlignCenter);
        DrawTextBox("OFF", 100, 161, 40, 0, bg, S::Main_Fixed, 8, AlignMiddle | AlignCenter);
        break;
    default:
        DrawTextBox("DEVICE", 80, 122, 80, 0, bg, S::Main_TextMsg, 8, AlignCenter);
        DrawTextBox("LOCK", 80, 138, 80, 0, bg, S::Main_TextMsg, 8, AlignCenter);
        break;
    }
    if (page != 2) {
        DrawTextBox("PROFILE1", 80, 99, 80, 0, bg, S::Main_Profile, 8, AlignMiddle | AlignCenter);
        DrawValueUnit("0.00", "@", 123, 161, 38, 0, bg, S::Main_Fixed, S::Main_Fixed_Acc, 8);
        if (page == 1)
            DrawValueUnit("42.0", "W", 80, 161, 41, 0, bg, S::Main_Fixed, S::Main_Fixed_Acc, 8);
        else
            DrawValueUnit("3.30", "V", 80, 161, 41, 0, bg, S::Main_Fixed, S::Main_Fixed_Acc, 8);
    }
}

void TLSDrawer::DrawInfoRowsSmall(int page)
{
    const int ys[3] = {183, 201, 219};
    for (int i = 0; i < 3; ++i) {
        const int y = ys[i];
        const InfoRow& row = InfoRowsSmall[page == 2 ? 1 : 0][i];
        // A box with cut corners: x 108..159, y Y-1..Y+15 without its corner pixels.
        FillBox(109, y - 1, 159, y, S::Main_DivSq);
        FillBox(109, y + 15, 159, y + 16, S::Main_DivSq);
        FillBox(108, y, 109, y + 15, S::Main_DivSq);
        FillBox(109, y, 160, y + 15, S::Main_DivSq);
        DrawTextBox(row.icon, 80, y, 26, 15, S::Main_Background, S::Main_Info_Cap, 8, AlignMiddle | AlignCenter);
        DrawValueUnit(row.number, row.unit, 109, y, 51, 15, S::Main_DivSq, S::Main_Info, S::Main_Info_Acc, 8);
    }
}
