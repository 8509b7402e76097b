// Expectation step of the marginal maximum likelihood estimation.
//
// RANDN2 turns the responses into expected counts on the quadrature grid,
// weighting every respondent's posterior with the fixed quadrature weights:
//   RBAR(q, i, c)  expected number of responses in category c of item i at point q
//   NBAR(q, i)     expected number of respondents at point q who answered item i
// Both tables are point fastest, then item, then category (0-based), have the
// engine's full capacity and live for the whole run; each call resets and fills
// categories 0..NCAT(i)-1 of every item and leaves higher categories alone.
// Only the estimation driver and the scoring steps read them.
#pragma once

#include <iosfwd>

#include "common/farray.h"
#include "driver/Store.h"

namespace vorm {

using PointItemCatReals = Arr3<double, 1, MAXQUAD, 1, MAXITEM, 0, MAXCAT - 1>;
using PointItemReals = Arr2<double, 1, MAXQUAD, 1, MAXITEM>;

struct ExpectedCounts {
    PointItemCatReals RBAR;
    PointItemReals NBAR;
};

// The one set of expected counts of the run (static storage).
ExpectedCounts& expected_counts();

// A model number outside 1..8 prints " THE MODEL NUMBER IN RANDN2 IS INCORRECT "
// on `con` and the step goes on with whatever PROB holds.  A respondent whose
// likelihood underflows at every point is weighted through a rescaled product;
// one whose likelihood is exactly zero everywhere contributes nothing.
void RANDN2(std::ostream& con, Store& st, const QuadReals& WQUAD, int MODEL, const ItemInts& NCAT, int NITEM, int NQUAD,
            int NSUBJ, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD);

// The category probabilities of every item at every point into PT, by the
// model's routine; a model number outside 1..8 prints
// " THE MODEL NUMBER IN RANDN2 IS INCORRECT " on `con` for each item and point
// and copies whatever PROB holds.
void fill_probability_table(std::ostream& con, Store& st, PointItemCatReals& PT, int MODEL, const ItemInts& NCAT,
                            int NITEM, int NQUAD, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD);

// Shared by the expectation step, the person estimates and the standard errors: the likelihood of
// respondent j at every point from a probability table PT (point fastest,
// then item, then category), computed as a plain product; when that product
// underflows at every point, it is recomputed with exact power-of-two rescaling
// so that its ratios stay right.  Returns sum over q of LQ(q)*WQUAD(q).
double respondent_likelihood(const Store& st, const PointItemCatReals& PT, int j, int NITEM, int NQUAD,
                             const QuadReals& WQUAD, QuadReals& LQ);

}  // namespace vorm
