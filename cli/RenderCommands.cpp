// lsthtool fonts and render: images of what the drawer paints.

#include "CliCommon.h"
#include "ColorVision.h"
#include "Legibility.h"
#include "PageImage.h"
#include "GlyphSheet.h"
#include "PngWriter.h"
#include "SlotCatalogue.h"
#include "ThemeFile.h"
#include "ThemeSlots.h"
#include "Unit2.h"

#include <algorithm>
#include <cstdio>
#include <set>

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

int RenderUsage(bool help)
{
    std::printf("usage: lsthtool render [FILE.lsth] --page N|all [--display 240x320|80x160]\n"
                "                       [--at \"YYYY-MM-DD HH:MM\"] [--zoom 1..4] [--screen-only]\n"
                "                       [--simulate normal|protanopia|deuteranopia|tritanopia|greyscale]\n"
                "                       [--slot-map] -o OUT.png\n"
                "Draws preview pages (0..7) as the editor shows them. Without FILE the default theme;\n"
                "without --display the file's own size; --at fixes the clock. \"all\" puts the eight\n"
                "pages side by side (1920x320). --slot-map writes instead what painted each pixel:\n"
                "red = foreground slot, green = background slot, blue = 17 x ramp level (0..15).\n"
                "--screen-only keeps the device screen alone (80x160 cut from its frame), --zoom\n"
                "enlarges every pixel to a square, --simulate shows the picture as eyes with that\n"
                "colour-vision deficiency see it.\n");
    return help ? 0 : 1;
}

int InspectUsage(bool help)
{
    std::printf("usage: lsthtool inspect [FILE.lsth] --page N [--display 240x320|80x160]\n"
                "                        [--at \"YYYY-MM-DD HH:MM\"] X Y\n"
                "Names the slots that paint bitmap pixel (X, Y) of a preview page: the foreground\n"
                "and background slot, the ramp level between them (0 background .. 15 foreground),\n"
                "their file keys and, where the page lists them, their names in the colour list.\n");
    return help ? 0 : 1;
}

// What render and inspect share: a theme, a display size, a clock and pages.
struct PreviewRequest {
    std::string command;
    std::vector<std::string> positional;
    int page = -1;  // -1: all
    bool slotMap = false;
    bool screenOnly = false;
    int zoom = 1;
    ColorVision vision = ColorVision::Normal;
    std::string out;
    bool fix = false;  // lint --fix
    // 2 where the command line itself was wrong (an option given twice or
    // one the command does not take), else 1.
    int errorCode = 1;
    TThemeColorTable colors{};
    bool small = false;
    // The theme file read.
    std::string file;
    std::tm moment{};
};

// Reads the options and the theme; an error message, or empty when all is well.
enum class Mode { Render, Inspect, Lint };

