// Approximate standard errors of the item parameters.
//
// For every item the information matrix of its own parameters is the sum over
// respondents of the outer product of their scores (derivatives of the log
// marginal likelihood, evaluated over the quadrature); its inverse, by the
// numerical library's DLINRG, gives the standard errors.  A parameter shared
// by all items (the unit of models 1 and 5, the thresholds of models 3 and 7)
// is scored once per respondent over all the items answered, and its standard
// error is taken from the mean of the items' variances for it.
//
// Writes SECOV (each item's inverse), CORRDA, DSTD, ASTD, LSTD and TAUSTD as
// the model has them.  A matrix the library reports as ill-conditioned or
// singular writes the status record " SINGULARITY WHEN INFORMATION MATRIX" ...
// " FOR ITEM #" i " IN MODEL n." (and the same line into the report); a
// singular one leaves that item's entries NaN.  The run goes on.
#pragma once

#include "common/Store.h"
#include "common/io.h"
#include "model/Probtable.h"

namespace vorm {

// The stage's work areas: the derivatives at every point (the probabilities
// go to the shared table) and the current respondent's scores for every
// item's parameters (rows in the item's parameter order).
struct StandardErrorWork {
    DerivativeTable D;
    Arr2<double, 1, MAXPARM, 1, MAXITEM> GITEM;
};

void STDERRC(Io& io, const JobSettings& job, Store& st, StandardErrorWork& w, ProbabilityTable& PT);

}  // namespace vorm
