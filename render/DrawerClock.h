#pragma once
// Where the mock-ups take their time and date from. The editor shows local
// time; tests and `lsthtool render --at` pin it so a page renders reproducibly.

#include <ctime>
#include <functional>
#include <string>

using ClockSource = std::function<std::tm()>;

std::tm LocalClockNow();
// A clock that always answers the given moment.
ClockSource FixedClock(const std::tm& moment);
// "YYYY-MM-DD HH:MM", a moment the calendar has.
bool ParseMoment(const std::string& text, std::tm& moment);
