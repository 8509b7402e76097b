// Quadrature grid: n equally spaced points on [-4, 4] with weights from the
// normal density normalised to sum 1, and the grid's weighted mean and
// standard deviation.  One point is placed at 0 with weight 1.
#pragma once

#include "common/Store.h"

namespace vorm {

void GETQUA(QuadReals& XQUAD, QuadReals& WQUAD, double& XMEAN, int n, double& XSD);

}  // namespace vorm
