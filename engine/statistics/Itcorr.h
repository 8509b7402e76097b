// Item selection for the number-correct score: which items make up the score
// and in which direction each is scored.
//
// Mode 1 takes every item 1..NITEM; mode 2 only the extreme items, whose
// location DELTA(i) lies outside [P10, P90], the 10th and 90th percentiles of
// the estimated latent density DENS (at XQUAD, summing to 1) interpolated
// linearly between the points.  An item starts reverse-scored when its
// location is negative; then, while the item of the score that correlates
// least with the rest of the score correlates negatively, that item's
// direction is flipped and the correlations are formed again.
//
// Writes w.NCITEM (Ncscore.h): column 1 in the score, column 2 a copy of it,
// column 3 reverse-scored; an item outside the score has three zeros.  Reads
// the items' locations and categories from fm, the density DENS from fm.st,
// and the respondents and points from the sample, whose respondents must have
// answered every item (the listwise deletion runs first); w.TOTAL is worked
// in.
//
// A percentile whose cumulative density the first point already exceeds is
// the first point.  An item whose correlation has no value (its scores or its
// rest scores do not vary) takes no part in the choice, and with no
// respondent nothing is flipped.  Flips stop after `max_flips` (10 NITEM by
// default) with a note on `con`, the directions as they are then.
#pragma once

#include <iosfwd>

#include "common/Store.h"
#include "model/Fittedmodel.h"
#include "statistics/Ncscore.h"

namespace vorm {

void ITCORR(std::ostream& con, const FittedModel& fm, const NcSample& sample, NumberCorrectWork& w, int mode,
            int max_flips = -1);

// The p-th quantile of the density DENS at XQUAD(1..NQUAD) as ITCORR forms it.
double latent_percentile(double p, const QuadReals& DENS, const QuadReals& XQUAD, int NQUAD);

}  // namespace vorm
