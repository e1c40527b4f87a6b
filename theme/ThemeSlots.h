#pragma once
// The 42 theme slots: where each lives in a theme file and its default word.
// The defaults, the theme file reader and writer and `lsthtool dump` all walk
// this one table, so it is the only place a slot's key or default is spelled.

#include "ColorModel.h"

#include <array>

struct ThemeSlot {
    int index;
    const char* section;
    const char* key;
    TRGB565 defaultWord;
};

// clang-format off
constexpr std::array<ThemeSlot, ThemeSlotCount> ThemeSlots = {{
    { 0, "Main",   "Main_Background",   0x0000},
    { 1, "Main",   "Main_Divider",      0x2965},
    { 2, "Main",   "Main_DivSq",        0x4A69},
    { 3, "Main",   "Main_Batts",        0xFFFF},
    { 4, "Main",   "Main_BattsNum",     0x9CD3},
    { 5, "Main",   "Main_Clock",        0xFFFF},
    { 6, "Main",   "Main_Profile",      0x9CD3},
    { 7, "Main",   "Main_TCR",          0x528A},
    { 8, "Main",   "Main_Dom",          0xFFFF},
    { 9, "Main",   "Main_AccentVW",     0xFAC4},
    {10, "Main",   "Main_AccentTC",     0x1D6C},
    {11, "Main",   "Main_AccentPB",     0x05FF},
    {12, "Main",   "Main_Fixed",        0xC638},
    {13, "Main",   "Main_Fixed_Acc",    0x05FF},
    {14, "Main",   "Main_Info",         0x9CD3},
    {15, "Main",   "Main_Info_Acc",     0x05FF},
    {16, "Main",   "Main_Info_Cap",     0x528A},
    {17, "Main",   "Main_PuffTime",     0xC638},
    {18, "Main",   "Main_PuffTime_Acc", 0x05FF},
    {19, "Main",   "Main_TextMsg",      0xFC10},
    {20, "Menu",   "Menu_Background",   0x0000},
    {21, "Menu",   "Menu_TextHeader",   0xFFFF},
    {22, "Menu",   "Menu_Divider",      0xFFFF},
    {23, "Menu",   "Menu_Cursor",       0xFFFF},
    {24, "Menu",   "Menu_Text",         0xFFFF},
    {25, "Menu",   "Menu_TextSelected", 0x0000},
    {26, "Saver",  "Saver_Background",  0x0000},
    {27, "Saver",  "Saver_Time",        0xC618},
    {28, "Saver",  "Saver_Date",        0x8410},
    {29, "Info",   "Info_Background",   0x0000},
    {30, "Info",   "Info_Header",       0xC638},
    {31, "Info",   "Info_Divider",      0x4A69},
    {32, "Info",   "Info_Text",         0xFFFF},
    {33, "Info",   "Info_Actions",      0xC638},
    {34, "Charge", "Charge_Background", 0x0000},
    {35, "Charge", "Charge_Battery",    0xC638},
    {36, "Charge", "Charge_Pct",        0xD6BA},
    {37, "Charge", "Charge_Volt",       0xD6BA},
    {38, "Charge", "Charge_VoltBal",    0xD6A0},
    {39, "Charge", "Charge_Current",    0xD6BA},
    {40, "Charge", "Charge_Temp",       0xD6BA},
    {41, "Charge", "Charge_Clock",      0xC618},
}};
// clang-format on

constexpr const char* DisplaySection = "Common";
constexpr const char* DisplayKey = "Display";

constexpr bool SlotTableIsInOrder()
{
    for (int i = 0; i < ThemeSlotCount; ++i)
        if (ThemeSlots[static_cast<std::size_t>(i)].index != i)
            return false;
    return true;
}
static_assert(SlotTableIsInOrder(), "slot table rows must follow slot order");
