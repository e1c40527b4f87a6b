// Page 6, the charge screen, and page 7, the screensaver, with the two large
// clocks they share. Slots 34..41 and 26..28.

#include "BatteryImages.h"
#include "Unit2.h"

using S = SlotId;

void TLSDrawer::DrawClockLarge(int y, SlotId bg, SlotId fg)
{
    const std::string t = TimeText();
    const int dw = MeasureText(".", 0).first;
    const int cx = 120 - dw / 2;
    // The colon is two full stops (ink in rows 49..57 of the cell) drawn at two
    // heights; the upper cell, painted last, covers only inkless rows of the lower.
    DrawTextBox(".", cx, y - 12, dw, 0, bg, fg, 0, AlignCenter);
    DrawTextBox(".", cx, y - 35, dw, 0, bg, fg, 0, AlignCenter);
    DrawTextBox(t.substr(1, 1), cx - 36, y, 36, 0, bg, fg, 0, AlignCenter);
    DrawTextBox(t.substr(0, 1), cx - 72, y, 36, 0, bg, fg, 0, AlignCenter);
    DrawTextBox(t.substr(3, 1), cx + dw, y, 36, 0, bg, fg, 0, AlignCenter);
    DrawTextBox(t.substr(4, 1), cx + dw + 36, y, 36, 0, bg, fg, 0, AlignCenter);
}

void TLSDrawer::DrawClockSmall(int y, SlotId bg, SlotId fg)
{
    const std::string t = TimeText();
    const int dw = MeasureText(".", 7).first;
    const int cx = 120 - dw / 2;
    DrawTextBox(".", cx, y - 5, dw, 0, bg, fg, 7, AlignCenter);
    DrawTextBox(".", cx, y - 15, dw, 0, bg, fg, 7, AlignCenter);
    DrawTextBox(t.substr(0, 2), 80, y, cx - 81, 0, bg, fg, 7, AlignRight);
    DrawTextBox(t.substr(3, 2), cx + dw + 2, y, cx - 82, 0, bg, fg, 7, AlignLeft);
}

void TLSDrawer::DrawChargePage()
{
    const SlotId bg = S::Charge_Background;
    FillBox(0, 0, PreviewWidth, PreviewHeight, bg);
    if (!smallDisplay_) {
        DrawMonoImage(ChargeBatteryImage.data(), 39, 180, bg, S::Charge_Battery);
        DrawMonoImage(ChargeBatteryImage.data(), 139, 180, bg, S::Charge_Battery);
        FillBox(51, 232, 89, 267, S::Charge_Battery);
        FillBox(151, 232, 189, 267, S::Charge_Battery);
        DrawTextBox("1.23A", 34, 120, 72, 0, bg, S::Charge_Current, 6, AlignCenter);
        DrawTextBox("30*C", 134, 120, 72, 0, bg, S::Charge_Temp, 6, AlignCenter);
        DrawTextBox("3.70V", 34, 148, 72, 0, bg, S::Charge_Volt, 6, AlignCenter);
        DrawTextBox("3.73V", 134, 148, 72, 0, bg, S::Charge_VoltBal, 6, AlignCenter);
        DrawTextBox("50%", 34, 288, 72, 0, bg, S::Charge_Pct, 6, AlignCenter);
        DrawTextBox("51%", 134, 288, 72, 0, bg, S::Charge_Pct, 6, AlignCenter);
        DrawClockLarge(35, bg, S::Charge_Clock);
        return;
    }
    for (const auto& r : SmallBatteryOutline)
        FillBox(80 + r[0], 80 + r[1], 80 + r[0] + r[2], 80 + r[1] + r[3], S::Charge_Battery);
    FillBox(107, 188, 133, 213, S::Charge_Battery);
    DrawTextBox("50%", 100, 226, 40, 0, bg, S::Charge_Pct, 8, AlignCenter);
    DrawClockSmall(81, bg, S::Charge_Clock);
    DrawTextBox("30*C", 100, 115, 40, 0, bg, S::Charge_Temp, 8, AlignCenter);
    DrawTextBox("3.70V", 80, 131, 40, 0, bg, S::Charge_Volt, 8, AlignCenter);
    DrawTextBox("3.73V", 120, 131, 40, 0, bg, S::Charge_VoltBal, 8, AlignCenter);
}

void TLSDrawer::DrawSaverPage()
{
    const std::string date = DateText();
    const SlotId bg = S::Saver_Background;
    FillBox(0, 0, PreviewWidth, PreviewHeight, bg);
    if (!smallDisplay_) {
        DrawClockLarge(108, bg, S::Saver_Time);
        DrawTextBox(date, 40, 190, 160, 0, bg, S::Saver_Date, 6, AlignCenter);
    } else {
        DrawClockSmall(147, bg, S::Saver_Time);
        DrawTextBox(date, 80, 187, 80, 0, bg, S::Saver_Date, 8, AlignCenter);
    }
}
