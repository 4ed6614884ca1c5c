#pragma once
// Messages for the operator, made from a pattern and one argument. No Windows here.
#include <string>

namespace common {

// The pattern with every "%s" replaced by value; a "%s" inside value stays as it is.
std::wstring FormatMessageText(const std::wstring& pattern, const std::wstring& value);

}  // namespace common
