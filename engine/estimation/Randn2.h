// Expectation step of the marginal maximum likelihood estimation.
//
// RANDN2 turns the responses into expected counts on the quadrature grid,
// weighting every respondent's posterior with the fixed quadrature weights:
//   RBAR(q, i, c)  expected number of responses in category c of item i at point q
//   NBAR(q, i)     expected number of respondents at point q who answered item i
// Both tables are point fastest, then item, then category (0-based), have the
// engine's full capacity and belong to the run's estimation work area; each
// call resets and fills categories 0..NCAT(i)-1 of every item and leaves
// higher categories alone.  Only the estimation driver and the scoring steps
// read them.  The probabilities are tabulated in PT (Probtable.h).
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "model/Probtable.h"

namespace vorm {

// Each table starts on a cache line, so that the sums over the points run in
// whole vector registers that never straddle one.
struct ExpectedCounts {
    alignas(64) PointItemCatReals RBAR;
    alignas(64) PointItemReals NBAR;
    // The first respondent whose likelihood is 0 (or not a number) at every
    // point, for whom the marginal log-likelihood is not finite; 0 when none.
    int without_likelihood = 0;
};

// The expectation step of MODEL, the model being estimated (the job's own or
// one of its start-up chain), at the parameters in the store, over the job's
// items, respondents and quadrature grid (XQUAD, WQUAD).  A model number
// outside 1..8 prints " THE MODEL NUMBER IN RANDN2 IS INCORRECT " on `con` for
// every item and point, and the step goes on with whatever PROB holds.  A
// respondent whose likelihood is exactly zero everywhere contributes nothing
// and is recorded in `without_likelihood`.
void RANDN2(std::ostream& con, const JobSettings& job, const Store& st, int MODEL, ExpectedCounts& ec,
            ProbabilityTable& PT);

}  // namespace vorm
