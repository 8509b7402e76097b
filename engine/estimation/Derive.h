// Start location magnitudes DELTA(i) and start unit UNIT, into the store,
// from the job's responses alone.
//
// For each item the share of all NSUBJ retained respondents who answered in
// its upper half (category floor(K/2 + 0.5) or above; missing responses count
// in the denominator only) is rescaled so that the largest share lies in
// [0.6224593, 0.8807971]; the start unit is u = 0.5 ln(t / (1 - t)) of the
// largest share t, and each item's magnitude DELTA(i) >= 0 is found by
// bisection on [1e-14, 25] (0 for the items tied with the largest share).
// When no item has any upper-half response, every item ties: all magnitudes
// are 0 and u is the lower bound's 0.2499999.
#pragma once

#include "common/Store.h"

namespace vorm {

void DERIVE(const JobSettings& job, Store& st);

}  // namespace vorm
