#include "statistics/Diamml2.h"

namespace vorm {

// Not built yet: this stage does nothing until its own work lands.
void DIAMML2(Io&, JobSettings&, Store&, ProbabilityTable&) {}

}  // namespace vorm
