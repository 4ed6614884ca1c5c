#pragma once
// The cash count's tables and its arithmetic on cell texts. The grid's cells
// are the count's state: every number is read from a cell text when it is used
// and written back as decimal text, so these functions take and give texts.
//
// Counts, subtotals, the total and the over/short are 64-bit: a count cell takes
// at most kMaxCountLength characters, so no product or sum can wrap around.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/WholeNumber.h"

namespace cashcount {

// The grid: column 0 the captions, 1 the counts, 2 the subtotals; rows 1 to 16
// one denomination each, row 17 the real cash total.
constexpr int kColCount = 3;
constexpr int kRowCount = 18;
constexpr int kNameCol = 0;
constexpr int kCountCol = 1;
constexpr int kSubtotalCol = 2;
constexpr int kFirstCountRow = 1;
constexpr int kLastCountRow = 16;
constexpr int kTotalRow = 17;
constexpr int kMaxCountLength = 9;

// Row 0.
extern const std::array<const wchar_t*, kColCount> HeaderTexts;
// Entry i belongs to grid row i + 1; a roll ("の巻") is fifty coins.
extern const std::array<const wchar_t*, 17> DenominationNames;
extern const std::array<const wchar_t*, 16> DenominationValues;

// A count cell's number; text that is no integer, or longer than a count cell
// takes, counts as 0.
std::int64_t CountValue(const std::wstring& text);

// The subtotal text of count row `row` (1 to 16) for its count text.
std::wstring SubtotalText(int row, const std::wstring& countText);

// The total text of the subtotal texts of rows 1 to 16; text that is no
// integer counts as 0.
std::wstring TotalText(const std::array<std::wstring, 16>& subtotalTexts);

// The over/short: total minus the computed amount. Empty when the computed
// amount's text is not an integer (or the difference does not fit).
std::optional<std::wstring> OverShortText(const std::wstring& totalText, const std::wstring& computedText);

// The message shown when the computed amount is not an integer; "%s" stands for its text.
using common::kNotAnInteger;

// Which cells the clerk may make current: only the counts of rows 1 to 16.
bool CanSelect(int col, int row);

// The row Enter moves to from `row`: the next count, row 16 wrapping to 1.
// A row outside the counts stays where it is.
int RowAfterEnter(int row);

// Whether a typed character may reach a count cell: "-", "." and the digits.
bool AcceptsCountChar(wchar_t ch);

}  // namespace cashcount
