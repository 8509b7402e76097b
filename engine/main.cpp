// VORMCALC: the estimation engine's program.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "common/stopsignal.h"
#include "common/zeroed.h"
#include "driver/Vormrun.h"

namespace {

// The store and the workspace, in one block for the whole run.
struct RunTables {
    vorm::Store store;
    vorm::Workspace work;
};

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    // The console is incidental: a reader that goes away must not end the run
    // half-way; writes to it then fail quietly and the run goes on.
    std::signal(SIGPIPE, SIG_IGN);
    // A file-size limit must end the run as a failed write does, through the
    // unit files' checks and a status line, not by a signal that leaves
    // " start" behind.
    std::signal(SIGXFSZ, SIG_IGN);
    vorm::catch_stop_signals();
    // A console that is a pipe or a file (a log kept with tee, a front end)
    // gets each line as it is written, as a terminal does: the stage a run
    // has reached can be read while it runs, and after it was stopped.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    std::vector<std::string> args(argv, argv + argc);
    // The store and the workspace are large (the response matrix, the
    // parameter and work tables) and live for the whole run: one zeroed block,
    // never on the stack, of which a small job maps in only what it touches.
    auto job = std::make_unique<vorm::JobSettings>();
    vorm::ZeroedBlock<RunTables> tables;
    vorm::Io io(std::cout, std::cin);
    return vorm::VORMRUN(args, io, *job, tables->store, tables->work);
}
