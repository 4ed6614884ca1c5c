#include <gtest/gtest.h>

#include <string>

#include "settings/Clock.h"

using common::DateTime;
using settings::ClockText;

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
