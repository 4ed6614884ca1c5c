#pragma once
// Whole numbers in decimal text, as the operator keys them and as the program
// writes them into cells and labels. No Windows here.
#include <cstdint>
#include <optional>
#include <string>

namespace common {

// Whether a leading "+" may stand where a "-" may.
enum class PlusSign { Refused, Allowed };

// A whole decimal number: an optional "-" (or "+" where allowed), then at least
// one digit 0-9 and nothing else. Empty when the text is none, or when the
// number does not fit in 64 bits.
std::optional<std::int64_t> ParseWholeNumber(const std::wstring& text, PlusSign plus);

// The message for a text that is no whole number; "%s" stands for the text.
extern const wchar_t kNotAnInteger[];

}  // namespace common
