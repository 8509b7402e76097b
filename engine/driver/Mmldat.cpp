#include "driver/Stages.h"

namespace vorm {

// Not built yet: this stage does nothing until its own work lands.
void MMLDAT(Io&, JobSettings&) {}

}  // namespace vorm
