// Means and variance-covariance or correlation matrix of the columns of a data
// matrix.  Arrays are column-major with the given leading dimensions, indices
// 1-based in the comments; a NaN in X is a missing value.
//
// Errors go through the library's error machinery; under its default tables a
// FATAL or TERMINAL error ends the run and a WARNING is printed and the run
// goes on with the NaN entries named below.
#pragma once

namespace vorm {

// IDO     0: all the data in this call; 1, 2, ..., 3: the first, a middle and
//         the last call of a sequence over blocks of rows, whose sums are held
//         between the calls.  Results are complete only after IDO 0 or 3.
// NROW    rows of X in this call; -NROW rows are taken out of the sums again.
// X       X(LDX, *), LDX >= |NROW|: one row per observation, the NVAR
//         variables in order in the columns other than IFRQ and IWT.
// IFRQ    column of the row frequencies, 0 for frequency 1.
// IWT     column of the row weights, 0 for weight 1.
// MOPT    0: a row with any NaN is left out whole; 1, 2, 3: each pair of
//         variables uses the rows valid for both, its cross-products taken
//         about each variable's mean over all its valid values (1) or about
//         the pair's own means (2), and correlations scaled by each
//         variable's own sum of squares (1, 2) or by the pair's (3).
// ICOPT   0: variances and covariances (divisor n - 1); 1: corrected sums of
//         squares and cross-products; 2: correlations, 1 on the diagonal;
//         3: correlations with the standard deviations on the diagonal.
// XMEAN   XMEAN(NVAR), overwritten: the means.
// COV     COV(LDCOV, NVAR), LDCOV >= NVAR, overwritten whole: the symmetric
//         matrix that ICOPT names, both triangles.
// INCD    INCD(LDINCD, NVAR), LDINCD >= NVAR, for MOPT 1..3 only, overwritten:
//         the number of rows behind each entry of COV.
// NOBS    rows used (with their frequencies); NMISS rows holding a NaN;
//         SUMWT the sum of frequency times weight over the rows used.
//
// TERMINAL: 1 for NVAR < 1, 2 when the work storage cannot be had, 3 for an
// IDO 2 or 3 not following an IDO 1 with the same NVAR, MOPT and IWT; the
// argument checks for IDO, NVAR, IFRQ, IWT, MOPT, ICOPT and the leading
// dimensions.  FATAL: 1 and 2 for a negative weight or frequency, 10 and 11
// when more rows are taken out than were put in.  WARNING, results NaN: 12
// and 13 when the weights sum to zero (means and COV), 14 and 16 for a
// constant variable with correlations requested (its correlations), 15 for a
// variance or covariance from fewer than two rows, 17 for a correlation from
// fewer than two rows.
void DCORVC(int IDO, int NROW, int NVAR, const double* X, int LDX, int IFRQ, int IWT, int MOPT, int ICOPT,
            double* XMEAN, double* COV, int LDCOV, int* INCD, int LDINCD, int& NOBS, int& NMISS, double& SUMWT);

}  // namespace vorm
