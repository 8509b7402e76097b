// Fisher-scoring steps of the item estimation: one inner cycle updates, for
// the model being estimated, first its thresholds or unit parameters, then
// (per-item variants with the constraint) recentres them on the common values,
// and last the locations, alone (models 1..4) or with the discriminations
// (models 5..8).  Information and score come from the expected counts of the
// last expectation step (Randn2.h) and the model's probabilities and
// derivatives at the quadrature points.
//
// A failed inversion writes the step's status line (and, once per estimation
// stage, the same line into the report); its finite step is still taken.  A
// step that is not finite is never applied: the parameter keeps its value,
// the step is reported in the same way and that parameter group stops
// iterating for this inner cycle.
#pragma once

#include "common/io.h"
#include "driver/Store.h"

namespace vorm {

struct ScoringSettings {
    int MODEL = 0;   // model being estimated
    int NCAT0 = 0;   // categories of the common models and of the recentring
    int n = 1;       // inner cycle number
    int NCYCLE = 1;  // outer cycle counter
};

// One inner cycle of scoring steps for the model in `s`.
void scoring_cycle(Io& io, JobSettings& job, Store& st, const ScoringSettings& s);

// The individual steps (used by scoring_cycle, exposed for tests).
void score_common_thresholds(Io& io, JobSettings& job, Store& st, const ScoringSettings& s);
void score_item_thresholds(Io& io, JobSettings& job, Store& st, const ScoringSettings& s);
void score_common_unit(Io& io, JobSettings& job, Store& st, const ScoringSettings& s);
void score_item_units(Io& io, JobSettings& job, Store& st, const ScoringSettings& s);
void recentre(JobSettings& job, Store& st, const ScoringSettings& s);
void score_locations(Io& io, JobSettings& job, Store& st, const ScoringSettings& s);
void score_discrimination_locations(Io& io, JobSettings& job, Store& st, const ScoringSettings& s);

// Forget which warnings were already copied into the report (each estimation
// stage reports a given warning once there; the status file gets every one).
void reset_scoring_warnings();

}  // namespace vorm
