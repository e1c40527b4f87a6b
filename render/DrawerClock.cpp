#include "DrawerClock.h"

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
