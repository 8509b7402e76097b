#include "driver/Stages.h"

namespace vorm {

// Not built yet: this stage does nothing until its own work lands.
void INITVL(Io&, JobSettings&, Store&) {}

}  // namespace vorm
