#pragma once
// The 42 theme slots: where each lives in a theme file and its default word.
// The defaults, the theme file reader and writer, `lsthtool dump`, the pages and
// the slot catalogue all come from the one list below, so it is the only place
// a slot's key, position or default is spelled.

#include "AsciiText.h"
#include "ColorModel.h"

#include <array>
#include <cstdint>
#include <string_view>

// X(file key, section, default word), in slot order.
#define LARKSPUR_THEME_SLOTS(X) \
    X(Main_Background,    Main,    0x0000) \
    X(Main_Divider,       Main,    0x2965) \
    X(Main_DivSq,         Main,    0x4A69) \
    X(Main_Batts,         Main,    0xFFFF) \
    X(Main_BattsNum,      Main,    0x9CD3) \
    X(Main_Clock,         Main,    0xFFFF) \
    X(Main_Profile,       Main,    0x9CD3) \
    X(Main_TCR,           Main,    0x528A) \
    X(Main_Dom,           Main,    0xFFFF) \
    X(Main_AccentVW,      Main,    0xFAC4) \
    X(Main_AccentTC,      Main,    0x1D6C) \
    X(Main_AccentPB,      Main,    0x05FF) \
    X(Main_Fixed,         Main,    0xC638) \
    X(Main_Fixed_Acc,     Main,    0x05FF) \
    X(Main_Info,          Main,    0x9CD3) \
    X(Main_Info_Acc,      Main,    0x05FF) \
    X(Main_Info_Cap,      Main,    0x528A) \
    X(Main_PuffTime,      Main,    0xC638) \
    X(Main_PuffTime_Acc,  Main,    0x05FF) \
    X(Main_TextMsg,       Main,    0xFC10) \
    X(Menu_Background,    Menu,    0x0000) \
    X(Menu_TextHeader,    Menu,    0xFFFF) \
    X(Menu_Divider,       Menu,    0xFFFF) \
    X(Menu_Cursor,        Menu,    0xFFFF) \
    X(Menu_Text,          Menu,    0xFFFF) \
    X(Menu_TextSelected,  Menu,    0x0000) \
    X(Saver_Background,   Saver,   0x0000) \
    X(Saver_Time,         Saver,   0xC618) \
    X(Saver_Date,         Saver,   0x8410) \
    X(Info_Background,    Info,    0x0000) \
    X(Info_Header,        Info,    0xC638) \
    X(Info_Divider,       Info,    0x4A69) \
    X(Info_Text,          Info,    0xFFFF) \
    X(Info_Actions,       Info,    0xC638) \
    X(Charge_Background,  Charge,  0x0000) \
    X(Charge_Battery,     Charge,  0xC638) \
    X(Charge_Pct,         Charge,  0xD6BA) \
    X(Charge_Volt,        Charge,  0xD6BA) \
    X(Charge_VoltBal,     Charge,  0xD6A0) \
    X(Charge_Current,     Charge,  0xD6BA) \
    X(Charge_Temp,        Charge,  0xD6BA) \
    X(Charge_Clock,       Charge,  0xC618)

// A slot by name; the value is its index into the theme colour table. The
// names are the file keys.
enum class SlotId : std::uint8_t {
#define LARKSPUR_SLOT_ENUM(key, section, word) key,
    LARKSPUR_THEME_SLOTS(LARKSPUR_SLOT_ENUM)
#undef LARKSPUR_SLOT_ENUM
};

constexpr int SlotIndex(SlotId slot) { return static_cast<int>(slot); }

struct ThemeSlot {
    int index;
    const char* section;
    const char* key;
    TRGB565 defaultWord;
};

constexpr std::array<ThemeSlot, ThemeSlotCount> ThemeSlots = {{
#define LARKSPUR_SLOT_ROW(key, section, word) {SlotIndex(SlotId::key), #section, #key, word},
    LARKSPUR_THEME_SLOTS(LARKSPUR_SLOT_ROW)
#undef LARKSPUR_SLOT_ROW
}};

// A slot's file key.
constexpr const char* SlotKey(SlotId slot) { return ThemeSlots[static_cast<std::size_t>(SlotIndex(slot))].key; }

// The slot a file key names, whatever its letter case; null for none.
inline const ThemeSlot* FindSlotByKey(std::string_view key)
{
    for (const ThemeSlot& slot : ThemeSlots)
        if (SameTextIgnoringCase(slot.key, key))
            return &slot;
    return nullptr;
}

constexpr const char* DisplaySection = "Common";
constexpr const char* DisplayKey = "Display";
// The editor's own section: which slots the designer locked.
constexpr const char* EditorSection = "Editor";
constexpr const char* LockedKey = "Locked";

constexpr bool SlotTableIsInOrder()
{
    for (int i = 0; i < ThemeSlotCount; ++i)
        if (ThemeSlots[static_cast<std::size_t>(i)].index != i)
            return false;
    return true;
}
static_assert(SlotTableIsInOrder(), "slot table rows must follow slot order");
static_assert(SlotIndex(SlotId::Charge_Clock) == ThemeSlotCount - 1, "every slot has a name");
