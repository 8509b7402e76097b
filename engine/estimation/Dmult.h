// Matrix product C = A·B of column-major matrices indexed from 1: A is
// NRA x NCA (leading dimension LDA), B is NRB x NCB (leading dimension LDB),
// and C (NRA x NCB) is stored with A's leading dimension.  The fifth and tenth
// arguments are not read.  Non-conformable sizes (NCA != NRB) print the
// routine's console message and stop the run (EngineStop).
#pragma once

#include <iosfwd>

namespace vorm {

void DMULT(std::ostream& con, const double* A, int NRA, int LDA, int NCA, int unused1, const double* B, int NRB,
           int LDB, int NCB, int unused2, double* C);

}  // namespace vorm
