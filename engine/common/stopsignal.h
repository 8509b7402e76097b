// Ending a run on SIGINT, SIGTERM or SIGHUP (Ctrl-C on the console, a front
// end that quits without waiting, a terminal that closes).
//
// Killed where it stands, the engine would leave a report cut at its last
// buffer and " start" in the status file for ever.  So the handler only notes
// the signal; the estimation's long loops and the run driver's stage
// boundaries pass stop points, and the first one after the signal ends the
// run through EngineStop, as any other stop: the driver adds the line that
// names the signal to the report, closes every unit file and writes that line
// to the status file.  The handler is given once per signal: a second signal
// of the same kind, or any of the three once the run is stopping, ends the
// process at once.
#pragma once

#include <csignal>
#include <string>

namespace vorm {

namespace detail {
extern volatile std::sig_atomic_t stop_signal_number;
}

// Installs the handler for the three signals, except for a signal that the
// program was started with ignored (nohup), which stays ignored.
void catch_stop_signals();

// The first stop signal that came, 0 when none did.
inline int stop_signal() { return detail::stop_signal_number; }

// Gives the three signals back their default action, so that another one
// ends the process at once.
void release_stop_signals();

// The line that the report, the console and the status file get for a run
// that the signal `sig` stopped.
std::string signal_stop_line(int sig);

// What stop_point() does once a signal came, kept out of the loops.
[[noreturn]] void stop_on_signal();

// A safe place to stop: ends the run by EngineStop when a stop signal came.
// Cheap enough for a loop over respondents.
inline void stop_point() {
    if (detail::stop_signal_number != 0) stop_on_signal();
}

}  // namespace vorm
