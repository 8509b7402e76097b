// TEMPORARY: declarations of the machine constants and kernels until their branch lands.
#pragma once
namespace vorm {
double DMACH(int N);
float AMACH(int N);
void IUMAG(const char* PRODNM, int ICHP, int IACT, int NUMOPT, const int* IOPTS, int* IVALS);
double DVEC_ASUM(int N, const double* X, int INCX);
int DVEC_IAMAX(int N, const double* X, int INCX);
double DVEC_DOT(int N, const double* X, int INCX, const double* Y, int INCY);
void DVEC_SCAL(int N, double DA, double* X, int INCX);
void DVEC_SET(int N, double DA, double* X, int INCX);
void DVEC_COPY(int N, const double* X, int INCX, double* Y, int INCY);
void DVEC_SWAP(int N, double* X, int INCX, double* Y, int INCY);
void DVEC_AXPY(int N, double DA, const double* X, int INCX, double* Y, int INCY);
void DGEMV(const char* TRANS, int M, int N, double ALPHA, const double* A, int LDA, const double* X, int INCX,
           double BETA, double* Y, int INCY);
void DGER(int M, int N, double ALPHA, const double* X, int INCX, const double* Y, int INCY, double* A, int LDA);
}  // namespace vorm
