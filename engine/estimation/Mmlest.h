// Item estimation by marginal maximum likelihood: the start-up chains and the
// outer (expectation) and inner (scoring) cycles.  The stage itself is
// MMLEST in driver/Stages.h; this header exposes its tables for tests.
#pragma once

#include "driver/Store.h"

namespace vorm {

// One row of the start-up chain table: the requested model with constant
// (LCATC -1) or per-item (0) categories and the constraint setting (-1: any)
// runs the listed models in order; LCHAIN is the chain code at the start
// (0 when the requested model runs alone).  No row: the categories error.
struct ChainRow {
    int model;
    int lcatc;
    int iconst;
    int runs[3];
    int lchain;
};

// The row for a job, or nullptr for a model that does not allow per-item categories.
const ChainRow* start_up_chain(int model, int lcatc, int iconst);

// Called after every outer cycle that ran (after its inner cycles, before the
// counter moves on) with the model being estimated and the cycle number; for
// tests that follow the estimation cycle by cycle.  nullptr: none.
using OuterCycleObserver = void (*)(void* context, Store& st, int model, int ncycle);
void set_outer_cycle_observer(OuterCycleObserver f, void* context);

}  // namespace vorm
