#include "settings/Clock.h"

#include <cstdio>

namespace settings {

namespace {

// Zero-padded to width digits; a value that needs more digits keeps them all.
std::wstring Digits(int value, int width) {
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"%0*d", width, value);
    return text;
}

}  // namespace

int DayOfWeek(int year, int month, int day) {
    // January and February count as months 13 and 14 of the year before.
    static const int kMonthOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    int y = year % 400;
    if (y < 0) y += 400;
    int weekday = (y + y / 4 - y / 100 + y / 400 + kMonthOffset[((month - 1) % 12 + 12) % 12] + day) % 7;
    return weekday < 0 ? weekday + 7 : weekday;
}

std::wstring ClockText(const DateTime& time, const std::wstring& dateSeparator, const std::wstring& timeSeparator,
                       const std::wstring& weekdayName) {
    std::wstring text = L"  ";
    text += Digits(time.year, 4) + dateSeparator + Digits(time.month, 2) + dateSeparator + Digits(time.day, 2);
    text += L" ( " + weekdayName + L" ) ";
    text += L" ";
    text += Digits(time.hour, 2) + timeSeparator + L" " + Digits(time.minute, 2) + timeSeparator + L" " +
            Digits(time.second, 2);
    text += L" ";
    return text;
}

}  // namespace settings
