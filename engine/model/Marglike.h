// Marginal log-likelihood of the response matrix under the parameters in the
// store, over the quadrature grid, including the ln(NSUBJ!) term.
#pragma once

#include <iosfwd>

#include "driver/Store.h"

namespace vorm {

void MARGLIKE(std::ostream& con, Store& st, const QuadReals& WQUAD, double& XLOGL, int MODEL, const ItemInts& NCAT,
              int NITEM, int NQUAD, int NSUBJ, double UNIT, const CatReals& TAUC, const QuadReals& XQUAD);

}  // namespace vorm
