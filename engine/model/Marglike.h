// Marginal log-likelihood of the response matrix under the fitted model, over
// the quadrature grid XQUAD with the weights WQUAD of fm.st, including the
// ln(NSUBJ!) term; returned, for the run driver to hold and give to the
// information criteria.  The probabilities are tabulated in PT (work area,
// see Probtable.h); a model number outside 1..8 prints
// " THE MODEL NUMBER IN MARGLIKE IS INCORRECT " on `con` for every item and
// point and goes on.  A respondent whose likelihood is 0 at every point makes
// the result minus infinity.  Counts beyond the store's capacity are refused
// (std::invalid_argument).
#pragma once

#include <iosfwd>

#include "model/Fittedmodel.h"
#include "model/Probtable.h"

namespace vorm {

double MARGLIKE(std::ostream& con, const FittedModel& fm, ProbabilityTable& PT);

}  // namespace vorm
