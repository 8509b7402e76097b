// The fit analysis: item and person fit statistics and the fit report, run
// last and only when the job asks for it.  It evaluates the model through the
// shared probability table PT (Probtable.h).
#pragma once

#include "common/Store.h"
#include "common/io.h"
#include "model/Probtable.h"

namespace vorm {

void DIAMML2(Io& io, JobSettings& job, Store& st, ProbabilityTable& PT);

}  // namespace vorm
