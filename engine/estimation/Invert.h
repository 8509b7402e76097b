// Inverse of a small dense matrix by Gauss-Jordan elimination without row
// exchanges, for the information matrices of the scoring steps.
//
// A and AINV are column-major, indexed from 1, with leading dimension LDA; the
// order N is at most 11 (the capacity of the fixed work array).  A pivot whose
// size relative to the matrix's own diagonal element is 1e-8 or less fails:
// the two console lines " ERROR ON INVERSION!!!!!!!!!!!!!!!" / " TOLERANCE = "
// ratio are printed twice, IER becomes 29, that pivot is skipped and the rest
// go on, so the caller always receives a (partly inverted) matrix.  N > 11 is
// refused with IER = 29 and AINV untouched.
#pragma once

#include <iosfwd>

namespace vorm {

constexpr int INVERT_MAXN = 11;

void INVERT(std::ostream& con, const double* A, double* AINV, int N, int LDA, int& IER);

}  // namespace vorm
