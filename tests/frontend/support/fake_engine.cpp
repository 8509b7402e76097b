// A stand-in for the engine in the run monitor's tests: started like the
// engine (job file, work folder), it follows the plan in the work folder's
// file "fakeplan", one step a line:
//   sleep <ms>          wait
//   status <text>       replace the status file with the line <text>
//   more <text>         add the line <text> to the status file
//   where               replace the status file with the line
//                       "<working folder>|<job file>", as bytes
//   fifo <name>         replace the work folder's file <name> by a named pipe
//   await <name>        wait until the test puts the file <name> into the
//                       work folder, so that no step hangs on how fast a
//                       loaded machine gets to it (a minute at most)
// and then ends.  A SIGTERM ends it at once, as it ends the engine.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string work = argv[2];
    std::ifstream plan(work + "fakeplan");
    std::string step;
    while (std::getline(plan, step)) {
        if (step.rfind("sleep ", 0) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(step.substr(6))));
        } else if (step.rfind("status ", 0) == 0) {
            std::ofstream(work + "status", std::ios::trunc) << step.substr(7) << '\n';
        } else if (step.rfind("more ", 0) == 0) {
            std::ofstream(work + "status", std::ios::app) << step.substr(5) << '\n';
        } else if (step == "where") {
            char folder[4096];
            if (!getcwd(folder, sizeof folder)) folder[0] = '\0';
            std::ofstream(work + "status", std::ios::trunc) << folder << '|' << argv[1] << '\n';
        } else if (step.rfind("fifo ", 0) == 0) {
            const std::string name = work + step.substr(5);
            ::unlink(name.c_str());
            if (::mkfifo(name.c_str(), 0600) != 0) return 3;
        } else if (step.rfind("await ", 0) == 0) {
            const std::string name = work + step.substr(6);
            for (int k = 0; k < 6000 && !std::ifstream(name); ++k)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return 0;
}
