#include <gtest/gtest.h>

#include "common/Calendar.h"

using common::DayOfWeek;

namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysIn(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

TEST(Calendar, DayOfWeekOfKnownDates) {
    struct Case {
        int year, month, day, weekday;
    };
    const Case cases[] = {
        {2004, 2, 18, 3},  // Wednesday
        {2004, 2, 15, 0},  // Sunday
        {2004, 3, 1, 1},   // Monday after a 29 February
        {2000, 1, 1, 6},   // Saturday
        {2000, 2, 29, 2},  // a leap day of a year divisible by 400
        {1900, 2, 28, 3},  // 1900 has no 29 February
        {1900, 3, 1, 4},   {2100, 3, 1, 1}, {1970, 1, 1, 4},
        {1999, 12, 31, 5}, {1601, 1, 1, 1},  // the first day Windows counts from
        {9999, 12, 31, 5},                   // the last day SYSTEMTIME holds
    };
    for (const Case& c : cases)
        EXPECT_EQ(DayOfWeek(c.year, c.month, c.day), c.weekday) << c.year << "-" << c.month << "-" << c.day;
}

TEST(Calendar, DayOfWeekAdvancesByOneEveryDay) {
    int weekday = DayOfWeek(1601, 1, 1);
    for (int year = 1601; year <= 2400; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= DaysIn(year, month); ++day) {
                ASSERT_EQ(DayOfWeek(year, month, day), weekday) << year << "-" << month << "-" << day;
                weekday = (weekday + 1) % 7;
            }
}
