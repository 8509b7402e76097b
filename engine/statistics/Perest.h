// Person estimates: every retained respondent's expected a posteriori
// location THETA(j) and posterior standard deviation TSTD(j), j = 1..NSUBJ,
// over the quadrature grid with the quadrature weights as the prior.
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

int PEREST(std::ostream& con, Store& st, ProbabilityTable& PT, const QuadReals& WQUAD, int MODEL, const ItemInts& NCAT,
           int NITEM, int NQUAD, int NSUBJ, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD);

}  // namespace vorm
