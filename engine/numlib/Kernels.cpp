#include "numlib/Kernels.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "numlib/Machine.h"
#include "numlib/Numlib_error.h"
#include "numlib/Numlib_text.h"

namespace vorm {

namespace {

using Index = std::ptrdiff_t;

// Offset of element 1 of a walk of n elements: a negative increment starts at
// the far end of the storage.
inline Index first(int n, int inc) { return inc < 0 ? static_cast<Index>(1 - n) * inc : 0; }

// Pointer that makes elements a..b of a strided vector of n elements a vector
// of its own with the same increment.
template <class T>
inline T* sub(T* base, int n, int inc, int a, int b) {
    return inc < 0 ? base + static_cast<Index>(n - b) * (-inc) : base + static_cast<Index>(a - 1) * inc;
}

// Element i (1-based) of a strided vector of n elements.
template <class T>
inline T& elem(T* base, int n, int inc, int i) {
    return base[first(n, inc) + static_cast<Index>(i - 1) * inc];
}

bool bad_int(std::string_view routine, int code, std::string_view text, int value) {
    E1PSH(routine);
    MSG_SETI(1, value);
    E1MES(5, code, text);
    E1POP(routine);
    return true;
}

bool bad_letter(std::string_view routine, int code, std::string_view text, char letter) {
    E1PSH(routine);
    MSG_SETL(1, std::string_view(&letter, 1));
    E1MES(5, code, text);
    E1POP(routine);
    return true;
}

bool bad_lda(std::string_view routine, int code, std::string_view text, int lda, int m) {
    E1PSH(routine);
    MSG_SETI(1, lda);
    MSG_SETI(2, m);
    E1MES(5, code, text);
    E1POP(routine);
    return true;
}

constexpr std::string_view kBadM = "M must be greater than or equal to zero while %(I1) is given.";
constexpr std::string_view kBadN = "N must be greater than or equal to zero while %(I1) is given.";
constexpr std::string_view kBadLdaM =
    "LDA must be greater than or equal to M and greater than zero while LDA = %(I1) and M = %(I2) are given.";
constexpr std::string_view kBadLdaN =
    "LDA must be greater than or equal to N and greater than zero while LDA = %(I1) and N = %(I2) are given.";
constexpr std::string_view kBadIncx = "INCX must not be equal to zero while %(I1) is given.";
constexpr std::string_view kBadIncy = "INCY must not be equal to zero while %(I1) is given.";
constexpr std::string_view kBadTrans = "TRANS must be set equal to N or T or C while %(L1) is given.";
constexpr std::string_view kBadUplo = "UPLO must be set equal to U or L while %(L1) is given.";

inline int max1(int n) { return n > 1 ? n : 1; }

}  // namespace

double DVEC_SUM(int N, const double* X, int INCX) {
    double s = 0.0;
    if (N < 1 || INCX <= 0) return s;
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) s += X[ix];
    return s;
}

double DVEC_ASUM(int N, const double* X, int INCX) {
    double s = 0.0;
    if (N < 1 || INCX <= 0) return s;
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) s += std::fabs(X[ix]);
    return s;
}

double DVEC_NRM2(int N, const double* X, int INCX) {
    if (N < 1 || INCX < 0) return 0.0;
    if (INCX == 0) return std::sqrt(static_cast<double>(N)) * std::fabs(X[0]);
    // Below L the squares underflow, above H their sum may overflow.
    static const double L = std::sqrt(DMACH(1) / DMACH(4));
    static const double H = std::sqrt(DMACH(4) * DMACH(2));
    double asum = 0.0;
    bool big = false;
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) {
        asum += std::fabs(X[ix]);
        if (asum > H) {
            big = true;
            break;
        }
    }
    double scale = 1.0;
    if (big) {
        scale = L / H;
    } else if (asum < static_cast<double>(N) * L) {
        scale = 1.0 / (DMACH(4) * L);
    }
    double ss = 0.0;
    if (scale == 1.0) {
        for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) ss += X[ix] * X[ix];
        return std::sqrt(ss);
    }
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) {
        double t = scale * X[ix];
        ss += t * t;
    }
    return std::sqrt(ss) / scale;
}

int DVEC_IAMAX(int N, const double* X, int INCX) {
    if (N < 1 || INCX <= 0) return 0;
    if (N == 1) return 1;
    int best = 1;
    double dmax = std::fabs(X[0]);
    for (Index k = 1, ix = INCX; k < N; ++k, ix += INCX) {
        double a = std::fabs(X[ix]);
        if (a > dmax) {
            best = static_cast<int>(k) + 1;
            dmax = a;
        }
    }
    return best;
}

