#pragma once
// Dates of the Gregorian calendar. No Windows here.

namespace common {

// 0 for Sunday up to 6 for Saturday.
int DayOfWeek(int year, int month, int day);
// The days of a month, 0 for a month that is not 1 to 12.
int DaysInMonth(int year, int month);

}  // namespace common
