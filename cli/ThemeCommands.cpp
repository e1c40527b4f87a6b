// lsthtool dump, check and set: theme files without the window.

#include "CliCommon.h"
#include "ColorText.h"
#include "SafeText.h"
#include "IntegerSyntax.h"
#include "SlotCatalogue.h"
#include "ThemeFile.h"
#include "ThemeFileUpdate.h"
#include "ThemeSlots.h"

#include <cstdio>
#include <array>

int RunDump(const Args& args)
{
    if (!WantsHelp(args) && args.size() != 1)
        return UsageError("usage: lsthtool dump FILE (see lsthtool dump --help)");
    if (WantsHelp(args)) {
        std::printf("usage: lsthtool dump FILE\n"
                    "Prints the 42 slots as \"<slot> <key> $<WORD>\" and then \"Display <0|1>\".\n");
        return 0;
    }
    LoadedTheme theme;
    ThemeLoadReport report;
    if (!LoadForCli(args[0], theme, &report))
        return 1;
    if (report.NoThemeKeys())
        std::fprintf(stderr, "lsthtool: %s: holds no theme colours (not a theme file?); these are the defaults\n",
                     EscapeForTerminal(args[0]).c_str());
    PrintThemeWords(theme.packed, theme.smallDisplay);
    return 0;
}

int RunCheck(const Args& args)
{
    Args files;
    bool strict = false;
    for (const std::string& a : args) {
        if (a == "--strict")
            strict = true;
        else
            files.push_back(a);
    }
    if (!WantsHelp(args) && files.empty())
        return UsageError("usage: lsthtool check [--strict] FILE... (see lsthtool check --help)");
    if (WantsHelp(args)) {
        std::printf("usage: lsthtool check [--strict] FILE...\n"
                    "Checks that each theme file loads; names the first bad key of each that does not.\n"
                    "Keys a file lacks (they load as their defaults) are named as warnings; with\n"
                    "--strict a missing key fails the check too.\n");
        return 0;
    }
    int result = 0;
    for (const std::string& file : files) {
        LoadedTheme theme;
        ThemeLoadReport report;
        if (!LoadForCli(file, theme, &report)) {
            result = 1;
            continue;
        }
        for (const auto& [key, text] : report.widerThanAWord)
            std::fprintf(stderr, "%s: %s: warning: %s is more than 16 bits; the device would see only its low 16\n",
                         EscapeForTerminal(file).c_str(), key.c_str(), EscapeForTerminal(text).c_str());
        for (const std::string& key : report.missingKeys)
            std::fprintf(stderr, "%s: %s: %s\n", EscapeForTerminal(file).c_str(), key.c_str(),
                         strict ? "missing" : "warning: missing, reads as the default");
        if (strict && !report.missingKeys.empty())
            result = 1;
    }
    return result;
}

int RunSet(const Args& args)
{
    if (!WantsHelp(args) && args.empty())
        return UsageError("usage: lsthtool set FILE [KEY=VALUE]... [--display 240x320|80x160] (see lsthtool set --help)");
    if (WantsHelp(args)) {
        std::printf("usage: lsthtool set FILE [KEY=VALUE]... [--display 240x320|80x160]\n"
                    "Sets colour keys (VALUE as in theme files, e.g. $FAC4, or #RRGGBB, rounded to RGB565)\n"
                    "and saves FILE, keeping every other line. A missing FILE starts from the default theme.\n");
        return 0;
    }
    const std::string& file = args[0];
    // What to change, all read before the file is touched.
    TPackedTheme words{};
    std::array<bool, ThemeSlotCount> given{};
    int display = -1;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--display") {
            if (i + 1 >= args.size())
                return UsageError("set: --display needs 240x320 or 80x160");
            const std::string& size = args[++i];
            if (size != "240x320" && size != "80x160")
                return UsageError("set: unknown display size " + Echo(size) + " (240x320 or 80x160)");
            if (display >= 0)
                return UsageError("set: --display is given twice");
            display = size == "80x160" ? 1 : 0;
            continue;
        }
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos)
            return UsageError("set: expected KEY=VALUE, got " + Echo(arg));
        const ThemeSlot* slot = FindSlotByKey(arg.substr(0, eq));
        if (!slot)
            return UsageError("set: unknown colour key " + Echo(arg.substr(0, eq)));
        const std::string value = arg.substr(eq + 1);
        TColor color = 0;
        std::int32_t word = 0;
        // "#RRGGBB" only: other texts are theme-file integers, "123456" decimal among them.
        if (value.size() == 7 && value[0] == '#' && ParseColorText(value, color))
            word = ColorToRGB565(color);
        else if (!ParseStrictInteger(value, word) || word < 0 || word > 0xFFFF)
            // Nothing is cut to fit: what is stored is what was asked for.
            return UsageError("set: " + std::string(slot->key) + ": not a colour word 0..65535 or #RRGGBB: " + Echo(value));
        words[static_cast<std::size_t>(slot->index)] = static_cast<TRGB565>(static_cast<std::uint32_t>(word) & 0xFFFFu);
        given[static_cast<std::size_t>(slot->index)] = true;
    }

    // Read, change and write under one lock: two runs at once each see the
    // other's change. A slot named here is set as an edit in the editor sets
    // it, locked or not; the lock itself stays.
    std::string error;
    const ThemeUpdateResult result = UpdateThemeFile(file, [&](ThemeFileState& theme, std::string&) {
        for (int i = 0; i < ThemeSlotCount; ++i)
            if (given[static_cast<std::size_t>(i)])
                theme.words[static_cast<std::size_t>(i)] = words[static_cast<std::size_t>(i)];
        if (display >= 0)
            theme.smallDisplay = display == 1;
        return true;
    }, error);
    return result == ThemeUpdateResult::Written ? 0 : Fail(file + ": " + error);
}
