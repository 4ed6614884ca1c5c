#pragma once
// The status-bar clock's text from the parts of a date and time. No Windows
// here: the separators and the weekday name come from the regional settings,
// read by LocalClock at every tick.
#include <string>

#include "common/DateTime.h"

namespace settings {

// "  yyyy/mm/dd ( dddd )  hh: nn: ss " with the date separator in place of "/",
// the time separator in place of ":" and the weekday's full name for dddd.
std::wstring ClockText(const common::DateTime& time, const std::wstring& dateSeparator,
                       const std::wstring& timeSeparator, const std::wstring& weekdayName);

}  // namespace settings
