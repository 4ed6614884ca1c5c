#pragma once
// The status-bar clock's text, with the regional settings of the user.
#include <string>

#include "settings/Clock.h"

namespace settings {

// The clock's text for time, with the user's date and time separators and the
// weekday's name in the user's language, all read afresh.
std::wstring LocalClockText(const common::DateTime& time);

}  // namespace settings
