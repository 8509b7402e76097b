// General matrix inversion by LU factorisation with a condition estimate.
// A(LDA, N) and AINV(LDAINV, N) are column-major; A is not changed.
// Errors go through the library's error machinery: code 1 (WARNING) for an
// ill-conditioned matrix (the inverse is still computed), code 2 (FATAL) for a
// singular one (no inverse).
#pragma once

namespace vorm {

void DLINRG(int N, const double* A, int LDA, double* AINV, int LDAINV);

}  // namespace vorm
