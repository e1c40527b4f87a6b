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

bool ParseMoment(const std::string& text, std::tm& moment)
{
    // Exactly "YYYY-MM-DD HH:MM", and a day the calendar has.
    static const char Shape[] = "dddd-dd-dd dd:dd";
    if (text.size() != sizeof Shape - 1)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != Shape[i])
            return false;
    const auto number = [&](std::size_t at, std::size_t n) { return std::stoi(text.substr(at, n)); };
    const int y = number(0, 4), mo = number(5, 2), d = number(8, 2), h = number(11, 2), mi = number(14, 2);
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    static const int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1900 || mo < 1 || mo > 12 || h > 23 || mi > 59 || d < 1 || d > Days[mo - 1] + (mo == 2 && leap))
        return false;
    moment = std::tm{};
    moment.tm_year = y - 1900;
    moment.tm_mon = mo - 1;
    moment.tm_mday = d;
    moment.tm_hour = h;
    moment.tm_min = mi;
    return true;
}
