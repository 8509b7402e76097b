// The engine of the last Run and how the run monitor stops it.
#pragma once

#include <QString>

namespace vormgui {

class Services;

struct EngineRun {
    qint64 engineTaskId = 0;  // process id of the last engine start; 0 when it failed
    QString engineProgram;    // the program file that process runs
};

// Asks the engine of `run` to stop, and nothing else: no signal when its
// start failed, or when its process id no longer runs the engine's program
// (it ended, and the id may have gone to another process).
void closeEngineWindows(Services& services, const EngineRun& run);

}  // namespace vormgui