double DVEC_DOT(int N, const double* X, int INCX, const double* Y, int INCY) {
    double s = 0.0;
    if (N < 1) return s;
    Index ix = first(N, INCX), iy = first(N, INCY);
    for (int k = 0; k < N; ++k, ix += INCX, iy += INCY) s += X[ix] * Y[iy];
    return s;
}

void DVEC_SCAL(int N, double DA, double* X, int INCX) {
    if (N < 1 || INCX <= 0) return;
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) X[ix] = DA * X[ix];
}

void DVEC_SET(int N, double DA, double* X, int INCX) {
    if (N < 1 || INCX <= 0) return;
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) X[ix] = DA;
}

void IVEC_SET(int N, int IA, int* IX, int INCX) {
    if (N < 1 || INCX <= 0) return;
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX) IX[ix] = IA;
}

void DVEC_COPY(int N, const double* X, int INCX, double* Y, int INCY) {
    if (N < 1) return;
    Index ix = first(N, INCX), iy = first(N, INCY);
    for (int k = 0; k < N; ++k, ix += INCX, iy += INCY) Y[iy] = X[ix];
}

void IVEC_COPY(int N, const int* IX, int INCX, int* IY, int INCY) {
    if (N < 1) return;
    Index ix = first(N, INCX), iy = first(N, INCY);
    for (int k = 0; k < N; ++k, ix += INCX, iy += INCY) IY[iy] = IX[ix];
}

void DVEC_SWAP(int N, double* X, int INCX, double* Y, int INCY) {
    if (N < 1) return;
    Index ix = first(N, INCX), iy = first(N, INCY);
    for (int k = 0; k < N; ++k, ix += INCX, iy += INCY) {
        double t = X[ix];
        X[ix] = Y[iy];
        Y[iy] = t;
    }
}

void DVEC_MUL(int N, const double* X, int INCX, const double* Y, int INCY, double* Z, int INCZ) {
    if (N < 1) return;
    Index ix = first(N, INCX), iy = first(N, INCY), iz = first(N, INCZ);
    for (int k = 0; k < N; ++k, ix += INCX, iy += INCY, iz += INCZ) Z[iz] = X[ix] * Y[iy];
}

void DVEC_MULS(int N, double DA, const double* X, int INCX, double* Y, int INCY) {
    if (N < 1 || INCX < 0 || INCY < 0) return;
    for (Index k = 0, ix = 0, iy = 0; k < N; ++k, ix += INCX, iy += INCY) Y[iy] = DA * X[ix];
}

void DVEC_AXPY(int N, double DA, const double* X, int INCX, double* Y, int INCY) {
    if (N < 1 || DA == 0.0) return;
    Index ix = first(N, INCX), iy = first(N, INCY);
    for (int k = 0; k < N; ++k, ix += INCX, iy += INCY) Y[iy] = DA * X[ix] + Y[iy];
}

void DVEC_ROT(int N, double* X, int INCX, double* Y, int INCY, double C, double S) {
    if (N < 1) return;
    Index ix = first(N, INCX), iy = first(N, INCY);
    for (int k = 0; k < N; ++k, ix += INCX, iy += INCY) {
        double x = X[ix];
        double y = Y[iy];
        X[ix] = C * x + S * y;
        Y[iy] = C * y - S * x;
    }
}

void DVEC_ROTG(double& A, double& B, double& C, double& S) {
    if (std::fabs(A) > std::fabs(B)) {
        double u = A + A;
        double v = B / u;
        double r = std::sqrt(0.25 + v * v) * u;
        C = A / r;
        S = v * (C + C);
        B = S;
        A = r;
    } else if (B == 0.0) {
        C = 1.0;
        S = 0.0;
        A = 0.0;
        B = 0.0;
    } else {
        double u = B + B;
        double v = A / u;
        A = std::sqrt(0.25 + v * v) * u;
        S = B / A;
        C = v * (S + S);
        B = C != 0.0 ? 1.0 / C : 1.0;
    }
}

double DPYTHAG(double A, double B) {
    // The iteration never reaches t == 4 on a NaN or on two infinities
    // (r would be NaN): answer those directly.
    if (DIS_NAN(A) || DIS_NAN(B)) return DMACH(6);
    double a = std::fabs(A);
    double b = std::fabs(B);
    double p = a > b ? a : b;
    if (p == 0.0) return 0.0;
    if (std::isinf(p)) return p;
    double q = (a > b ? b : a) / p;
    double r = q * q;
    for (;;) {
        double t = 4.0 + r;
        if (t == 4.0) break;
        double s = r / t;
        double u = 1.0 + 2.0 * s;
        p = u * p;
        double w = s / u;
        r = w * w * r;
    }
    return p;
}

