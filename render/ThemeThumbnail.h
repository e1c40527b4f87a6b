#pragma once
// A theme file's picture for the theme browser: one page at one display
// size, the device screen as the preview draws it; or why the file is no
// theme. Safe to call from any thread: each call has its own drawer.

#include "Bitmap.h"
#include "DrawerClock.h"

#include <string>

struct ThemeThumbnail {
    bool isTheme = false;
    std::string reason;  // why not, when it is none
    Bitmap screen{0, 0};
};

ThemeThumbnail RenderThemeThumbnail(const std::string& path, int page, bool smallDisplay, const ClockSource& clock);
