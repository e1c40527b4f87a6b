#include "DrawerClock.h"

std::tm LocalClockNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

ClockSource FixedClock(const std::tm& moment)
{
    return [moment] { return moment; };
}
