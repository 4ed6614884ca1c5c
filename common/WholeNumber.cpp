#include "common/WholeNumber.h"

#include <limits>

namespace common {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000'; }

bool IsSeparator(wchar_t c) { return c == L',' || c == L'\uFF0C'; }

bool IsYenSign(wchar_t c) { return c == L'\u00A5' || c == L'\\' || c == L'\uFFE5'; }

}  // namespace

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'\uFF10' && c <= L'\uFF19') return c - L'\uFF10';
    return -1;
}

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

std::optional<std::int64_t> ParseTypedAmount(const std::wstring& text, std::int64_t limit) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    if (begin < end && IsYenSign(text[begin])) {
        ++begin;
        while (begin < end && IsBlank(text[begin])) ++begin;
    } else if (begin < end && text[end - 1] == L'円') {
        --end;
        while (end > begin && IsBlank(text[end - 1])) --end;
    }
    std::int64_t value = 0;
    int groupDigits = 0;  // digits since the last separator
    bool grouped = false;
    for (size_t i = begin; i < end; ++i) {
        if (IsSeparator(text[i])) {
            // A separator follows one to three digits, then three more each time.
            if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3)) return std::nullopt;
            grouped = true;
            groupDigits = 0;
            continue;
        }
        int digit = DigitValue(text[i]);
        if (digit < 0) return std::nullopt;
        if (value > limit / 10 || value * 10 > limit - digit) return std::nullopt;
        value = value * 10 + digit;
        ++groupDigits;
    }
    if (groupDigits == 0 || (grouped && groupDigits != 3)) return std::nullopt;
    return value;
}

}  // namespace common