std::string ReadPreviewRequest(const Args& args, Mode mode, PreviewRequest& request)
{
    request.command = mode == Mode::Render ? "render" : mode == Mode::Inspect ? "inspect" : "lint";
    const bool allowAll = mode == Mode::Render;
    const std::string& cmd = request.command;
    std::string pageText, display, at, file, zoom, simulate;
    std::set<std::string> given;
    // Every fault before the theme file is read is the command line's.
    request.errorCode = 2;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string* target = a == "--page" ? &pageText : a == "--display" ? &display : a == "--at" ? &at
                            : ((allowAll || mode == Mode::Lint) && a == "-o") ? &request.out
                            : (allowAll && a == "--zoom") ? &zoom
                            : (allowAll && a == "--simulate") ? &simulate : nullptr;
        if (target) {
            if (i + 1 >= args.size())
                return cmd + ": " + a + " needs a value";
            if (!given.insert(a).second)
                return cmd + ": " + a + " is given twice";
            *target = args[++i];
        } else if (a == "--fix" && mode == Mode::Lint) {
            if (!given.insert(a).second) {
                request.errorCode = 2;
                return cmd + ": " + a + " is given twice";
            }
            request.fix = true;
        } else if (a == "--slot-map" && allowAll) {
            request.slotMap = true;
        } else if (a == "--screen-only" && allowAll) {
            request.screenOnly = true;
        } else if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9')) {
            request.errorCode = 2;
            return cmd + ": " + (a == "-o" ? "writes no file; -o is not taken" : "unknown option " + Echo(a));
        } else {
            request.positional.push_back(a);
        }
    }
    if (mode == Mode::Lint && given.count("-o") && !request.fix)
        return cmd + ": writes no file without --fix; -o is not taken";
    if (!zoom.empty()) {
        if (zoom.size() != 1 || zoom[0] < '1' || zoom[0] > '4')
            return cmd + ": --zoom must be 1..4, not " + Echo(zoom);
        request.zoom = zoom[0] - '0';
    }
    if (!simulate.empty() && !ParseColorVision(simulate, request.vision))
        return cmd + ": --simulate must be normal, protanopia, deuteranopia, tritanopia or greyscale, not " +
               Echo(simulate);
    if (mode == Mode::Lint && !pageText.empty())
        return cmd + ": checks every page; --page is not taken";
    if (pageText.empty() && mode != Mode::Lint)
        return cmd + ": --page is required (see lsthtool " + cmd + " --help)";
    if (mode != Mode::Lint && !(allowAll && pageText == "all")) {
        if (pageText.size() != 1 || pageText[0] < '0' || pageText[0] > '7')
            return cmd + ": --page must be 0..7" + (allowAll ? " or all" : "") + ", not " + Echo(pageText);
        request.page = pageText[0] - '0';
    }
    if (!display.empty() && display != "240x320" && display != "80x160")
        return cmd + ": --display must be 240x320 or 80x160, not " + Echo(display);
    request.moment = LocalClockNow();
    if (given.count("--at") && !ParseMoment(at, request.moment))
        return cmd + ": --at must be a real moment in the form \"2026-12-08 09:05\", not " + Echo(at);

    // render takes at most the theme file; inspect takes it before X and Y.
    const std::size_t coordinates = mode == Mode::Inspect ? std::min<std::size_t>(2, request.positional.size()) : 0;
    const std::size_t fileArgs = request.positional.size() - coordinates;
    if (fileArgs > 1)
        return cmd + ": more than one theme file given";
    if (fileArgs == 1) {
        file = request.positional.front();
        request.positional.erase(request.positional.begin());
    }
    request.errorCode = 1;
    LoadDefaultTheme(request.colors);
    if (!file.empty()) {
        TPackedTheme packed{};
        std::string name;
        ThemeFileError error;
        if (!LoadTheme(file, packed, [&](bool s) { request.small = s; }, name, &error))
            return file + ": " + (error.key.empty() ? "" : error.key + ": ") + error.reason;
        UnpackTheme(packed, request.colors);
        request.file = file;
    }
    if (!display.empty())
        request.small = display == "80x160";
    return {};
}

// The slot map of the drawer's last page as an image.
Bitmap SlotMapImage(const SlotMap& slots)
{
    Bitmap image(slots.Width(), slots.Height());
    for (int y = 0; y < slots.Height(); ++y)
        for (int x = 0; x < slots.Width(); ++x) {
            const PixelSlots p = slots.At(x, y);
            std::uint8_t* px = image.Row(y) + x * 3;
            px[0] = static_cast<std::uint8_t>(17 * p.level);
            px[1] = static_cast<std::uint8_t>(SlotIndex(p.bg));
            px[2] = static_cast<std::uint8_t>(SlotIndex(p.fg));
        }
    return image;
}

bool ParseCoordinate(const std::string& text, int limit, int& value)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoi(text);
    return value < limit;
}

void PrintSlotLine(const char* role, SlotId slot, int page, bool small)
{
    const ThemeSlot& row = ThemeSlots[static_cast<std::size_t>(SlotIndex(slot))];
    std::printf("%s %d %s", role, row.index, row.key);
    if (const char* listed = ListNameOf(page, small, slot))
        std::printf(" \"%s\"", listed);
    std::printf("\n");
}

}  // namespace

