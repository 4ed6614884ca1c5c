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

common::DateTime NowAsDateTime() {
    SYSTEMTIME t = Now();
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace platform
