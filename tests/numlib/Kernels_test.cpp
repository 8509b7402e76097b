#include "numlib/Kernels.h"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "Numlib_test_fixture.h"
#include "test_support.h"

namespace vorm::test {
namespace {

using KernelsTest = NumlibTest;

constexpr double kEps = std::numeric_limits<double>::epsilon();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Double rounding of n ordered sums against one long-double sum: a few eps
// per term is ample.
double sum_tol(int n) { return 4.0 * n * kEps; }

std::vector<double> random_vector(int n, unsigned seed, double lo = -2.0, double hi = 3.0) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(lo, hi);
    std::vector<double> v(static_cast<std::size_t>(n));
    for (auto& x : v) x = d(gen);
    return v;
}

// Element i (1-based) of a strided vector of n elements, the other way of
// writing the walk: X(1+(N-i)*|INC|) for a negative increment.
std::size_t at(int n, int inc, int i) {
    return inc >= 0 ? static_cast<std::size_t>((i - 1) * inc) : static_cast<std::size_t>((n - i) * -inc);
}

// ---- lengths below one ----------------------------------------------------

TEST_F(KernelsTest, NonPositiveLengthChangesNothing) {
    std::vector<double> x = {1, 2, 3}, y = {4, 5, 6}, z = {7, 8, 9};
    std::vector<int> ix = {1, 2}, iy = {3, 4};
    for (int n : {0, -3}) {
        EXPECT_EQ(DVEC_SUM(n, x.data(), 1), 0.0);
        EXPECT_EQ(DVEC_ASUM(n, x.data(), 1), 0.0);
        EXPECT_EQ(DVEC_NRM2(n, x.data(), 1), 0.0);
        EXPECT_EQ(DVEC_IAMAX(n, x.data(), 1), 0);
        EXPECT_EQ(DVEC_DOT(n, x.data(), 1, y.data(), 1), 0.0);
        DVEC_SCAL(n, 2.0, x.data(), 1);
        DVEC_SET(n, 2.0, x.data(), 1);
        IVEC_SET(n, 9, ix.data(), 1);
        DVEC_COPY(n, x.data(), 1, y.data(), 1);
        IVEC_COPY(n, ix.data(), 1, iy.data(), 1);
        DVEC_SWAP(n, x.data(), 1, y.data(), 1);
        DVEC_MUL(n, x.data(), 1, y.data(), 1, z.data(), 1);
        DVEC_MULS(n, 2.0, x.data(), 1, y.data(), 1);
        DVEC_AXPY(n, 2.0, x.data(), 1, y.data(), 1);
        DVEC_ROT(n, x.data(), 1, y.data(), 1, 0.6, 0.8);
        EXPECT_EQ(IDANAN(0, x.data(), 1), 0);
    }
    EXPECT_EQ(x, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(y, (std::vector<double>{4, 5, 6}));
    EXPECT_EQ(z, (std::vector<double>{7, 8, 9}));
    EXPECT_EQ(ix, (std::vector<int>{1, 2}));
    EXPECT_EQ(iy, (std::vector<int>{3, 4}));
    EXPECT_EQ(printed(), "");
}

// ---- reductions against long-double loops --------------------------------

TEST_F(KernelsTest, SumAsumDotAgainstLongDouble) {
    const int n = 37;
    const int incx = 3, incy = -2;
    auto x = random_vector(n * incx, 1);
    auto y = random_vector(n * 2, 2);
    long double s = 0, a = 0, d = 0, scale = 0;
    for (int i = 1; i <= n; ++i) {
        long double xi = x[at(n, incx, i)], yi = y[at(n, incy, i)];
        s += xi;
        a += std::fabs(xi);
        d += xi * yi;
        scale += std::fabs(xi * yi);
    }
    EXPECT_NEAR_REL(DVEC_SUM(n, x.data(), incx), static_cast<double>(s), sum_tol(n) * double(a / std::fabs(s)));
    EXPECT_NEAR_REL(DVEC_ASUM(n, x.data(), incx), static_cast<double>(a), sum_tol(n));
    EXPECT_NEAR_REL(DVEC_DOT(n, x.data(), incx, y.data(), incy), static_cast<double>(d),
                    sum_tol(n) * double(scale / std::fabs(d)));
}

TEST_F(KernelsTest, SumsAreAccumulatedInIndexOrder) {
    // 1 + 1e16 rounds away the 1 unless it is added to another 1 first.
    const double x[3] = {1.0, 1.0, 1e16};
    EXPECT_EQ(DVEC_SUM(3, x, 1), 1e16 + 2.0);
    const double y[3] = {1e16, 1.0, 1.0};
    EXPECT_EQ(DVEC_SUM(3, y, 1), 1e16);
    const double ones[3] = {1.0, 1.0, 1.0};
    EXPECT_EQ(DVEC_DOT(3, x, 1, ones, 1), 1e16 + 2.0);
    // A negative increment starts the walk at the far end of the storage.
    EXPECT_EQ(DVEC_DOT(3, x, -1, ones, 1), 1e16);
    EXPECT_EQ(DVEC_DOT(3, ones, 1, y, -1), 1e16 + 2.0);
}

TEST_F(KernelsTest, Nrm2AcrossItsThreeRanges) {
    const std::vector<double> base = {3.0, -4.0, 12.0, 0.5, -1.25};
    for (double scale : {1.0, 1e150, 1e200, 1e300, 1e-150, 1e-200, 1e-310}) {
        std::vector<double> x;
        long double ss = 0;
        for (double b : base) {
            x.push_back(b * scale);
            ss += static_cast<long double>(x.back()) * x.back();
        }
        double expected = static_cast<double>(std::sqrt(ss));
        double got = DVEC_NRM2(static_cast<int>(x.size()), x.data(), 1);
        // Subnormal inputs carry fewer digits; anything else is near full precision.
        double tol = scale < 1e-300 ? 1e-6 : 8 * kEps;
        EXPECT_NEAR_REL(got, expected, tol) << "scale " << scale;
    }
    const double pyth[2] = {3e200, 4e200};
    EXPECT_NEAR_REL(DVEC_NRM2(2, pyth, 1), 5e200, 2 * kEps);
    const double tiny[2] = {3e-200, 4e-200};
    EXPECT_NEAR_REL(DVEC_NRM2(2, tiny, 1), 5e-200, 2 * kEps);
    const double plain[2] = {3.0, 4.0};
    EXPECT_EQ(DVEC_NRM2(2, plain, 1), 5.0);
}

TEST_F(KernelsTest, Nrm2MixedMagnitudesAndIncrements) {
    // One huge element among ordinary ones: the scaled path must still see
    // every element.
    std::vector<double> x = {1.0, 2.0, 1e200, 3.0, 1e199};
    long double ss = 0;
    for (double v : x) ss += static_cast<long double>(v) * v;
    EXPECT_NEAR_REL(DVEC_NRM2(5, x.data(), 1), static_cast<double>(std::sqrt(ss)), 4 * kEps);
    const double y[4] = {-1.5, 99, 99, 99};
    EXPECT_EQ(DVEC_NRM2(4, y, 0), 3.0);  // sqrt(4)*|x1|
    EXPECT_EQ(DVEC_NRM2(3, y, -1), 0.0);
    const double z[5] = {3, 99, 4, 99, 12};
    EXPECT_EQ(DVEC_NRM2(3, z, 2), 13.0);
}

TEST_F(KernelsTest, IamaxTakesTheFirstLargestMagnitude) {
    const double x[6] = {1.0, -7.0, 3.0, 7.0, -7.0, 2.0};
    EXPECT_EQ(DVEC_IAMAX(6, x, 1), 2);
    EXPECT_EQ(DVEC_IAMAX(3, x, 2), 3);  // 1, 3, -7
    EXPECT_EQ(DVEC_IAMAX(1, x, 1), 1);
    const double same[3] = {2.0, -2.0, 2.0};
    EXPECT_EQ(DVEC_IAMAX(3, same, 1), 1);
}

// ---- element-wise kernels and increments ---------------------------------

TEST_F(KernelsTest, NegativeIncrementsPairTheFirstWithTheLastOfTheWalk) {
    std::vector<double> x = {1, 2, 3, 4, 5, 6};
    std::vector<double> y = {10, 20, 30};
    DVEC_SWAP(3, x.data(), 2, y.data(), -1);
    // x1 (x[0]) pairs with y's element 1, which is y[2].
    EXPECT_EQ(x, (std::vector<double>{30, 2, 20, 4, 10, 6}));
    EXPECT_EQ(y, (std::vector<double>{5, 3, 1}));

    std::vector<double> c(3, 0.0);
    DVEC_COPY(3, x.data(), -2, c.data(), 1);
    EXPECT_EQ(c, (std::vector<double>{10, 20, 30}));
    DVEC_AXPY(3, 2.0, c.data(), 1, y.data(), -1);
    EXPECT_EQ(y, (std::vector<double>{5 + 60, 3 + 40, 1 + 20}));
    std::vector<int> ic = {1, 2, 3}, id(3, 0);
    IVEC_COPY(3, ic.data(), 1, id.data(), -1);
    EXPECT_EQ(id, (std::vector<int>{3, 2, 1}));
    std::vector<double> z(3, 0.0);
    DVEC_MUL(3, c.data(), -1, c.data(), 1, z.data(), 1);
    EXPECT_EQ(z, (std::vector<double>{300, 400, 300}));
}

TEST_F(KernelsTest, ZeroIncrementRepeatsTheFirstElement) {
    const double x[1] = {2.5};
    std::vector<double> y(4, 0.0);
    DVEC_COPY(4, x, 0, y.data(), 1);
    EXPECT_EQ(y, (std::vector<double>(4, 2.5)));
    EXPECT_EQ(DVEC_DOT(4, x, 0, y.data(), 1), 25.0);
    std::vector<double> acc = {1.0};
    DVEC_AXPY(3, 1.0, y.data(), 1, acc.data(), 0);
    EXPECT_EQ(acc[0], 1.0 + 7.5);
}

TEST_F(KernelsTest, AxpyWithZeroFactorLeavesYEvenForNan) {
    const double x[2] = {kNaN, kInf};
    double y[2] = {1.0, 2.0};
    DVEC_AXPY(2, 0.0, x, 1, y, 1);
    EXPECT_EQ(y[0], 1.0);
    EXPECT_EQ(y[1], 2.0);
}

TEST_F(KernelsTest, ScalingSettingAndScaledCopy) {
    std::vector<double> x = {1, 2, 3, 4};
    DVEC_SCAL(2, -3.0, x.data(), 2);
    EXPECT_EQ(x, (std::vector<double>{-3, 2, -9, 4}));
    DVEC_SET(2, 7.0, x.data() + 1, 2);
    EXPECT_EQ(x, (std::vector<double>{-3, 7, -9, 7}));
    std::vector<int> ix = {0, 0, 0};
    IVEC_SET(3, -1, ix.data(), 1);
    EXPECT_EQ(ix, (std::vector<int>{-1, -1, -1}));
    std::vector<double> y(4, 0.0);
    DVEC_MULS(2, 0.5, x.data(), 2, y.data(), 1);
    EXPECT_EQ(y, (std::vector<double>{-1.5, -4.5, 0, 0}));
    // Negative increments of the one-vector kernels touch nothing.
    DVEC_SCAL(2, 0.0, x.data(), -1);
    DVEC_SET(2, 0.0, x.data(), -1);
    DVEC_MULS(2, 0.0, x.data(), -1, y.data(), 1);
    EXPECT_EQ(x, (std::vector<double>{-3, 7, -9, 7}));
    EXPECT_EQ(y[0], -1.5);
}

TEST_F(KernelsTest, PlaneRotation) {
    double a = 3.0, b = 4.0, c = 0, s = 0;
    DVEC_ROTG(a, b, c, s);
    EXPECT_EQ(a, 5.0);
    EXPECT_NEAR_REL(c, 0.6, kEps);
    EXPECT_NEAR_REL(s, 0.8, kEps);
    EXPECT_NEAR_REL(b, 1.0 / 0.6, kEps);  // |A| <= |B|: B keeps 1/C
    a = 4.0, b = -3.0;
    DVEC_ROTG(a, b, c, s);
    EXPECT_EQ(a, 5.0);
    EXPECT_EQ(c, 0.8);
    EXPECT_NEAR_REL(s, -0.6, kEps);
    EXPECT_EQ(b, s);
    a = 0.0, b = 2.0;
    DVEC_ROTG(a, b, c, s);
    EXPECT_EQ(c, 0.0);
    EXPECT_EQ(s, 1.0);
    EXPECT_EQ(b, 1.0);
    a = 0.0, b = 0.0;
    DVEC_ROTG(a, b, c, s);
    EXPECT_EQ(c, 1.0);
    EXPECT_EQ(s, 0.0);

    // The rotation built from (3, 4) zeroes the second component.
    double x[2] = {3.0, 1.0}, y[2] = {4.0, 2.0};
    DVEC_ROT(2, x, 1, y, 1, 0.6, 0.8);
    EXPECT_NEAR_REL(x[0], 5.0, kEps);
    EXPECT_NEAR(y[0], 0.0, 8 * kEps);
    EXPECT_NEAR_REL(x[1], 0.6 + 1.6, kEps);
    EXPECT_NEAR_REL(y[1], 1.2 - 0.8, 4 * kEps);
}

TEST_F(KernelsTest, PythagWithoutOverflow) {
    // The iteration carried out in double lands one unit in the last place
    // above 5 (in extended precision it would round to 5 exactly).
    EXPECT_EQ(DPYTHAG(3.0, 4.0), std::nextafter(5.0, 6.0));
    EXPECT_EQ(DPYTHAG(-4.0, 3.0), DPYTHAG(3.0, 4.0));
    EXPECT_EQ(DPYTHAG(0.0, 7.0), 7.0);
    EXPECT_EQ(DPYTHAG(0.0, 0.0), 0.0);
    EXPECT_EQ(DPYTHAG(0.0, -2.0), 2.0);
    EXPECT_NEAR_REL(DPYTHAG(1e300, 1e300), 1e300 * std::sqrt(2.0), 4 * kEps);
    EXPECT_NEAR_REL(DPYTHAG(3e-310, 4e-310), 5e-310, 1e-9);
    EXPECT_NEAR_REL(DPYTHAG(1.0, 1e-9), static_cast<double>(std::sqrt(1.0L + 1e-18L)), kEps);
}

TEST_F(KernelsTest, PythagOfNanOrInfinitiesEnds) {
    // The iteration would never settle on these.
    EXPECT_TRUE(std::isnan(DPYTHAG(kNaN, 1.0)));
    EXPECT_TRUE(std::isnan(DPYTHAG(1.0, kNaN)));
    EXPECT_EQ(DPYTHAG(kInf, -kInf), kInf);
    EXPECT_EQ(DPYTHAG(2.0, -kInf), kInf);
}

TEST_F(KernelsTest, SafeDivision) {
    double q = 0;
    DSAFE_DIV(0.0, 0.0, q);
    EXPECT_TRUE(std::isnan(q));
    DSAFE_DIV(1.0, 0.0, q);
    EXPECT_EQ(q, kInf);
    DSAFE_DIV(-1.0, 0.0, q);
    EXPECT_EQ(q, -kInf);
    DSAFE_DIV(-1.0, -0.0, q);
    EXPECT_EQ(q, -kInf);  // a zero divisor counts as positive
    DSAFE_DIV(1e300, -1e-10, q);
    EXPECT_EQ(q, -kInf);
    DSAFE_DIV(1e-300, 1e10, q);
    EXPECT_EQ(q, 0.0);
    DSAFE_DIV(kNaN, 2.0, q);
    EXPECT_TRUE(std::isnan(q));
    DSAFE_DIV(3.0, kNaN, q);
    EXPECT_TRUE(std::isnan(q));
    DSAFE_DIV(1.0, 3.0, q);
    EXPECT_EQ(q, 1.0 / 3.0);
    DSAFE_DIV(6.0, 4.0, q);
    EXPECT_EQ(q, 1.5);
}

TEST_F(KernelsTest, NanTests) {
    EXPECT_TRUE(DIS_NAN(kNaN));
    EXPECT_TRUE(DIS_NAN(-kNaN));
    EXPECT_FALSE(DIS_NAN(kInf));
    EXPECT_FALSE(DIS_NAN(std::numeric_limits<double>::max()));
    EXPECT_FALSE(DIS_NAN(0.0));
    const double x[6] = {1, 2, kNaN, 4, kNaN, 6};
    EXPECT_EQ(IDANAN(6, x, 1), 3);
    EXPECT_EQ(IDANAN(3, x, 2), 2);  // 1, NaN, NaN
    EXPECT_EQ(IDANAN(2, x, 1), 0);
    EXPECT_EQ(IDANAN(6, x, 0), 0);
}

TEST_F(KernelsTest, IdananRejectsNegativeArguments) {
    ERSET(0, 1, 0);
    const double x[1] = {kNaN};
    EXPECT_EQ(IDANAN(-1, x, 1), 0);
    EXPECT_EQ(printed(),
              "\n *** TERMINAL ERROR 1 from IDANAN.   The length of the input vector is -1. \n"
              " ***          The length must be non-negative.\n");
    EXPECT_EQ(IDANAN(1, x, -1), 0);
    std::string out = printed();
    EXPECT_NE(out.find("ERROR 2 from IDANAN."), std::string::npos) << out;
    EXPECT_NE(out.find("vector is -1.  The incrementation must be non-negative."), std::string::npos) << out;
    ERSET(0, 2, 2);
    EXPECT_EQ(stop_line([&] { IDANAN(-1, x, 1); }),
              " THE NUMERICAL LIBRARY ENDED THE RUN: TERMINAL ERROR 1 FROM IDANAN");
}

// ---- matrix-vector kernels -----------------------------------------------

struct Mat {
    int m, n, lda;
    std::vector<double> a;
    Mat(int m_, int n_, int lda_, unsigned seed) : m(m_), n(n_), lda(lda_), a(random_vector(lda_ * n_, seed)) {}
    double& operator()(int i, int j) { return a[static_cast<std::size_t>((i - 1) + (j - 1) * lda)]; }
};

TEST_F(KernelsTest, GemvBothWaysAgainstLongDouble) {
    const int m = 7, n = 5;
    for (char trans : {'N', 'n', 'T', 'c'}) {
        for (int incx : {1, -2}) {
            for (int incy : {1, -3}) {
                Mat a(m, n, m + 2, 11);
                const bool nt = trans == 'N' || trans == 'n';
                const int lx = nt ? n : m, ly = nt ? m : n;
                auto x = random_vector(lx * std::abs(incx), 12);
                auto y = random_vector(ly * std::abs(incy), 13);
                const double alpha = 1.25, beta = -0.5;
                std::vector<long double> ref(static_cast<std::size_t>(ly));
                std::vector<long double> mag(static_cast<std::size_t>(ly));
                for (int i = 1; i <= ly; ++i) {
                    long double s = 0, g = 0;
                    for (int k = 1; k <= lx; ++k) {
                        long double aik = nt ? a(i, k) : a(k, i);
                        s += aik * x[at(lx, incx, k)];
                        g += std::fabs(aik * x[at(lx, incx, k)]);
                    }
                    ref[static_cast<std::size_t>(i - 1)] = alpha * s + beta * (long double)y[at(ly, incy, i)];
                    mag[static_cast<std::size_t>(i - 1)] = std::fabs(alpha) * g + std::fabs(beta * y[at(ly, incy, i)]);
                }
                DGEMV(trans, m, n, alpha, a.a.data(), a.lda, x.data(), incx, beta, y.data(), incy);
                for (int i = 1; i <= ly; ++i) {
                    double r = static_cast<double>(ref[static_cast<std::size_t>(i - 1)]);
                    double tol = sum_tol(lx + 2) * static_cast<double>(mag[static_cast<std::size_t>(i - 1)]) /
                                 std::max(std::fabs(r), 1e-300);
                    EXPECT_NEAR_REL(y[at(ly, incy, i)], r, tol) << trans << incx << incy << " i=" << i;
                }
            }
        }
    }
    EXPECT_EQ(printed(), "");
}

TEST_F(KernelsTest, GemvBetaZeroClearsYAndQuickReturns) {
    Mat a(2, 2, 2, 3);
    const double x[2] = {1.0, 0.0};
    double y[2] = {kNaN, kNaN};
    DGEMV('N', 2, 2, 1.0, a.a.data(), 2, x, 1, 0.0, y, 1);
    EXPECT_EQ(y[0], a(1, 1));
    EXPECT_EQ(y[1], a(2, 1));
    double z[2] = {5.0, 6.0};
    DGEMV('T', 2, 2, 0.0, a.a.data(), 2, x, 1, 1.0, z, 1);  // nothing to do
    EXPECT_EQ(z[0], 5.0);
    DGEMV('T', 2, 2, 0.0, a.a.data(), 2, x, 1, 2.0, z, 1);  // only the scaling
    EXPECT_EQ(z[0], 10.0);
    EXPECT_EQ(z[1], 12.0);
    DGEMV('N', 0, 2, 1.0, a.a.data(), 1, x, 1, 0.0, z, 1);
    EXPECT_EQ(z[0], 10.0);
}

TEST_F(KernelsTest, MatrixVectorKernelsRejectBadArgumentsWithoutChange) {
    ERSET(0, 1, 0);
    Mat a(3, 3, 3, 5);
    const auto a0 = a.a;
    std::vector<double> x = {1, 2, 3}, y = {4, 5, 6};
    DGEMV('X', 3, 3, 1.0, a.a.data(), 3, x.data(), 1, 0.0, y.data(), 1);
    EXPECT_EQ(printed(),
              "\n *** TERMINAL ERROR 1 from DGEMV.  TRANS must be set equal to N or T or C\n"
              " ***          while X is given.\n");
    DGEMV('N', -1, 3, 1.0, a.a.data(), 3, x.data(), 1, 0.0, y.data(), 1);
    EXPECT_NE(printed().find(
                  "ERROR 2 from DGEMV.  M must be greater than or equal to zero\n ***          while -1 is given.\n"),
              std::string::npos);
    DGEMV('N', 3, 3, 1.0, a.a.data(), 2, x.data(), 1, 0.0, y.data(), 1);
    std::string out = printed();
    EXPECT_NE(out.find("ERROR 6 from DGEMV.  LDA must be greater than or equal to M"), std::string::npos) << out;
    EXPECT_NE(out.find("LDA = 2 and M = 3 are given."), std::string::npos) << out;
    DGEMV('T', 3, 3, 1.0, a.a.data(), 3, x.data(), 0, 0.0, y.data(), 1);
    EXPECT_NE(printed().find("INCX must not be equal to zero while 0 is"), std::string::npos);
    DSYMV('Q', 3, 1.0, a.a.data(), 3, x.data(), 1, 0.0, y.data(), 1);
    EXPECT_NE(printed().find("from DSYMV.  UPLO must be set equal to U or L while"), std::string::npos);
    DSYMV('U', 3, 1.0, a.a.data(), 3, x.data(), 1, 0.0, y.data(), 0);
    EXPECT_NE(printed().find("INCY must not be equal to zero while 0 is"), std::string::npos);
    DSYR2('L', 3, 1.0, x.data(), 1, y.data(), 1, a.a.data(), 1);
    out = printed();
    EXPECT_NE(out.find("ERROR 9 from DSYR2.  LDA must be greater than or equal to N"), std::string::npos) << out;
    DGER(3, -2, 1.0, x.data(), 1, y.data(), 1, a.a.data(), 3);
    EXPECT_NE(printed().find(
                  "ERROR 2 from DGER.  N must be greater than or equal to zero\n ***          while -2 is given.\n"),
              std::string::npos);
    EXPECT_EQ(a.a, a0);
    EXPECT_EQ(y, (std::vector<double>{4, 5, 6}));
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
    ERSET(0, 2, 2);
    EXPECT_EQ(stop_line([&] { DGER(3, 3, 1.0, x.data(), 1, y.data(), 1, a.a.data(), 0); }),
              " THE NUMERICAL LIBRARY ENDED THE RUN: TERMINAL ERROR 9 FROM DGER");
}

TEST_F(KernelsTest, SymvReadsOnlyItsTriangle) {
    const int n = 6;
    for (char uplo : {'U', 'l'}) {
        for (int incx : {1, -2}) {
            Mat full(n, n, n + 1, 21);
            for (int j = 1; j <= n; ++j)
                for (int i = j + 1; i <= n; ++i) full(i, j) = full(j, i);
            Mat tri = full;
            const bool up = uplo == 'U';
            for (int j = 1; j <= n; ++j)
                for (int i = 1; i <= n; ++i)
                    if (up ? i > j : i < j) tri(i, j) = kNaN;
            auto x = random_vector(n * std::abs(incx), 22);
            auto y = random_vector(n, 23);
            const double alpha = -0.75, beta = 2.0;
            std::vector<double> expected(n);
            for (int i = 1; i <= n; ++i) {
                long double s = 0;
                for (int k = 1; k <= n; ++k) s += (long double)full(i, k) * x[at(n, incx, k)];
                expected[static_cast<std::size_t>(i - 1)] =
                    static_cast<double>(alpha * s + beta * (long double)y[i - 1]);
            }
            DSYMV(uplo, n, alpha, tri.a.data(), tri.lda, x.data(), incx, beta, y.data(), 1);
            for (int i = 0; i < n; ++i) EXPECT_NEAR_REL(y[i], expected[i], 1e-13) << uplo << incx << " i=" << i;
        }
    }
}

TEST_F(KernelsTest, Syr2UpdatesOnlyItsTriangle) {
    const int n = 5;
    for (char uplo : {'u', 'L'}) {
        Mat a(n, n, n, 31);
        const Mat a0 = a;
        auto x = random_vector(n * 2, 32);
        auto y = random_vector(n, 33);
        const double alpha = 0.5;
        const int incx = -2;
        DSYR2(uplo, n, alpha, x.data(), incx, y.data(), 1, a.a.data(), a.lda);
        const bool up = uplo == 'u';
        for (int j = 1; j <= n; ++j) {
            for (int i = 1; i <= n; ++i) {
                Mat& m0 = const_cast<Mat&>(a0);
                if (up ? i > j : i < j) {
                    EXPECT_EQ(a(i, j), m0(i, j));
                } else {
                    long double xi = x[at(n, incx, i)], xj = x[at(n, incx, j)];
                    long double r = m0(i, j) + alpha * (xi * y[j - 1] + y[i - 1] * xj);
                    EXPECT_NEAR_REL(a(i, j), static_cast<double>(r), 1e-14) << uplo << i << j;
                }
            }
        }
    }
}

TEST_F(KernelsTest, GerAgainstLongDouble) {
    const int m = 4, n = 3;
    Mat a(m, n, m + 1, 41);
    const Mat a0 = a;
    auto x = random_vector(m, 42);
    auto y = random_vector(n * 3, 43);
    const int incy = -3;
    DGER(m, n, -2.0, x.data(), 1, y.data(), incy, a.a.data(), a.lda);
    Mat& m0 = const_cast<Mat&>(a0);
    for (int j = 1; j <= n; ++j)
        for (int i = 1; i <= m; ++i)
            EXPECT_NEAR_REL(a(i, j), static_cast<double>(m0(i, j) + -2.0L * x[i - 1] * y[at(n, incy, j)]), 1e-14);
    // The padding row below M is not touched.
    for (int j = 1; j <= n; ++j) EXPECT_EQ(a(m + 1, j), m0(m + 1, j));
}

}  // namespace
}  // namespace vorm::test
