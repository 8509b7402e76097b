#include "mCloseApp.h"

#include "platform/Services.h"

namespace vormgui {

void closeEngineWindows(Services& services, const EngineRun& run) {
    if (run.engineTaskId > 0) services.stopEngine(run.engineTaskId, run.engineProgram);
}

}  // namespace vormgui
