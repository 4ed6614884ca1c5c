#pragma once
// The local time. The clock is a seam: tests fix the time, the program reads
// the system's.
#include <windows.h>

#include <functional>

#include "common/DateTime.h"

namespace platform {

using ClockFunction = std::function<SYSTEMTIME()>;

// Puts clock in place of the system's local time and returns the previous one;
// an empty clock brings back the system's.
ClockFunction SetClock(ClockFunction clock);

SYSTEMTIME Now();
// Now() as the records keep a time.
common::DateTime NowAsDateTime();

}  // namespace platform
