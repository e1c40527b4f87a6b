#include "CliCommon.h"

#include "SafeText.h"
#include "ThemeFile.h"
#include "ThemeSlots.h"

#include <cctype>
#include <cstdio>

bool WantsHelp(const Args& args)
{
    for (const std::string& a : args)
        if (a == "-h" || a == "--help")
            return true;
    return false;
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "lsthtool: %s\n", EscapeForTerminal(message).c_str());
    return 1;
}

int UsageError(const std::string& message)
{
    Fail(message);
    return 2;
}

std::string Echo(const std::string& value)
{
    constexpr std::size_t Shown = 60;
    if (value.size() <= Shown)
        return "'" + value + "'";
    // Cut at a character boundary, not inside a UTF-8 sequence.
    std::size_t cut = Shown;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
        --cut;
    return "'" + value.substr(0, cut) + "\u2026'";
}

void PrintThemeWords(const TPackedTheme& packed, bool smallDisplay)
{
    for (const ThemeSlot& slot : ThemeSlots)
        std::printf("%d %s $%04X\n", slot.index, slot.key, static_cast<unsigned>(packed[static_cast<std::size_t>(slot.index)]));
    std::printf("Display %d\n", smallDisplay ? 1 : 0);
}

bool LoadForCli(const std::string& file, LoadedTheme& theme, ThemeLoadReport* report)
{
    std::string name;
    ThemeFileError error;
    if (LoadTheme(file, theme.packed, [&](bool small) { theme.smallDisplay = small; }, name, &error, report))
        return true;
    Fail(file + ": " + (error.key.empty() ? "" : error.key + ": ") + error.reason);
    return false;
}

