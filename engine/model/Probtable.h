// The model over the quadrature grid, for every stage that evaluates it for
// many respondents (expectation step, person estimates, standard errors,
// marginal log-likelihood, fit analysis, plots): the category probabilities
// of every item at every point are tabulated once, and each respondent's
// likelihood is then formed from the table alone.
//
// Tables are point fastest, then item, then category (0-based), so that a sum
// over the points walks contiguous memory; they have the engine's capacity
// (50 points, 100 items, 10 categories) and live in the run's workspace.
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "model/Modelparameters.h"

namespace vorm {

// P(q, i, c): probability of category c of item i at point q, filled for
// items 1..NITEM, points 1..NQUAD and categories 0..NCAT(i)-1 as recorded;
// P starts on a cache line, so that the products over the points run in whole
// vector registers that never straddle one.
struct ProbabilityTable {
    alignas(64) PointItemCatReals P;
    ItemInts NCAT;
    int NITEM = 0;
    int NQUAD = 0;
};

// The derivatives beside the probabilities, for the standard errors:
// AD(q, i, c, 1) by the discrimination (models 5..8), AD(q, i, c, 2) by the
// location; LT(q, i, k, c) by the unit parameter (k = 1, unit models) or by
// threshold k (k = 1..NCAT(i)-1, threshold models).
struct DerivativeTable {
    Arr4<double, 1, MAXQUAD, 1, MAXITEM, 0, MAXCAT - 1, 1, 2> AD;
    Arr4<double, 1, MAXQUAD, 1, MAXITEM, 1, MAXCAT - 1, 0, MAXCAT - 1> LT;
};

// Fills PT (and D, when given) with the model m at locations X(1..NQUAD) for
// its items 1..m.NITEM, each item and point evaluated once (evaluate_point);
// X is XQUAD or any other array of locations.  A model number outside 1..8
// writes `bad_model` on `con` for every item and point and tabulates zeros;
// the result is then false.  NQUAD beyond the capacity is refused
// (std::invalid_argument).
bool fill_probability_table(std::ostream& con, ProbabilityTable& PT, const ModelParameters& m, const QuadReals& X,
                            int NQUAD, const char* bad_model, DerivativeTable* D = nullptr);

// Respondent j's likelihood at every point of the table:
//   LQ(q) = product over the items i answered, x = RESP(j, i) in 0..NCAT(i)-1,
//           of P(q, i, x)   (1 when no item is answered; any other response
//           counts as missing),
// and returns S = sum over q of LQ(q) WQUAD(q).  Where that plain product is
// accurate (S >= 2^-960, the case of ordinary data) `scale` is 0; otherwise
// LQ and S are formed without underflow as the likelihood times 2^-scale, so
// every ratio LQ(q)/S is still the likelihood's and its logarithm is
// ln S + scale ln 2.  S is 0 only when the likelihood is exactly 0 at every point.
double respondent_likelihood(const Store& st, const ProbabilityTable& PT, int j, const QuadReals& WQUAD, QuadReals& LQ,
                             int& scale);

}  // namespace vorm
