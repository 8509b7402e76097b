// Item chi-squares conditioned on the number-correct score.
//
// Within groups of respondents with the same score, the observed counts of an
// item's categories are compared with the counts the model predicts: the
// score's distribution at every quadrature point, from the recursion over the
// items in the score (Ncscore.h), averaged with the quadrature weights.
// Sparse score groups are pooled, and the item gets a Pearson chi-square, its
// degrees of freedom and its upper-tail probability in its row of the
// call's table T (NcResultTable).
//
//   OLTHX2   an item in the score is compared with the score of which it is
//            itself part ("S-X**2", "s-X**2" in the fit report);
//   OLTHX2B  with its rest score, the score without it ("cS-X**2", "cs-X**2").
// Items not in the score are compared with the full score by both, with the
// same result.
//
// Items in the score: w.NCITEM(j, 1) = 1; the first call.NNC of them in
// item order are studied.  NNC = 0, or no respondent, gives every item the
// row (NCITEM(j, 1), 0, 0, 0, 0, -1); in a one-item score that item gets
// (1, 0, 0, 0, -1, -1).  The model and its parameters are fm's; the
// respondents and the grid the sample's (Ncscore.h), every response of theirs
// a category of its item.  The category probabilities are tabulated into PT
// at the sample's points; the work tables are w's.  Column 2 of NCITEM is
// left as column 1 with the last studied item at 0.  Nothing is written to
// the status file; the run always goes on.
#pragma once

#include <iosfwd>

#include "model/Fittedmodel.h"
#include "model/Probtable.h"
#include "statistics/Ncscore.h"

namespace vorm {

void OLTHX2(std::ostream& con, const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w,
            ProbabilityTable& PT, NcCall call);

void OLTHX2B(std::ostream& con, const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w,
             ProbabilityTable& PT, NcCall call);

}  // namespace vorm
