// How a stage ends the run.
//
// A stage that stops the program throws EngineStop carrying the lines that the
// status file must hold (already formatted as free-format records, so each
// begins with a blank).  The main program catches it, closes every unit file,
// writes those lines to the status file last and exits with status 1.  Nothing
// deep in a stage calls exit().
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vorm {

class EngineStop : public std::runtime_error {
public:
    explicit EngineStop(std::vector<std::string> status_lines, int exit_code = 1)
        : std::runtime_error(status_lines.empty() ? std::string("engine stop") : status_lines.front()),
          status_lines_(std::move(status_lines)),
          exit_code_(exit_code) {}

    const std::vector<std::string>& status_lines() const { return status_lines_; }
    int exit_code() const { return exit_code_; }

private:
    std::vector<std::string> status_lines_;
    int exit_code_;
};

}  // namespace vorm
