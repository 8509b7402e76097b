// Marginal log-likelihood of the response matrix under the parameters in the
// store, over the quadrature grid with the weights WQUAD, including the
// ln(NSUBJ!) term.  The probabilities are tabulated in PT (work area, see
// Probtable.h); a model number outside 1..8 prints
// " THE MODEL NUMBER IN MARGLIKE IS INCORRECT " on `con` for every item and
// point and goes on.  A respondent whose likelihood is 0 at every point makes
// XLOGL minus infinity.
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "model/Probtable.h"

namespace vorm {

void MARGLIKE(std::ostream& con, const Store& st, ProbabilityTable& PT, const QuadReals& WQUAD, double& XLOGL,
              int MODEL, const ItemInts& NCAT, int NITEM, int NQUAD, int NSUBJ, double UNIT, const CatReals& TAUC,
              const QuadReals& XQUAD);

}  // namespace vorm
