#pragma once
// The system's local time, as the program's clock reads it.
#include "common/DateTime.h"

namespace platform {

common::DateTime SystemNow();

}  // namespace platform
