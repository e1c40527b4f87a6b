// lsthtool fonts and render: images of what the drawer paints.

#include "CliCommon.h"
#include "GlyphSheet.h"
#include "PngWriter.h"
#include "SlotCatalogue.h"
#include "ThemeFile.h"
#include "Unit2.h"

#include <cstdio>
#include <cstring>

int RunFonts(const Args& args)
{
    if (WantsHelp(args) || args.size() != 2 || args[0] != "-o") {
        std::printf("usage: lsthtool fonts -o FILE.png\n"
                    "Draws every character of the ten fonts, enlarged, for review.\n");
        return WantsHelp(args) ? 0 : 1;
    }
    std::string error;
    if (!WritePngFile(args[1], RenderGlyphSheet(), &error))
        return Fail(args[1] + ": " + error);
    return 0;
}

namespace {

bool ParseMoment(const std::string& text, std::tm& moment)
{
    int y, mo, d, h, mi;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &y, &mo, &d, &h, &mi, &tail) != 5)
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 || mi > 59 || y < 1900)
        return false;
    moment = std::tm{};
    moment.tm_year = y - 1900;
    moment.tm_mon = mo - 1;
    moment.tm_mday = d;
    moment.tm_hour = h;
    moment.tm_min = mi;
    return true;
}

int RenderUsage(bool help)
{
    std::printf("usage: lsthtool render [FILE.lsth] --page N|all [--display 240x320|80x160]\n"
                "                       [--at \"YYYY-MM-DD HH:MM\"] -o OUT.png\n"
                "Draws preview pages (0..7) as the editor shows them. Without FILE the default theme;\n"
                "without --display the file's own size; --at fixes the clock. \"all\" puts the eight\n"
                "pages side by side (1920x320).\n");
    return help ? 0 : 1;
}

}  // namespace

int RunRender(const Args& args)
{
    if (WantsHelp(args))
        return RenderUsage(true);
    std::string file, pageText, display, at, out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string* target = a == "--page" ? &pageText : a == "--display" ? &display : a == "--at" ? &at
                            : a == "-o" ? &out : nullptr;
        if (target) {
            if (i + 1 >= args.size())
                return Fail("render: " + a + " needs a value");
            *target = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return Fail("render: unknown option '" + a + "'");
        } else if (file.empty()) {
            file = a;
        } else {
            return Fail("render: more than one theme file given");
        }
    }
    if (pageText.empty() || out.empty())
        return Fail("render: --page and -o are required (see lsthtool render --help)");
    int page = -1;
    if (pageText != "all") {
        if (pageText.size() != 1 || pageText[0] < '0' || pageText[0] > '7')
            return Fail("render: --page must be 0..7 or all, not '" + pageText + "'");
        page = pageText[0] - '0';
    }
    if (!display.empty() && display != "240x320" && display != "80x160")
        return Fail("render: --display must be 240x320 or 80x160, not '" + display + "'");
    std::tm moment = LocalClockNow();
    if (!at.empty() && !ParseMoment(at, moment))
        return Fail("render: --at must look like \"2026-12-08 09:05\", not '" + at + "'");

    TThemeColorTable colors{};
    LoadDefaultTheme(colors);
    bool small = false;
    if (!file.empty()) {
        TPackedTheme packed{};
        std::string name;
        ThemeFileError error;
        if (!LoadTheme(file, packed, [&](bool s) { small = s; }, name, &error))
            return Fail(file + ": " + (error.key.empty() ? "" : error.key + ": ") + error.reason);
        UnpackTheme(packed, colors);
    }
    if (!display.empty())
        small = display == "80x160";

    TLSDrawer drawer(colors, small);
    drawer.SetClock(FixedClock(moment));
    Bitmap image = page >= 0 ? Bitmap(PreviewWidth, PreviewHeight) : Bitmap(PreviewWidth * PageCount, PreviewHeight);
    for (int p = 0; p < PageCount; ++p) {
        if (page >= 0 && p != page)
            continue;
        drawer.DrawPage(p);
        const int left = page >= 0 ? 0 : p * PreviewWidth;
        for (int y = 0; y < PreviewHeight; ++y)
            std::memcpy(image.Row(y) + left * 3, drawer.Bitmap().Row(y), PreviewWidth * 3);
    }
    std::string error;
    if (!WritePngFile(out, image, &error))
        return Fail(out + ": " + error);
    return 0;
}
