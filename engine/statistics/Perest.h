// Person estimates: every retained respondent's expected a posteriori
// location THETA(j) and posterior standard deviation TSTD(j), j = 1..NSUBJ,
// under the job's model at the parameters in the store, over the quadrature
// grid (XQUAD) with the quadrature weights (WQUAD) as the prior.
//
// The category probabilities are tabulated once per item and point in PT
// (work area, Probtable.h); the respondent loop only multiplies table entries
// (missing responses skipped).  A likelihood that is zero at every point
// leaves THETA and TSTD at the prior's mean and standard deviation; the first
// such respondent is returned (0 when there is none), since the marginal
// log-likelihood is then not finite.  A model
// number outside 1..8 prints " THE MODEL NUMBER IN RANDN2 IS INCORRECT " on
// `con` and goes on.
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "model/Probtable.h"

namespace vorm {

int PEREST(std::ostream& con, const JobSettings& job, Store& st, ProbabilityTable& PT);

}  // namespace vorm