void DSAFE_DIV(double A, double B, double& Q) {
    if (DIS_NAN(A) || DIS_NAN(B)) {
        Q = DMACH(6);
    } else if (std::fabs(B) > 1.0) {
        Q = std::fabs(A) < DMACH(1) * std::fabs(B) ? 0.0 : A / B;
    } else if (std::fabs(A) >= DMACH(2) * std::fabs(B)) {
        if (A == 0.0) {
            Q = DMACH(6);
        } else {
            Q = ((A > 0.0) == (B >= 0.0)) ? DMACH(7) : DMACH(8);
        }
    } else {
        Q = A / B;
    }
}

bool DIS_NAN(double X) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(X);
    return (bits & 0x7FF0000000000000ULL) == 0x7FF0000000000000ULL && (bits & 0x000FFFFFFFFFFFFFULL) != 0;
}

int IDANAN(int N, const double* X, int INCX) {
    if (N < 0 || INCX < 0) {
        E1PSH("IDANAN ");
        if (N < 0) {
            MSG_SETI(1, N);
            E1MES(5, 1, " The length of the input vector is %(I1).  The length must be non-negative.");
        }
        if (INCX < 0) {
            MSG_SETI(1, INCX);
            E1MES(5, 2,
                  " The length of the incrementation of the input vector is %(I1).  The incrementation must be "
                  "non-negative.");
        }
        E1POP("IDANAN ");
        return 0;
    }
    if (N == 0 || INCX == 0) return 0;
    for (Index k = 0, ix = 0; k < N; ++k, ix += INCX)
        if (DIS_NAN(X[ix])) return static_cast<int>(k) + 1;
    return 0;
}

void DGEMV(char TRANS, int M, int N, double ALPHA, const double* A, int LDA, const double* X, int INCX, double BETA,
           double* Y, int INCY) {
    constexpr std::string_view me = "DGEMV ";
    const bool notrans = CHAR_EQ_NOCASE(TRANS, 'N');
    if (!notrans && !CHAR_EQ_NOCASE(TRANS, 'T') && !CHAR_EQ_NOCASE(TRANS, 'C')) {
        bad_letter(me, 1, kBadTrans, TRANS);
        return;
    }
    if (M < 0) {
        bad_int(me, 2, kBadM, M);
        return;
    }
    if (N < 0) {
        bad_int(me, 3, kBadN, N);
        return;
    }
    if (LDA < max1(M)) {
        bad_lda(me, 6, kBadLdaM, LDA, M);
        return;
    }
    if (INCX == 0) {
        bad_int(me, 8, kBadIncx, INCX);
        return;
    }
    if (INCY == 0) {
        bad_int(me, 11, kBadIncy, INCY);
        return;
    }
    if (M == 0 || N == 0 || (ALPHA == 0.0 && BETA == 1.0)) return;
    const int lenx = notrans ? N : M;
    const int leny = notrans ? M : N;
    const int aincy = INCY < 0 ? -INCY : INCY;
    if (BETA != 1.0) {
        if (BETA == 0.0) {
            DVEC_SET(leny, 0.0, Y, aincy);
        } else {
            DVEC_SCAL(leny, BETA, Y, aincy);
        }
    }
    if (ALPHA == 0.0) return;
    for (int j = 1; j <= N; ++j) {
        const double* col = A + static_cast<Index>(j - 1) * LDA;
        if (notrans) {
            DVEC_AXPY(M, ALPHA * elem(X, lenx, INCX, j), col, 1, Y, INCY);
        } else {
            double& yj = elem(Y, leny, INCY, j);
            yj = yj + ALPHA * DVEC_DOT(M, col, 1, X, INCX);
        }
    }
}

