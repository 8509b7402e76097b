// A run's state as the engine's main allocates it: the job settings, the store
// and the workspace one heap object each (too large for the stack), with a
// console that keeps what the stages print and an empty console input.
#pragma once

#include <memory>
#include <sstream>

#include "common/Store.h"
#include "driver/Workspace.h"

namespace vorm::bench {

struct RunState {
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    std::ostringstream con;
    std::istringstream in;
};

}  // namespace vorm::bench
