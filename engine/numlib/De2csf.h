// Eigensystem of a real symmetric matrix: Householder reduction to tridiagonal
// form, then the QL method with implicit shifts.
//
// Arrays are column-major with the given leading dimensions, indices 1-based
// in the comments.  Only the diagonal and upper triangle of the input matrix
// are read, and the input is never changed.  Failures are posted through the
// library's error machinery under each routine's own name.
#pragma once

namespace vorm {

// Eigenvalues in increasing order into EVAL(N) and eigenvectors into the
// columns of EVEC(LDEVEC, N), each scaled so that its first element of largest
// magnitude is exactly +1.  WK is a work vector of N doubles.  TERMINAL 1, 2, 3
// for a bad N, LDA or LDEVEC; FATAL 1 (from dE4CSF) when the QL iteration does
// not converge.
void DE2CSF(int N, const double* A, int LDA, double* EVAL, double* EVEC, int LDEVEC, double* WK);

// Householder reduction of the symmetric A to the tridiagonal matrix with
// diagonal D(N) and subdiagonal E(N) (E(1) = 0, E(i) couples rows i-1 and i);
// Z(LDZ, N) receives the orthogonal matrix of the reduction.
void DE3CSF(int N, const double* A, int LDA, double* D, double* E, double* Z, int LDZ);

// Implicit QL on the tridiagonal matrix (D, E as DE3CSF leaves them): the
// eigenvalues replace D in increasing order, and when WANTZ the columns of Z
// are rotated along into the eigenvectors.  FATAL 1 after 30*N iterations.
void dE4CSF(int N, double* D, double* E, bool WANTZ, double* Z, int LDZ);

// Copies the upper triangle of the square A(LDA, N) into its lower triangle.
// TERMINAL for N < 1 or LDA < N.
void DCSFRG(int N, double* A, int LDA);

}  // namespace vorm
