#include "DrawerClock.h"

#include <cctype>

std::tm LocalClockNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

ClockSource FixedClock(const std::tm& moment)
{
    return [moment] { return moment; };
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
