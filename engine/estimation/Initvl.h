// Start values of the item parameters, from the responses alone.
//
// The magnitudes of the locations and the start unit come from DERIVE; their
// signs from the job, or else from the first principal component of the
// items' correlations (DCORVC, DPRINC), reversed when SIGNR is -1.  Every
// discrimination starts at 1; units and thresholds start from the start unit
// scaled by each item's categories.  Writes DELTA, ALPHA, LAMBDA, UNIT, TAU,
// TAUC, PARINI and DINIT.  Before item estimation sets the library's error
// tables, a fatal library error in the correlations or components ends the run.
#pragma once

#include "common/Store.h"
#include "common/io.h"

namespace vorm {

// The responses as reals and the library's results, leading dimensions as
// the library routines are called with.
struct StartValueWork {
    Arr2<double, 1, MAXSUBJ, 1, MAXITEM> XMAT;
    ItemReals RMEAN, EVAL, PCTVAR, EVSTD;
    Arr2<double, 1, MAXITEM, 1, MAXITEM> CORMAT, EVEC, PCCOR;
    Arr2<int, 1, MAXITEM, 1, MAXITEM> NPAIR;
};

void INITVL(Io& io, const JobSettings& job, Store& st, StartValueWork& w);

}  // namespace vorm
