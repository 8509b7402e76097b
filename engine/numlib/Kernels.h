// Vector and matrix kernels of the numerical library on double-precision
// (and a few integer) vectors.
//
// A strided vector is a length N, a pointer X to its first element X(1) and an
// increment INCX: the elements are X(1), X(1+INCX), ...  The kernels on two or
// three vectors take any increment: a negative one walks from
// X(1+(1-N)*INCX) towards X(1), so element i is X(1+(N-i)*|INCX|); a zero one
// uses X(1) for every element.  The one-vector kernels (sum, absolute sum,
// index of the largest magnitude, scaling, setting) and DVEC_MULS need
// increments that are not negative; given one they do nothing (functions:
// return 0).  Matrices are column-major with leading dimension LDA.  Every
// kernel returns at once, changing nothing, when N < 1.  Sums and dot
// products are accumulated in index order, element 1 first.
//
// The four matrix-vector kernels check their arguments and post a TERMINAL
// error under their own name for a bad one, changing nothing; IDANAN posts one
// for a negative N or INCX.  The other kernels check nothing.
#pragma once

namespace vorm {

double DVEC_SUM(int N, const double* X, int INCX);
double DVEC_ASUM(int N, const double* X, int INCX);
// Euclidean norm, scaled when the plain sum of squares would overflow or
// underflow; a zero increment gives sqrt(N)*|X(1)|, a negative one 0.
double DVEC_NRM2(int N, const double* X, int INCX);
// 1-based index of the first element of largest magnitude; 0 when N < 1.
int DVEC_IAMAX(int N, const double* X, int INCX);
double DVEC_DOT(int N, const double* X, int INCX, const double* Y, int INCY);
void DVEC_SCAL(int N, double DA, double* X, int INCX);
void DVEC_SET(int N, double DA, double* X, int INCX);
void IVEC_SET(int N, int IA, int* IX, int INCX);
void DVEC_COPY(int N, const double* X, int INCX, double* Y, int INCY);
void IVEC_COPY(int N, const int* IX, int INCX, int* IY, int INCY);
void DVEC_SWAP(int N, double* X, int INCX, double* Y, int INCY);
// z := x*y element by element.
void DVEC_MUL(int N, const double* X, int INCX, const double* Y, int INCY, double* Z, int INCZ);
// y := DA*x, both walked forwards from their first elements.
void DVEC_MULS(int N, double DA, const double* X, int INCX, double* Y, int INCY);
// y := DA*x + y; nothing at all when DA = 0.
void DVEC_AXPY(int N, double DA, const double* X, int INCX, double* Y, int INCY);
// x := C*x + S*y, y := C*y - S*x, both from the old values.
void DVEC_ROT(int N, double* X, int INCX, double* Y, int INCY, double C, double S);
// Constructs a plane rotation (C, S) that zeroes B; A := r and B := the value
// from which C and S can be rebuilt.
void DVEC_ROTG(double& A, double& B, double& C, double& S);
// sqrt(A*A + B*B) without overflow or destructive underflow.
double DPYTHAG(double A, double B);
// Q := A/B, guarded: NaN for a NaN operand, 0 for an underflowing quotient,
// a signed infinity (NaN for 0/0) for an overflowing one.
void DSAFE_DIV(double A, double B, double& Q);
bool DIS_NAN(double X);
// 1-based index of the first NaN among x1..xN; 0 when there is none, N = 0 or
// INCX = 0.
int IDANAN(int N, const double* X, int INCX);

// y := ALPHA*op(A)*x + BETA*y, op(A) = A (TRANS 'N') or its transpose ('T' or
// 'C', either case); A is M by N.
void DGEMV(char TRANS, int M, int N, double ALPHA, const double* A, int LDA, const double* X, int INCX, double BETA,
           double* Y, int INCY);
// y := ALPHA*A*x + BETA*y for a symmetric A of which only the triangle UPLO
// ('U' or 'L') is read.
void DSYMV(char UPLO, int N, double ALPHA, const double* A, int LDA, const double* X, int INCX, double BETA, double* Y,
           int INCY);
// A := ALPHA*x*y' + ALPHA*y*x' + A on the triangle UPLO only.
void DSYR2(char UPLO, int N, double ALPHA, const double* X, int INCX, const double* Y, int INCY, double* A, int LDA);
// A := ALPHA*x*y' + A, A M by N.
void DGER(int M, int N, double ALPHA, const double* X, int INCX, const double* Y, int INCY, double* A, int LDA);

}  // namespace vorm
