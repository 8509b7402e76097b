#include "driver/Stages.h"

namespace vorm {

// Not built yet: this stage does nothing until its own work lands.
void ASKIT(Io&, JobSettings&) {}

}  // namespace vorm
