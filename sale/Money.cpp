#include "sale/Money.h"

#include <limits>

namespace regi {

const wchar_t kOutOfRange[] = L"'%s' はレジで扱える金額を超えています";

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

void EraseAll(std::wstring& text, const std::wstring& what) {
    for (size_t at; (at = text.find(what)) != std::wstring::npos;) text.erase(at, what.size());
}

}  // namespace

std::wstring GroupedDigits(std::int64_t amount) {
    // Digits of the magnitude, from the right; the most negative value has no
    // positive twin, so work in unsigned.
    std::uint64_t magnitude = amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    wchar_t digits[32];
    wchar_t* at = digits + 32;
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0) *--at = L',';
        *--at = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
        ++count;
    } while (magnitude != 0);
    return std::wstring(at, digits + 32);
}

std::wstring FormatMoney(std::int64_t amount) { return (amount < 0 ? L"-\u00A5" : L"\u00A5") + GroupedDigits(amount); }

std::optional<std::int64_t> ParseAmount(const std::wstring& text) {
    std::wstring rest = text;
    EraseAll(rest, L"\u00A5");
    EraseAll(rest, L"\\");
    EraseAll(rest, L",");
    EraseAll(rest, L"税込金額 : ");
    return common::ParseWholeNumber(rest, common::PlusSign::Allowed);
}

std::int64_t CellNumber(const std::wstring& text) {
    return common::ParseWholeNumber(text, common::PlusSign::Allowed).value_or(0);
}

std::optional<std::int64_t> CheckedAdd(std::int64_t a, std::int64_t b) {
    if (b > 0 ? a > kMax - b : a < kMin - b) return std::nullopt;
    return a + b;
}

std::optional<std::int64_t> CheckedSub(std::int64_t a, std::int64_t b) {
    if (b < 0 ? a > kMax + b : a < kMin + b) return std::nullopt;
    return a - b;
}

std::optional<std::int64_t> CheckedMul(std::int64_t a, std::int64_t b) {
    if (a == 0 || b == 0) return 0;
    if ((a == -1 && b == kMin) || (b == -1 && a == kMin)) return std::nullopt;
    std::int64_t product = static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
    if (product / b != a) return std::nullopt;
    return product;
}

}  // namespace regi
