#pragma once
// Whole numbers in decimal text, as the operator keys them and as the program
// writes them into cells and labels. No Windows here.
#include <cstdint>
#include <optional>
#include <string>

namespace common {

// The digit's value for "0"-"9" and their full-width forms, as a person types
// them with either input mode, else -1.
int DigitValue(wchar_t c);

// Whether a leading "+" may stand where a "-" may.
enum class PlusSign { Refused, Allowed };

// A whole decimal number: an optional "-" (or "+" where allowed), then at least
// one digit 0-9 and nothing else. Empty when the text is none, or when the
// number does not fit in 64 bits.
std::optional<std::int64_t> ParseWholeNumber(const std::wstring& text, PlusSign plus);

// The largest amount of money the register takes (an amount tendered, the
// drawer's float): sums of such amounts stay far inside 64 bits.
constexpr std::int64_t kMaxAmount = 999'999'999'999;

// An amount of whole yen as a person types it: blanks (and full-width ones)
// around it, an optional "¥", "\" or "￥" before it or "円" after it, digits in
// half or full width, grouped by threes with "," or "，" if at all. Nothing for
// anything else, for a sign, and for an amount above limit.
std::optional<std::int64_t> ParseTypedAmount(const std::wstring& text, std::int64_t limit);

// The message for a text that is no whole number; "%s" stands for the text.
extern const wchar_t kNotAnInteger[];

}  // namespace common
