#include "common/DateTime.h"

#include <cwchar>

namespace common {

std::wstring FormatDateTime(const DateTime& t) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

std::optional<DateTime> ParseDateTime(std::wstring_view text) {
    const std::wstring_view pattern = L"dddd-dd-ddTdd:dd:dd";
    if (text.size() != pattern.size()) return std::nullopt;
    for (size_t i = 0; i < pattern.size(); ++i) {
        bool digit = text[i] >= L'0' && text[i] <= L'9';
        if (pattern[i] == L'd' ? !digit : text[i] != pattern[i]) return std::nullopt;
    }
    auto number = [&](size_t at, size_t length) {
        int value = 0;
        for (size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - L'0');
        return value;
    };
    DateTime t{number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2)};
    bool sound =
        t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
    if (!sound) return std::nullopt;
    return t;
}

}  // namespace common
