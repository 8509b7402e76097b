// The scoring steps as they were before the shared evaluation (see the .cpp),
// with the same interface as the engine's scoring_cycle.
#pragma once

#include "estimation/Scoring.h"

namespace vorm::before {

void scoring_cycle(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s);

}  // namespace vorm::before
