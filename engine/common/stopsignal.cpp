#include "common/stopsignal.h"

#include <signal.h>

#include "common/status.h"
#include "common/stop.h"

namespace vorm {

namespace detail {
volatile std::sig_atomic_t stop_signal_number = 0;
}

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void note_stop_signal(int sig) {
    // The other two are blocked while this runs; the first signal is the one
    // the run names.
    if (detail::stop_signal_number == 0) detail::stop_signal_number = sig;
}

const char* signal_name(int sig) {
    switch (sig) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "A SIGNAL";
    }
}

}  // namespace

void catch_stop_signals() {
    struct sigaction act {};
    act.sa_handler = note_stop_signal;
    sigemptyset(&act.sa_mask);
    for (int s : kStopSignals) sigaddset(&act.sa_mask, s);
    // No SA_RESTART: a console read that waits for the user returns at once,
    // and the dialogue ends there instead of waiting for a line.
    act.sa_flags = SA_RESETHAND;
    for (int s : kStopSignals) {
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        sigaction(s, &act, nullptr);
    }
}

void release_stop_signals() {
    for (int s : kStopSignals) {
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == note_stop_signal) std::signal(s, SIG_DFL);
    }
}

std::string signal_stop_line(int sig) {
    return status_text(std::string(" THE RUN WAS STOPPED BY ") + signal_name(sig) + " BEFORE IT ENDED.");
}

void stop_on_signal() {
    release_stop_signals();
    throw EngineStop({signal_stop_line(stop_signal())});
}

}  // namespace vorm
