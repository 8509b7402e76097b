// Calendar date and local time of day as plain integers, from the engine's clock.
#pragma once

namespace vorm {

// year with century, month 1..12, day 1..31.
void TODAY_DATE(int& day, int& month, int& year);
// hour 0..23, minute 0..59, second 0..59; hundredths are dropped.
void TIME_OF_DAY(int& hour, int& minute, int& second);

}  // namespace vorm