int RunRender(const Args& args)
{
    if (WantsHelp(args))
        return RenderUsage(true);
    PreviewRequest request;
    const std::string error = ReadPreviewRequest(args, Mode::Render, request);
    if (!error.empty())
        return request.errorCode == 2 ? UsageError(error) : Fail(error);
    if (request.out.empty())
        return UsageError("render: -o is required (see lsthtool render --help)");

    TLSDrawer drawer(request.colors, request.small);
    drawer.SetClock(FixedClock(request.moment));
    std::vector<Bitmap> pages;
    for (int p = 0; p < PageCount; ++p) {
        if (request.page >= 0 && p != request.page)
            continue;
        drawer.DrawPage(p);
        Bitmap picture = request.slotMap ? SlotMapImage(drawer.Slots()) : drawer.Bitmap();
        if (!request.slotMap)
            SimulateBitmap(picture, request.vision);
        if (request.screenOnly)
            picture = ScreenOf(picture, request.small);
        pages.push_back(Enlarged(picture, request.zoom));
    }
    const Bitmap image = SideBySide(pages);
    std::string writeError;
    if (!WritePngFile(request.out, image, &writeError))
        return Fail(request.out + ": " + writeError);
    return 0;
}

int RunInspect(const Args& args)
{
    if (WantsHelp(args))
        return InspectUsage(true);
    PreviewRequest request;
    const std::string error = ReadPreviewRequest(args, Mode::Inspect, request);
    if (!error.empty())
        return request.errorCode == 2 ? UsageError(error) : Fail(error);
    int x = 0, y = 0;
    if (request.positional.size() != 2 || !ParseCoordinate(request.positional[0], PreviewWidth, x) ||
        !ParseCoordinate(request.positional[1], PreviewHeight, y))
        return UsageError("inspect: give the pixel as X Y, X 0..239 and Y 0..319 (see lsthtool inspect --help)");
    TLSDrawer drawer(request.colors, request.small);
    drawer.SetClock(FixedClock(request.moment));
    drawer.DrawPage(request.page);
    const PixelSlots p = drawer.Slots().At(x, y);
    std::printf("%d %d fg=%d bg=%d level=%d\n", x, y, SlotIndex(p.fg), SlotIndex(p.bg), p.level);
    PrintSlotLine("fg", p.fg, request.page, request.small);
    PrintSlotLine("bg", p.bg, request.page, request.small);
    return 0;
}

int RunLint(const Args& args)
{
    if (WantsHelp(args)) {
        std::printf("usage: lsthtool lint FILE.lsth [--display 240x320|80x160]\n"
                    "       lsthtool lint FILE.lsth --fix [-o OUT.lsth]\n"
                    "Lists every pair of text and background colour a page shows that is hard to read:\n"
                    "below a contrast ratio of 4.5:1 for text, 3:1 for the large digits and icons\n"
                    "(WCAG 2), worst first. Exit 1 when there is any, 2 for an error.\n"
                    "With --fix, mends them at both display sizes with the colours nearest to the\n"
                    "theme's own, writes the theme back (or to OUT) and prints each change as\n"
                    "KEY #old -> #new (ratio before -> after). Exit 1 when a pair cannot be mended.\n");
        return 0;
    }
    PreviewRequest request;
    const std::string error = ReadPreviewRequest(args, Mode::Lint, request);
    if (!error.empty())
        return UsageError(error);
    if (!request.positional.empty())
        return UsageError("lint: one theme file, and no pixel (see lsthtool lint --help)");
    if (request.fix) {
        if (request.file.empty())
            return UsageError("lint: --fix needs the theme file to mend");
        return WriteLegibilityFix(request.file, request.out);
    }
    TLSDrawer drawer(request.colors, request.small);
    drawer.SetClock(FixedClock(request.moment));
    const auto failing = FailingPairs(drawer, request.colors);
    for (const LegibilityPair& p : failing) {
        const auto describe = [&](SlotId slot) {
            const char* name = ListNameOf(p.page, request.small, slot);
            const std::string key = SlotKey(slot);
            return name ? key + " \"" + name + "\"" : key;
        };
        std::printf("%.2f:1 (needs %.1f:1) page %d \"%s\": %s on %s\n", p.ratio, p.required, p.page,
                    PageNames[p.page], describe(p.fg).c_str(), describe(p.bg).c_str());
    }
    return failing.empty() ? 0 : 1;
}
