#include "cashcount/CashCount.h"

#include "sale/Money.h"

namespace cashcount {

namespace {

// The count's numbers: an optional "-" and digits; a "+" cannot be typed into a
// count and the program writes none.
std::optional<std::int64_t> ParseInteger(const std::wstring& text) {
    return common::ParseWholeNumber(text, common::PlusSign::Refused);
}
}  // namespace

const std::array<const wchar_t*, kColCount> HeaderTexts = {L"金種", L"枚数", L"小計"};

const std::array<const wchar_t*, 17> DenominationNames = {
    L"１万円札", L"5000円札", L"2000円札", L"1000円札", L"500円の巻", L"100円の巻",
    L"50円の巻", L"10円の巻", L"5円の巻",  L"1円の巻",  L"500円バラ", L"100円バラ",
    L"50円バラ", L"10円バラ", L"5円バラ",  L"1円バラ",  L"実現金計",
};

const std::array<const wchar_t*, 16> DenominationValues = {
    L"10000", L"5000", L"2000", L"1000", L"25000", L"5000", L"2500", L"500",
    L"250",   L"50",   L"500",  L"100",  L"50",    L"10",   L"5",    L"1",
};

std::int64_t CountValue(const std::wstring& text) {
    if (text.size() > static_cast<size_t>(kMaxCountLength)) return 0;
    return ParseInteger(text).value_or(0);
}

std::wstring SubtotalText(int row, const std::wstring& countText) {
    if (row < kFirstCountRow || row > kLastCountRow) return L"0";
    // At most nine characters times at most 25000: far inside 64 bits.
    std::int64_t value = *ParseInteger(DenominationValues[static_cast<size_t>(row - 1)]);
    return std::to_wstring(CountValue(countText) * value);
}

std::wstring TotalText(const std::array<std::wstring, 16>& subtotalTexts) {
    std::int64_t total = 0;
    for (const std::wstring& text : subtotalTexts) {
        std::int64_t value = ParseInteger(text).value_or(0);
        // Only a subtotal written by hand could be this large; it counts as no number.
        if (std::optional<std::int64_t> sum = regi::CheckedAdd(total, value)) total = *sum;
    }
    return std::to_wstring(total);
}

std::optional<std::wstring> OverShortText(const std::wstring& totalText, const std::wstring& computedText) {
    std::optional<std::int64_t> computed = ParseInteger(computedText);
    if (!computed) return std::nullopt;
    std::int64_t total = ParseInteger(totalText).value_or(0);
    std::optional<std::int64_t> overShort = regi::CheckedSub(total, *computed);
    if (!overShort) return std::nullopt;
    return std::to_wstring(*overShort);
}

bool CanSelect(int col, int row) { return col == kCountCol && row >= kFirstCountRow && row <= kLastCountRow; }

int RowAfterEnter(int row) {
    if (row >= kFirstCountRow && row < kLastCountRow) return row + 1;
    if (row == kLastCountRow) return kFirstCountRow;
    return row;
}

bool AcceptsCountChar(wchar_t ch) { return ch == L'-' || ch == L'.' || (ch >= L'0' && ch <= L'9'); }

}  // namespace cashcount
