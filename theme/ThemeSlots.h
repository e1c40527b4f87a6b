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

// X(file key, section, default word, role), in slot order.
#define LARKSPUR_THEME_SLOTS(X) \
    X(Main_Background,    Main,    0x0000, Background) \
    X(Main_Divider,       Main,    0x2965, Divider) \
    X(Main_DivSq,         Main,    0x4A69, Surface) \
    X(Main_Batts,         Main,    0xFFFF, Text) \
    X(Main_BattsNum,      Main,    0x9CD3, SecondaryText) \
    X(Main_Clock,         Main,    0xFFFF, Text) \
    X(Main_Profile,       Main,    0x9CD3, SecondaryText) \
    X(Main_TCR,           Main,    0x528A, Label) \
    X(Main_Dom,           Main,    0xFFFF, Text) \
    X(Main_AccentVW,      Main,    0xFAC4, Hero) \
    X(Main_AccentTC,      Main,    0x1D6C, Hero) \
    X(Main_AccentPB,      Main,    0x05FF, Hero) \
    X(Main_Fixed,         Main,    0xC638, SecondaryText) \
    X(Main_Fixed_Acc,     Main,    0x05FF, Second) \
    X(Main_Info,          Main,    0x9CD3, SecondaryText) \
    X(Main_Info_Acc,      Main,    0x05FF, Second) \
    X(Main_Info_Cap,      Main,    0x528A, Label) \
    X(Main_PuffTime,      Main,    0xC638, SecondaryText) \
    X(Main_PuffTime_Acc,  Main,    0x05FF, Third) \
    X(Main_TextMsg,       Main,    0xFC10, Message) \
    X(Menu_Background,    Menu,    0x0000, Background) \
    X(Menu_TextHeader,    Menu,    0xFFFF, Text) \
    X(Menu_Divider,       Menu,    0xFFFF, Divider) \
    X(Menu_Cursor,        Menu,    0xFFFF, Cursor) \
    X(Menu_Text,          Menu,    0xFFFF, Text) \
    X(Menu_TextSelected,  Menu,    0x0000, OnCursor) \
    X(Saver_Background,   Saver,   0x0000, Background) \
    X(Saver_Time,         Saver,   0xC618, Hero) \
    X(Saver_Date,         Saver,   0x8410, Label) \
    X(Info_Background,    Info,    0x0000, Background) \
    X(Info_Header,        Info,    0xC638, HeroText) \
    X(Info_Divider,       Info,    0x4A69, Divider) \
    X(Info_Text,          Info,    0xFFFF, Text) \
    X(Info_Actions,       Info,    0xC638, SecondaryText) \
    X(Charge_Background,  Charge,  0x0000, Background) \
    X(Charge_Battery,     Charge,  0xC638, Hero) \
    X(Charge_Pct,         Charge,  0xD6BA, Third) \
    X(Charge_Volt,        Charge,  0xD6BA, Third) \
    X(Charge_VoltBal,     Charge,  0xD6A0, Balance) \
    X(Charge_Current,     Charge,  0xD6BA, Third) \
    X(Charge_Temp,        Charge,  0xD6BA, Third) \
    X(Charge_Clock,       Charge,  0xC618, SecondaryText)

// What a slot shows, which decides its colour in a generated theme.
enum class SlotRole : std::uint8_t {
    Background,     // a page's background
    Surface,        // a box drawn on the background, with text in it
    Divider,        // lines between parts of a page, in the hero's hue
    Text,           // main text and values
    SecondaryText,  // lesser values and headers
    Label,          // captions and units
    Hero,           // the arcs and their units, the screensaver's time, the batteries
    HeroText,       // a header in the hero's colour
    Cursor,         // the menu's selection bar, filled with the hero
    OnCursor,       // the text on the selection bar
    Second,         // the value accents
    Third,          // the puff and charge values
    Message,        // a message to the user
    Balance,        // the cells' balance
};

// A slot by name; the value is its index into the theme colour table. The
// names are the file keys.
enum class SlotId : std::uint8_t {
#define LARKSPUR_SLOT_ENUM(key, section, word, role) key,
    LARKSPUR_THEME_SLOTS(LARKSPUR_SLOT_ENUM)
#undef LARKSPUR_SLOT_ENUM
};

constexpr int SlotIndex(SlotId slot) { return static_cast<int>(slot); }

struct ThemeSlot {
    int index;
    const char* section;
    const char* key;
    TRGB565 defaultWord;
    SlotRole role;
};

constexpr std::array<ThemeSlot, ThemeSlotCount> ThemeSlots = {{
#define LARKSPUR_SLOT_ROW(key, section, word, role) {SlotIndex(SlotId::key), #section, #key, word, SlotRole::role},
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
