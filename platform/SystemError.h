#pragma once
// The system's own words for an error code, as the messages quote them.
#include <string>

namespace platform {

// FormatMessage's text for code (GetLastError's), without its line end;
// "エラー <code>" when the system has none.
std::wstring SystemReason(unsigned long code);

}  // namespace platform
