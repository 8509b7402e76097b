#include "driver/Stages.h"

namespace vorm {

// Not built yet: this stage does nothing until its own work lands.
void STDERRC(Io&, JobSettings&, Store&) {}

}  // namespace vorm
