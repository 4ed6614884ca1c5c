#include "platform/Clock.h"

#include <utility>

namespace platform {

namespace {

SYSTEMTIME SystemLocalTime() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return time;
}

ClockFunction& Clock() {
    static ClockFunction clock = SystemLocalTime;
    return clock;
}

}  // namespace

ClockFunction SetClock(ClockFunction clock) {
    if (!clock) clock = SystemLocalTime;
    return std::exchange(Clock(), std::move(clock));
}

SYSTEMTIME Now() { return Clock()(); }

}  // namespace platform
