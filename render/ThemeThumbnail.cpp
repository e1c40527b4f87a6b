#include "ThemeThumbnail.h"

#include "PageImage.h"
#include "ThemeFile.h"
#include "Unit2.h"

ThemeThumbnail RenderThemeThumbnail(const std::string& path, int page, bool smallDisplay, const ClockSource& clock)
{
    ThemeThumbnail result;
    TPackedTheme packed{};
    std::string name;
    ThemeFileError error;
    ThemeLoadReport report;
    // Drawn at the display size asked for, whatever the file's.
    if (!LoadTheme(path, packed, nullptr, name, &error, &report)) {
        result.reason = (error.key.empty() ? "" : error.key + ": ") + error.reason;
        return result;
    }
    if (report.NoThemeKeys()) {
        result.reason = "holds no theme colours";
        return result;
    }
    TThemeColorTable colors{};
    UnpackTheme(packed, colors);
    bool small = smallDisplay;
    TLSDrawer drawer(colors, small);
    drawer.SetClock(clock);
    drawer.DrawPage(page);
    result.isTheme = true;
    result.screen = ScreenOf(drawer.Bitmap(), small);
    return result;
}
