// Principal components of a covariance or correlation matrix.  Arrays are
// column-major with the given leading dimensions, indices 1-based in the
// comments.
//
// Errors go through the library's error machinery; under its default tables a
// FATAL or TERMINAL error ends the run and a WARNING is printed and the run
// goes on.
#pragma once

namespace vorm {

// NDF     degrees of freedom behind COV, for STD; below 1, 100 are used
//         (WARNING 1).
// COV     COV(LDCOV, NVAR), LDCOV >= NVAR: a covariance matrix (ICOV 0) or a
//         correlation matrix (ICOV 1).  Only its diagonal and upper triangle
//         are read, and it is not changed.
// EVAL    EVAL(NVAR), overwritten: the eigenvalues in decreasing order.
// PCT     PCT(NVAR), overwritten: the cumulative proportion of the total
//         variance that components 1..i explain.
// STD     STD(NVAR), overwritten: the eigenvalues' asymptotic standard errors.
// EVEC    EVEC(LDEVEC, NVAR), LDEVEC >= NVAR, overwritten: the eigenvectors in
//         the columns, in EVAL's order, each of length 1 with its first
//         element of largest magnitude positive.
// A       A(LDA, NVAR), LDA >= NVAR, overwritten: the correlations of the
//         variables (rows) with the components (columns); NaN in the row of a
//         variable of variance 0 when ICOV is 0.
//
// TERMINAL for NVAR < 1, a leading dimension below NVAR, ICOV other than 0 or
// 1, or a negative diagonal element of COV; nothing is then written.  FATAL
// from DE2CSF when the eigenvalue iteration does not converge.  WARNING 2 when
// an eigenvalue is much less than zero (COV is not nonnegative definite): STD
// and A treat it as zero.
void DPRINC(int NDF, int NVAR, const double* COV, int LDCOV, int ICOV, double* EVAL, double* PCT, double* STD,
            double* EVEC, int LDEVEC, double* A, int LDA);

}  // namespace vorm
