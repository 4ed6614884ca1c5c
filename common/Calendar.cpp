#include "common/Calendar.h"

namespace common {

int DayOfWeek(int year, int month, int day) {
    // January and February count as months 13 and 14 of the year before.
    static const int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    int y = year % 400;
    if (y < 0) y += 400;
    int weekday = (y + y / 4 - y / 100 + y / 400 + kMonthOffset[((month - 1) % 12 + 12) % 12] + day) % 7;
    return weekday < 0 ? weekday + 7 : weekday;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace common
