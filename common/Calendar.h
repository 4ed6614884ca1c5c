#pragma once
// Dates of the Gregorian calendar. No Windows here.

namespace common {

// 0 for Sunday up to 6 for Saturday.
int DayOfWeek(int year, int month, int day);

}  // namespace common
