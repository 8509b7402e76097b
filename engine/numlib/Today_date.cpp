#include "numlib/Today_date.h"

#include <cstdio>

#include "common/clock.h"

namespace vorm {

namespace {
// The date arrives as the text YYYYMMDD, as the run-time library gives it, and
// is read back field by field; digits only, so a plain decimal read suffices.
int digits(const char* s, int n) {
    int v = 0;
    for (int k = 0; k < n; ++k) v = v * 10 + (s[k] - '0');
    return v;
}
}  // namespace

void TODAY_DATE(int& day, int& month, int& year) {
    ClockReading c = read_clock();
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", c.year % 10000, c.month % 100, c.day % 100);
    year = digits(text, 4);
    month = digits(text + 4, 2);
    day = digits(text + 6, 2);
}

void TIME_OF_DAY(int& hour, int& minute, int& second) {
    ClockReading c = read_clock();
    hour = c.hour;
    minute = c.minute;
    second = c.second;
}

}  // namespace vorm
