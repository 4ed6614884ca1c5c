#pragma once
// A local date and time as the program's records keep it: "2026-12-08T21:07:56".
// The journal writes it, reads it back, and receipts show it. No Windows here.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace common {

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Where the time comes from: the system's local time in the program, a
// fixed one in tests.
using Clock = std::function<DateTime()>;

// "2026-12-08T21:07:56": four digits of year, two of everything else.
std::wstring FormatDateTime(const DateTime& time);
// Back from exactly that form, with a month, day and time that exist on a
// clock; nothing for anything else.
std::optional<DateTime> ParseDateTime(std::wstring_view text);

}  // namespace common
