// The run's work areas: the large tables that stages fill and read while they
// run, allocated once per run with the store (one zeroed block, never on the
// stack: common/zeroed.h, so a work area owns nothing and starts at zero) and
// passed by reference to the stages that use them.  No stage keeps
// state of its own between calls; the only state outside the store, the job
// settings and this workspace is the numerical library's own (its error
// tables, options and scratch stack).
//
// Each folder defines the work areas of its stages beside their declarations;
// a new stage adds its own area here and takes it as an argument.
//
// The rule for every part, as for the store: the block is never constructed,
// so a part's start state is its zero bytes.  A part needs no constructor or
// destructor (ZeroedBlock's static_assert), and every member default in it is
// zero (0, false, nullptr, a fixed array's {}), which its zero bytes already
// are; a member that must start otherwise is set by its stage before use.
// WorkspaceTest holds every part to that: value-initialised, it is all zero.
#pragma once

#include "driver/Mmldat.h"
#include "estimation/Initvl.h"
#include "estimation/Mmlest.h"
#include "model/Probtable.h"
#include "plotdata/Plotdata.h"
#include "statistics/Diamml2.h"
#include "statistics/Stderrc.h"

namespace vorm {

struct Workspace {
    ProbabilityTable ptab;      // every stage that evaluates the model over the grid
    RawTable records;           // data input
    StartValueWork start;       // start values
    EstimationWork estimation;  // item estimation
    StandardErrorWork stderrs;  // item standard errors
    PlotWork plots;             // plot stage
    FitWork fit;                // fit analysis
};

}  // namespace vorm
