// Workers of the general matrix inversion (DLINRG).  Matrices are
// column-major with the given leading dimensions; indices (IPVT, I) are
// 1-based.  Trouble is posted through the library's error machinery.
//
// LU storage left in FAC by the factorisation: U in the upper triangle; below
// the diagonal, column k holds the negated multipliers of step k; IPVT(k) is
// the row exchanged with row k at step k (IPVT(N) = N).  Rows are exchanged
// only in the columns still to be eliminated, so the multipliers of earlier
// steps keep their original rows.
#pragma once

namespace vorm {

// The order checks that the inversion routines share: a TERMINAL error with
// code 1 when N < 1, code 2 when LD1 < N, code 3 when LD2 < N (the messages
// name the leading dimensions).  True when every check passed.
bool order_checks_pass(int N, int LD1, const char* name1, int LD2, const char* name2);

// Factorise A into FAC, estimate the reciprocal L1 condition number into RCOND
// (Z: N doubles of work), and invert; WK holds N*(N+1)/2 doubles.
void DL2NRG(int N, const double* A, int LDA, double* AINV, int LDAINV, double* WK, int* IPVT);
void DL2CRG(int N, const double* A, int LDA, double* FAC, int LDFAC, int* IPVT, double& RCOND, double* Z);
// LU factorisation with scaled partial pivoting; SCALE: N doubles of work.
void dL2TRG(int N, const double* A, int LDA, double* FAC, int LDFAC, int* IPVT, double* SCALE);
// Inverse of a triangular matrix: IPATH 1 lower, 2 upper.  AINV may be A.
void DLINRT(int N, const double* A, int LDA, int IPATH, double* AINV, int LDAINV);
// L1 norm: the largest column sum of magnitudes.
void DNR1RR(int NRA, int NCA, const double* A, int LDA, double& ANORM);
// B := A for N-by-N matrices.
void DCRGRG(int N, const double* A, int LDA, double* B, int LDB);
// I := the first index of largest |X(k)*Y(k)|, k = 1..N.
void DLU_MAXPROD(int N, const double* X, const double* Y, int& I);

}  // namespace vorm
