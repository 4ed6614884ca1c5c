#include <gtest/gtest.h>

#include <string>

#include "settings/Clock.h"

using settings::ClockText;
using settings::DateTime;
using settings::DayOfWeek;

namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysIn(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

TEST(Clock, DayOfWeekOfKnownDates) {
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

TEST(Clock, DayOfWeekAdvancesByOneEveryDay) {
    int weekday = DayOfWeek(1601, 1, 1);
    for (int year = 1601; year <= 2400; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= DaysIn(year, month); ++day) {
                ASSERT_EQ(DayOfWeek(year, month, day), weekday) << year << "-" << month << "-" << day;
                weekday = (weekday + 1) % 7;
            }
}

TEST(Clock, JapaneseSettings) {
    EXPECT_EQ(ClockText({2004, 2, 18, 9, 5, 7}, L"/", L":", L"水曜日"), L"  2004/02/18 ( 水曜日 )  09: 05: 07 ");
}

TEST(Clock, PatternWithOtherSettings) {
    struct Case {
        DateTime time;
        const wchar_t* dateSeparator;
        const wchar_t* timeSeparator;
        const wchar_t* weekday;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {{2004, 2, 18, 9, 5, 7}, L"-", L".", L"Wednesday", L"  2004-02-18 ( Wednesday )  09. 05. 07 "},
        {{2026, 12, 31, 23, 59, 59}, L"/", L":", L"木曜日", L"  2026/12/31 ( 木曜日 )  23: 59: 59 "},
        {{2000, 1, 1, 0, 0, 0}, L"/", L":", L"土曜日", L"  2000/01/01 ( 土曜日 )  00: 00: 00 "},
        {{999, 1, 2, 3, 4, 5}, L"/", L":", L"x", L"  0999/01/02 ( x )  03: 04: 05 "},  // four-digit year
        {{2004, 2, 18, 9, 5, 7}, L"", L"", L"水", L"  20040218 ( 水 )  09 05 07 "},    // no separators
        {{2004, 2, 18, 9, 5, 7}, L". ", L"h", L"水曜日", L"  2004. 02. 18 ( 水曜日 )  09h 05h 07 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClockText(c.time, c.dateSeparator, c.timeSeparator, c.weekday), c.expected)
            << testing::PrintToString(std::wstring(c.expected));
}
