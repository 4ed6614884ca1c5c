#include "settings/LocalClock.h"

#include <windows.h>

#include "common/Calendar.h"

namespace settings {

namespace {

std::wstring UserLocaleText(LCTYPE type, const wchar_t* fallback) {
    // An empty separator is the user's choice; only a failed call falls back.
    int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, nullptr, 0);
    if (length <= 0) return fallback;
    std::wstring text(static_cast<size_t>(length), L'\0');
    length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, &text[0], length);
    if (length <= 0) return fallback;
    text.resize(static_cast<size_t>(length) - 1);
    return text;
}

}  // namespace

std::wstring LocalClockText(const common::DateTime& time) {
    // LOCALE_SDAYNAME1 is Monday and LOCALE_SDAYNAME7 Sunday.
    int weekday = common::DayOfWeek(time.year, time.month, time.day);
    LCTYPE dayName = LOCALE_SDAYNAME1 + static_cast<LCTYPE>((weekday + 6) % 7);
    return ClockText(time, UserLocaleText(LOCALE_SDATE, L"/"), UserLocaleText(LOCALE_STIME, L":"),
                     UserLocaleText(dayName, L""));
}

}  // namespace settings