void DSYMV(char UPLO, int N, double ALPHA, const double* A, int LDA, const double* X, int INCX, double BETA, double* Y,
           int INCY) {
    constexpr std::string_view me = "DSYMV ";
    const bool upper = CHAR_EQ_NOCASE(UPLO, 'U');
    if (!upper && !CHAR_EQ_NOCASE(UPLO, 'L')) {
        bad_letter(me, 1, kBadUplo, UPLO);
        return;
    }
    if (N < 0) {
        bad_int(me, 2, kBadN, N);
        return;
    }
    if (LDA < max1(N)) {
        bad_lda(me, 5, kBadLdaN, LDA, N);
        return;
    }
    if (INCX == 0) {
        bad_int(me, 7, kBadIncx, INCX);
        return;
    }
    if (INCY == 0) {
        bad_int(me, 10, kBadIncy, INCY);
        return;
    }
    if (N == 0 || (ALPHA == 0.0 && BETA == 1.0)) return;
    const int aincy = INCY < 0 ? -INCY : INCY;
    if (BETA != 1.0) {
        if (BETA == 0.0) {
            DVEC_SET(N, 0.0, Y, aincy);
        } else {
            DVEC_SCAL(N, BETA, Y, aincy);
        }
    }
    if (ALPHA == 0.0) return;
    for (int j = 1; j <= N; ++j) {
        const double* col = A + static_cast<Index>(j - 1) * LDA;
        const double temp1 = ALPHA * elem(X, N, INCX, j);
        double& yj = elem(Y, N, INCY, j);
        if (upper) {
            // Rows 1..j-1 of column j stand for row j of the lower triangle.
            DVEC_AXPY(j - 1, temp1, col, 1, sub(Y, N, INCY, 1, j - 1), INCY);
            const double temp2 = DVEC_DOT(j - 1, col, 1, sub(X, N, INCX, 1, j - 1), INCX);
            yj = yj + temp1 * col[j - 1] + ALPHA * temp2;
        } else {
            yj = yj + temp1 * col[j - 1];
            DVEC_AXPY(N - j, temp1, col + j, 1, sub(Y, N, INCY, j + 1, N), INCY);
            const double temp2 = DVEC_DOT(N - j, col + j, 1, sub(X, N, INCX, j + 1, N), INCX);
            yj = yj + ALPHA * temp2;
        }
    }
}

void DSYR2(char UPLO, int N, double ALPHA, const double* X, int INCX, const double* Y, int INCY, double* A, int LDA) {
    constexpr std::string_view me = "DSYR2 ";
    const bool upper = CHAR_EQ_NOCASE(UPLO, 'U');
    if (!upper && !CHAR_EQ_NOCASE(UPLO, 'L')) {
        bad_letter(me, 1, kBadUplo, UPLO);
        return;
    }
    if (N < 0) {
        bad_int(me, 2, kBadN, N);
        return;
    }
    if (INCX == 0) {
        bad_int(me, 5, kBadIncx, INCX);
        return;
    }
    if (INCY == 0) {
        bad_int(me, 7, kBadIncy, INCY);
        return;
    }
    if (LDA < max1(N)) {
        bad_lda(me, 9, kBadLdaN, LDA, N);
        return;
    }
    if (N == 0 || ALPHA == 0.0) return;
    for (int j = 1; j <= N; ++j) {
        const double xj = elem(X, N, INCX, j);
        const double yj = elem(Y, N, INCY, j);
        if (xj == 0.0 && yj == 0.0) continue;
        double* col = A + static_cast<Index>(j - 1) * LDA;
        const double temp1 = ALPHA * yj;
        const double temp2 = ALPHA * xj;
        if (upper) {
            DVEC_AXPY(j, temp1, sub(X, N, INCX, 1, j), INCX, col, 1);
            DVEC_AXPY(j, temp2, sub(Y, N, INCY, 1, j), INCY, col, 1);
        } else {
            DVEC_AXPY(N - j + 1, temp1, sub(X, N, INCX, j, N), INCX, col + (j - 1), 1);
            DVEC_AXPY(N - j + 1, temp2, sub(Y, N, INCY, j, N), INCY, col + (j - 1), 1);
        }
    }
}

void DGER(int M, int N, double ALPHA, const double* X, int INCX, const double* Y, int INCY, double* A, int LDA) {
    constexpr std::string_view me = "DGER ";
    if (M < 0) {
        bad_int(me, 1, kBadM, M);
        return;
    }
    if (N < 0) {
        bad_int(me, 2, kBadN, N);
        return;
    }
    if (INCX == 0) {
        bad_int(me, 5, kBadIncx, INCX);
        return;
    }
    if (INCY == 0) {
        bad_int(me, 7, kBadIncy, INCY);
        return;
    }
    if (LDA < max1(M)) {
        bad_lda(me, 9, kBadLdaM, LDA, M);
        return;
    }
    if (M == 0 || N == 0 || ALPHA == 0.0) return;
    for (int j = 1; j <= N; ++j) {
        const double yj = elem(Y, N, INCY, j);
        if (yj != 0.0) DVEC_AXPY(M, ALPHA * yj, X, INCX, A + static_cast<Index>(j - 1) * LDA, 1);
    }
}

}  // namespace vorm
