#include "common/clock.h"

#include <chrono>
#include <ctime>

namespace vorm {

namespace {
std::function<ClockReading()>& hook() {
    static std::function<ClockReading()> h;
    return h;
}

ClockReading machine_clock() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    auto cs = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000 / 10;
    ClockReading r;
    r.year = tm.tm_year + 1900;
    r.month = tm.tm_mon + 1;
    r.day = tm.tm_mday;
    r.hour = tm.tm_hour;
    r.minute = tm.tm_min;
    r.second = tm.tm_sec;
    r.hundredths = static_cast<int>(cs);
    return r;
}
}  // namespace

ClockReading read_clock() { return hook() ? hook()() : machine_clock(); }

void set_clock(std::function<ClockReading()> clock) { hook() = std::move(clock); }

}  // namespace vorm
