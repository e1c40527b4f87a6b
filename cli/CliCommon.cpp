#include "CliCommon.h"

#include "SafeText.h"
#include "ThemeSlots.h"

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

void PrintThemeWords(const TPackedTheme& packed, bool smallDisplay)
{
    for (const ThemeSlot& slot : ThemeSlots)
        std::printf("%d %s $%04X\n", slot.index, slot.key, static_cast<unsigned>(packed[static_cast<std::size_t>(slot.index)]));
    std::printf("Display %d\n", smallDisplay ? 1 : 0);
}
