// Principal components of a covariance or correlation matrix.  Each
// eigenvector comes back with length 1 and its first element of largest
// magnitude positive.  Arrays are column-major with the given leading
// dimensions.
#pragma once

namespace vorm {

void DPRINC(int NDF, int NVAR, const double* COV, int LDCOV, int ICOV, double* EVAL, double* PCT, double* STD,
            double* EVEC, int LDEVEC, double* A, int LDA);

}  // namespace vorm
