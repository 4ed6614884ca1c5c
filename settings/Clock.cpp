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

std::wstring ClockText(const common::DateTime& time, const std::wstring& dateSeparator,
                       const std::wstring& timeSeparator, const std::wstring& weekdayName) {
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
