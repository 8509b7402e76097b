// Fisher-scoring steps of the item estimation: one inner cycle updates, for
// the model being estimated, first its thresholds or unit parameters, then
// (per-item variants with the constraint) recentres them on the common values,
// and last the locations, alone (models 1..4) or with the discriminations
// (models 5..8).  Information and score come from the expected counts of the
// last expectation step (Randn2.h) and the model's probabilities and
// derivatives at the quadrature points, each point's exponentials evaluated
// once for all of them (evaluate_point).
//
// A failed inversion writes the step's status line (and, once per estimation
// stage, the same line into the report); its finite step is still taken.  A
// step that is not finite is never applied: it ends the run
// (estimation_not_finite) naming the parameters, their item and the model.
#pragma once

#include <set>
#include <string>

#include "common/Store.h"
#include "common/io.h"
#include "estimation/Randn2.h"
#include "model/Modelvalues.h"

namespace vorm {

// The model being estimated (the job's, or one of its start-up chain) with the
// criterion of that model, and where its cycles stand.  The job's own MODEL
// and CONVC stay as the job dialogue set them.
struct ScoringSettings {
    int MODEL = 0;       // model being estimated
    double CONVC = 0.0;  // its criterion: a move no larger counts as converged, in cycles and steps
    int NCAT0 = 0;       // categories of the common models and of the recentring
    int n = 1;           // inner cycle number
    int NCYCLE = 1;      // outer cycle counter
};

// What the scoring steps of one model's estimation share: the expected counts
// of the last expectation step, the warnings already copied into the report
// (the report gets each once per model, the status file every one), and the
// record that each evaluation of the model fills.
struct ScoringStage {
    const ExpectedCounts& counts;
    std::set<std::string> reported;
    ModelValues mv;
};

// Ends the run because the estimation did not reach finite estimates: the
// lines " THE ESTIMATION DID NOT REACH FINITE ESTIMATES.  JOB IS ABORTING."
// and `concerned` (what was first found not finite) go to the console, the
// report and, through EngineStop, the status file.
[[noreturn]] void estimation_not_finite(Io& io, const std::string& concerned);

// One inner cycle of scoring steps for the model in `s`.
void scoring_cycle(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s);

}  // namespace vorm
