// What one evaluation of the model for one item at one location gives: the
// category probabilities and their first derivatives.  The probability and
// derivative routines (Probm.h, Dp.h, Evaluate.h) write them into a record
// that their caller owns and reads right after the call.  A call writes only
// what it computes, in categories 0..K-1 of the rows it has; everything else
// keeps what it held.
#pragma once

#include "common/Store.h"

namespace vorm {

struct ModelValues {
    CatReals PROB;                           // category probabilities
    Arr2<double, 1, 2, 0, MAXCAT - 1> DPAD;  // row 1: by alpha, row 2: by delta
    Arr2<double, 1, 9, 0, MAXCAT - 1> DPLT;  // row 1: by lambda, row k: by threshold k
};

}  // namespace vorm
