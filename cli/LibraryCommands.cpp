// lsthtool diff, convert and card: themes compared, exchanged with other
// tools, and drawn to share.

#include "CliCommon.h"
#include "FileIo.h"
#include "FileLock.h"
#include "PaletteFiles.h"
#include "PngWriter.h"
#include "ThemeCard.h"
#include "ThemeFile.h"
#include "ThemeFileUpdate.h"
#include "ThemeSlots.h"

#include <cstdio>
#include <filesystem>

namespace {

bool IsThemeFile(const std::string& path) { return SameTextIgnoringCase(FileExtension(path), "lsth"); }

// The colours a theme file or a palette gives, onto the defaults: a theme
// file gives every slot and its display size, a palette what it names.
bool ReadColours(const std::string& file, PaletteRead& read)
{
    TThemeColorTable defaults{};
    LoadDefaultTheme(defaults);
    PackTheme(defaults, read.words);
    if (IsThemeFile(file)) {
        LoadedTheme theme;
        if (!LoadForCli(file, theme))
            return false;
        read.words = theme.packed;
        read.given.fill(true);
        read.smallDisplay = theme.smallDisplay;
        return true;
    }
    const std::optional<PaletteFormat> format = PaletteFormatOf(file);
    if (!format || *format == PaletteFormat::CHeader) {
        Fail(file + ": reads .lsth, .gpl and .json files");
        return false;
    }
    PaletteError fault;
    if (!ReadPaletteFile(file, read, fault)) {
        Fail(file + (fault.line ? ":" + std::to_string(fault.line) : std::string()) + ": " + fault.reason);
        return false;
    }
    return true;
}

// A theme from a theme file or a palette; a palette's missing slots and
// display are the defaults'.
bool LoadAny(const std::string& file, LoadedTheme& theme)
{
    PaletteRead read;
    if (!ReadColours(file, read))
        return false;
    theme.packed = read.words;
    theme.smallDisplay = read.smallDisplay.value_or(false);
    return true;
}

std::string ThemeName(const std::string& file) { return std::filesystem::u8path(file).stem().u8string(); }

}  // namespace

int RunDiff(const Args& args)
{
    if (WantsHelp(args) || args.size() != 2) {
        std::printf("usage: lsthtool diff A.lsth B.lsth\n"
                    "Prints each slot whose colour differs as KEY A-WORD B-WORD ($XXXX), in slot order.\n"
                    "Exit 0 when the colours are the same, 1 when any differ, 2 when a file cannot be read.\n");
        return WantsHelp(args) ? 0 : 2;
    }
    LoadedTheme a, b;
    if (!LoadAny(args[0], a) || !LoadAny(args[1], b))
        return 2;
    int differ = 0;
    for (const ThemeSlot& slot : ThemeSlots) {
        const auto i = static_cast<std::size_t>(slot.index);
        if (a.packed[i] == b.packed[i])
            continue;
        ++differ;
        std::printf("%s $%04X $%04X\n", slot.key, static_cast<unsigned>(a.packed[i]), static_cast<unsigned>(b.packed[i]));
    }
    return differ ? 1 : 0;
}

int RunConvert(const Args& args)
{
    if (WantsHelp(args) || args.size() != 2) {
        std::printf("usage: lsthtool convert IN OUT\n"
                    "Converts by the files' extensions between theme files (.lsth), GIMP palettes (.gpl)\n"
                    "and JSON (.json); writes C headers (.h) too. A palette's entries are named by file\n"
                    "key, or taken in slot order; colours are rounded to RGB565. Into a theme file\n"
                    "already there go only the slots the input names, but for its locked ones; it\n"
                    "keeps its display size and every other line. A file that holds something other\n"
                    "than a theme is never written into.\n");
        return WantsHelp(args) ? 0 : 2;
    }
    const std::string& in = args[0];
    const std::string& out = args[1];
    const std::optional<PaletteFormat> outFormat = PaletteFormatOf(out);
    if (!IsThemeFile(out) && !outFormat)
        return UsageError("convert: writes .lsth, .gpl, .json and .h files, not " + Echo(out));
    PaletteRead read;
    if (!ReadColours(in, read))
        return 1;
    std::string error;
    if (IsThemeFile(out)) {
        // Into a theme as Import Palette goes into the editor's: the slots the
        // input names, but for the locked ones; a theme already there keeps
        // its display size and every other line.
        const ThemeUpdateResult written = UpdateThemeFile(out, [&](ThemeFileState& theme, std::string&) {
            TakeUnlocked(read.words, read.given, theme.locked, theme.words);
            if (!theme.exists && read.smallDisplay)
                theme.smallDisplay = *read.smallDisplay;
            return true;
        }, error);
        return written == ThemeUpdateResult::Written ? 0 : Fail(out + ": " + error);
    }
    FileLock lock;
    if (!lock.Acquire(out, &error))
        return Fail(out + ": " + error);
    const std::string text = WritePalette(*outFormat, read.words, read.smallDisplay.value_or(false), ThemeName(in));
    if (!WriteFileAtomically(out, text, &error))
        return Fail(out + ": " + error);
    return 0;
}

int RunCard(const Args& args)
{
    if (WantsHelp(args)) {
        std::printf("usage: lsthtool card FILE.lsth [--at \"YYYY-MM-DD HH:MM\"] -o CARD.png\n"
                    "Draws the theme's card: its name, the main, menu, info and charge pages at 240x320\n"
                    "and the main page at 80x160, and the 42 swatches with their names and #RRGGBB.\n");
        return 0;
    }
    std::string file, out, at;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--at") && i + 1 < args.size()) {
            std::string& value = args[i] == "-o" ? out : at;
            if (!value.empty())
                return UsageError("card: " + args[i] + " is given twice");
            value = args[i + 1], ++i;
        }
        else if (file.empty() && args[i][0] != '-')
            file = args[i];
        else
            return UsageError("card: unknown argument " + Echo(args[i]) + " (see lsthtool card --help)");
    }
    if (file.empty() || out.empty())
        return UsageError("card: a theme file and -o CARD.png are needed");
    std::tm moment{};
    if (!at.empty() && !ParseMoment(at, moment))
        return UsageError("card: --at must be a real moment in the form \"2026-12-08 09:05\", not " + Echo(at));
    LoadedTheme theme;
    if (!LoadAny(file, theme))
        return 1;
    TThemeColorTable colors{};
    UnpackTheme(theme.packed, colors);
    const Bitmap card = RenderThemeCard(colors, ThemeName(file), at.empty() ? ClockSource(LocalClockNow) : FixedClock(moment));
    std::string error;
    if (!WritePngFile(out, card, &error))
        return Fail(out + ": " + error);
    return 0;
}
