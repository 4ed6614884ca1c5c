#include "common/WholeNumber.h"

#include <limits>

namespace common {

const wchar_t kNotAnInteger[] = L"'%s' は整数ではありません";

std::optional<std::int64_t> ParseWholeNumber(const std::wstring& text, PlusSign plus) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || (plus == PlusSign::Allowed && text[i] == L'+')))
        negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;
    // Gathered as a negative number, so that the smallest value fits too.
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        wchar_t ch = text[i];
        if (ch < L'0' || ch > L'9') return std::nullopt;
        int digit = ch - L'0';
        if (value < (kMin + digit) / 10) return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (value == kMin) return std::nullopt;
    return -value;
}

}  // namespace common
