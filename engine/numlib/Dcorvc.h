// Means and variance-covariance or correlation matrix of the columns of a data
// matrix.  Arrays are column-major with the given leading dimensions.
#pragma once

namespace vorm {

void DCORVC(int IDO, int NROW, int NVAR, const double* X, int LDX, int IFRQ, int IWT, int MOPT, int ICOPT,
            double* XMEAN, double* COV, int LDCOV, int* INCD, int LDINCD, int& NOBS, int& NMISS, double& SUMWT);

}  // namespace vorm
