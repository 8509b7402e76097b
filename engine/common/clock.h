// The machine's local wall clock, behind a hook that tests can replace.
#pragma once

#include <functional>

namespace vorm {

struct ClockReading {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, hundredths = 0;
};

ClockReading read_clock();
// Replaces the clock (an empty function restores the machine's).
void set_clock(std::function<ClockReading()> clock);

}  // namespace vorm
