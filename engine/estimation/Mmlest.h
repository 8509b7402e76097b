// Item estimation by marginal maximum likelihood.
//
// MMLEST estimates the requested model's item parameters from the start
// values in the store: first through its start-up chain of simpler models,
// each in outer (expectation, RANDN2) cycles containing inner (scoring)
// cycles, each loop ending when no compared parameter moved by more than the
// model's criterion; then it writes the convergence lines and the estimated
// latent density DENS into the report and ends with the person estimates
// (PEREST).  Each model of the chain and its criterion travel in the scoring
// settings (Scoring.h): the job is only read.  Returns the quadrature grid's
// weighted mean and standard deviation (GETQUA).
//
// Failure: a model with common parameters (1, 3, 5, 7) and per-item
// categories prints the categories error on the console and stops the run
// (EngineStop with those lines).  Estimates that leave the finite numbers end
// the run where that is found (estimation_not_finite, Scoring.h): a scoring
// step that is not a number, or parameters under which some respondent's
// likelihood is 0 at every point, so that the marginal log-likelihood is not
// finite (found by an expectation step, or after the last cycle).  The cycle limit writes
// " MAXIMUM NUMBER OF ITERATIONS EXCEEDED" to the status file and the report
// and the run goes on.
#pragma once

#include "common/Store.h"
#include "common/io.h"
#include "estimation/Randn2.h"
#include "estimation/Scoring.h"
#include "model/Probtable.h"

namespace vorm {

// Parameter values at the start of the previous outer or inner cycle; the
// table holds TAU(i,k), or LAMBDA(i) in column 0, or UNIT in (1,0), or
// TAUC(k) in row 1.
struct CycleCopies {
    ItemReals delta;
    ItemReals alpha;
    ItemCatReals table;
};

// The stage's work areas in the run's workspace.
struct EstimationWork {
    ExpectedCounts counts;  // of the last expectation step
    CycleCopies OLDOUT, OLDIN;
};

// The start-up chain of a job: the requested model with constant (LCATC -1)
// or per-item (0) categories and the constraint setting (-1: any) runs the
// listed models in order, the requested one last (0 after it).
struct ChainRow {
    int model;
    int lcatc;
    int iconst;
    int runs[3];
};

// The row for a job, or nullptr for a model that does not allow per-item categories.
const ChainRow* start_up_chain(int model, int lcatc, int iconst);

// For tests and the benchmark: `observer` is called after every outer cycle
// that ran (after its inner cycles, before the counter moves on) with the
// settings of the model being estimated, s.NCYCLE being that cycle, and
// `scoring` runs each inner cycle's scoring steps.
using OuterCycleObserver = void (*)(void* context, const Store& st, const ScoringSettings& s);
using ScoringCycle = void (*)(Io&, const JobSettings&, Store&, ScoringStage&, const ScoringSettings&);
struct EstimationProbes {
    OuterCycleObserver observer = nullptr;
    void* context = nullptr;
    ScoringCycle scoring = scoring_cycle;
};

// What the stage returns to the run driver.
struct EstimationResult {
    double XMEAN = 0.0;  // the quadrature grid's weighted mean
    double XSD = 0.0;    // and standard deviation
};

EstimationResult MMLEST(Io& io, const JobSettings& job, Store& st, EstimationWork& w, ProbabilityTable& PT,
                        const EstimationProbes& probes = {});

}  // namespace vorm
