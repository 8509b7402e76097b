// One evaluation of the model for one item at one location: the core of the
// probability routines (PROBMn, GPMn) and of the derivative routines (DPALPn,
// DPDELn, DPLAMn, DPTAUn), and the way to get several of their results at once.
//
// Every weight of model n is w(c) = exp(u(c)) + exp(v(c)), c = 0..K-1, with
//   u(c) = a (E(c) + c d),  v(c) = a (E(c) + (M - c) d),  M = 2K - 1,
//   d = theta - delta,      a = alpha or 1 (model_traits(n).discrimination),
//   E(c) = lambda c (M - c) (unit models) or -(tau(0) + ... + tau(c)),
// from the item's parameters p (Modelparameters.h).
// evaluate_point forms those exponentials once and derives from them every
// result asked for, each exactly as its own routine computes it, so that
// asking for several results at once changes none of their bits.  Results go
// to the caller's record (Modelvalues.h), categories 0..K-1 only:
//   PROBABILITIES  PROB(c)
//   BY_ALPHA       DPAD(1, c)                    models with a discrimination
//   BY_DELTA       DPAD(2, c)
//   BY_UNIT        DPLT(1, c)                    unit models
//   BY_THRESHOLDS  DPLT(k, c), k = 1..K-1       threshold models; none for K = 1
// A derivative that the model does not have is not written.
//
// Failure: K outside 1..10 or a model outside 1..8 writes nothing (the latter
// returns false, for the caller's own message).  The formulas are evaluated
// as written; only where the plain sum of the weights leaves the range in
// which they are accurate are all exponents lowered by the largest one, which
// leaves every ratio of the model unchanged.
#pragma once

#include "common/Store.h"
#include "model/Modelparameters.h"
#include "model/Modelvalues.h"

namespace vorm {

enum ModelResult : unsigned {
    PROBABILITIES = 1u,
    BY_ALPHA = 2u,
    BY_DELTA = 4u,
    BY_UNIT = 8u,
    BY_THRESHOLDS = 16u,
};

bool evaluate_point(ModelValues& out, int model, unsigned results, const ItemParameters& p, double theta);

}  // namespace vorm
