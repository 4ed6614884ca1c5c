#pragma once
// The local time and the regional settings the status-bar clock shows it with.
// The clock is a seam: tests fix the time, the program reads the system's.
#include <windows.h>

#include <functional>
#include <string>

#include "settings/Clock.h"

namespace settings {

using ClockFunction = std::function<SYSTEMTIME()>;

// Puts clock in place of the system's local time and returns the previous one;
// an empty clock brings back the system's.
ClockFunction SetClock(ClockFunction clock);

SYSTEMTIME Now();

// The clock's text for now, with the user's date and time separators and the
// weekday's name in the user's language, all read afresh.
std::wstring ClockTextNow();

}  // namespace settings
