// Items of a model with common parameters (odd models) get the common unit or
// thresholds in their own places in the store, so that the stages after the
// estimation (plot titles, information, fit statistics) read every item's
// parameters alike.  Nothing happens for the other models.
#pragma once

#include "common/Store.h"

namespace vorm {

void fill_common_parameters(Store& st, int MODEL, const ItemInts& NCAT, int NITEM, double UNIT, const CatReals& TAUC);

}  // namespace vorm
