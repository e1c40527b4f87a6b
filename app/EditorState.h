#pragma once
// The editor's state: one instance of each for the whole program, owned by the
// main window's module. The drawer and the slot catalogue hold references to
// ThemeColors and SmallDisplay, so these are overwritten in place, never replaced.

#include "ColorModel.h"

#include <array>
#include <cstdint>
#include <string>

extern TThemeColorTable ThemeColors;
extern TPackedTheme PackedTheme;
extern TColor* SelectedSlot;        // an entry of ThemeColors, or nullptr
extern bool Modified;
extern std::string ThemeFileName;   // full path; empty = "Untitled"
extern bool SmallDisplay;           // false = 240x320, true = 80x160
extern int HoveredItem;             // row of the colour list under the pointer, -1 = none
extern std::string OverrideText;    // product codes accepted without the 240x320 display type

// The device commands go to (owned by the controller); the conversation
// with it belongs to the main window.
class THidDevice;
extern THidDevice* CurrentDevice;
