// VORMCALC: the estimation engine's program.
#include <clocale>
#include <csignal>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "driver/Vormrun.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    // The console is incidental: a reader that goes away must not end the run
    // half-way; writes to it then fail quietly and the run goes on.
    std::signal(SIGPIPE, SIG_IGN);
    // A file-size limit must end the run as a failed write does, through the
    // unit files' checks and a status line, not by a signal that leaves
    // " start" behind.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv, argv + argc);
    // The store and the workspace are large (the response matrix, the
    // parameter and work tables) and live for the whole run: one heap object
    // each, never on the stack.
    auto job = std::make_unique<vorm::JobSettings>();
    auto store = std::make_unique<vorm::Store>();
    auto work = std::make_unique<vorm::Workspace>();
    vorm::Io io(std::cout, std::cin);
    return vorm::VORMRUN(args, io, *job, *store, *work);
}
