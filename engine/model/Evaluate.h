// One evaluation of the model for one item at one location: the core of the
// probability routines (PROBMn, GPMn) and of the derivative routines (DPALPn,
// DPDELn, DPLAMn, DPTAUn), and the way to get several of their results at once.
//
// Every weight of model n is w(c) = exp(u(c)) + exp(v(c)), c = 0..K-1, with
//   u(c) = a (E(c) + c d),  v(c) = a (E(c) + (M - c) d),  M = 2K - 1,
//   d = theta - DELTA(i),   a = ALPHA(i) or 1 (model_traits(n).discrimination),
//   E(c) = lambda c (M - c) (unit models) or -(tau(0) + ... + tau(c)).
// evaluate_point forms those exponentials once and derives from them every
// result asked for, each exactly as its own routine computes it, so that
// asking for several results at once changes none of their bits.  Results go
// to the store's result areas, categories 0..K-1 only:
//   PROBABILITIES  st.PROB(c)
//   BY_ALPHA       st.DPAD(1, c)                    models with a discrimination
//   BY_DELTA       st.DPAD(2, c)
//   BY_UNIT        st.DPLT(1, c)                    unit models
//   BY_THRESHOLDS  st.DPLT(k, c), k = 1..K-1       threshold models; none for K = 1
// A derivative that the model does not have is not written.  UNIT and TAUC
// are read only by the models whose unit or thresholds are common.
//
// Failure: K outside 1..10 or a model outside 1..8 writes nothing (the latter
// returns false, for the caller's own message).  The formulas are evaluated
// as written; only where the plain sum of the weights leaves the range in
// which they are accurate are all exponents lowered by the largest one, which
// leaves every ratio of the model unchanged.
#pragma once

#include "common/Store.h"

namespace vorm {

enum ModelResult : unsigned {
    PROBABILITIES = 1u,
    BY_ALPHA = 2u,
    BY_DELTA = 4u,
    BY_UNIT = 8u,
    BY_THRESHOLDS = 16u,
};

bool evaluate_point(Store& st, int model, unsigned results, int i, int K, double UNIT, const CatReals& TAUC,
                    double theta);

}  // namespace vorm
