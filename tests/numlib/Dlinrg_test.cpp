#include "numlib/Dlinrg.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/stop.h"
#include "numlib/Dl2nrg.h"
#include "numlib/Numlib_error.h"
#include "numlib/Workspace.h"
#include "test_support.h"

namespace vorm {
namespace {

constexpr double EPS = 2.220446049250313e-16;
// Residual and forward-error bounds: c * n * eps * (condition), with c
// covering the growth of rounding in the elimination and the inversion.
constexpr double RESIDUAL_FACTOR = 4.0;
// The estimate never exceeds the true reciprocal condition number (it
// bounds the norm of the inverse from below) and is rarely off by more than a
// few times.
constexpr double RCOND_FACTOR = 10.0;

class Dlinrg : public ::testing::Test {
protected:
    void SetUp() override {
        std::setlocale(LC_ALL, "C");
        numlib_reset();
        numlib_set_console(&console_);
    }
    void TearDown() override {
        numlib_set_console(nullptr);
        numlib_reset();
        EXPECT_EQ(numlib_workspace_doubles_in_use(), 0);
        EXPECT_EQ(numlib_workspace_ints_in_use(), 0);
    }
    // The console without continuation marks, blanks or line ends, so that
    // texts can be found whatever the line breaking of the messages.
    std::string squeezed() const { return squeeze(console_.str()); }
    static std::string squeeze(std::string s) {
        for (size_t at; (at = s.find("\n ***")) != std::string::npos;) s.erase(at, 5);
        s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\n'; }), s.end());
        return s;
    }
    std::ostringstream console_;
};

struct Matrix {
    int n, ld;
    std::vector<double> a;
    Matrix(int n_, int ld_) : n(n_), ld(ld_), a(static_cast<size_t>(ld_) * n_, 0.0) {}
    double& operator()(int i, int j) { return a[(i - 1) + static_cast<size_t>(j - 1) * ld]; }
    double operator()(int i, int j) const { return a[(i - 1) + static_cast<size_t>(j - 1) * ld]; }
};

double norm1(const Matrix& m) {
    double best = 0.0;
    for (int j = 1; j <= m.n; ++j) {
        double s = 0.0;
        for (int i = 1; i <= m.n; ++i) s += std::fabs(m(i, j));
        best = std::max(best, s);
    }
    return best;
}

// ||A X - I||_1
double residual1(const Matrix& a, const Matrix& x) {
    Matrix r(a.n, a.n);
    for (int i = 1; i <= a.n; ++i)
        for (int j = 1; j <= a.n; ++j) {
            long double s = 0.0L;
            for (int k = 1; k <= a.n; ++k) s += static_cast<long double>(a(i, k)) * x(k, j);
            r(i, j) = static_cast<double>(s - (i == j ? 1.0L : 0.0L));
        }
    return norm1(r);
}

Matrix invert(const Matrix& a, int ldinv) {
    Matrix x(a.n, ldinv);
    DLINRG(a.n, a.a.data(), a.ld, x.a.data(), x.ld);
    return x;
}

Matrix hilbert(int n) {
    Matrix h(n, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) h(i, j) = 1.0 / (i + j - 1);
    return h;
}

double estimated_rcond(const Matrix& a) {
    Matrix fac(a.n, a.n);
    std::vector<int> ipvt(a.n);
    std::vector<double> z(a.n);
    double rcond = -1.0;
    DL2CRG(a.n, a.a.data(), a.ld, fac.a.data(), fac.ld, ipvt.data(), rcond, z.data());
    return rcond;
}

TEST_F(Dlinrg, RejectsNonPositiveOrder) {
    ERSET(0, 1, 0);
    double a = 1.0, x = 7.0;
    DLINRG(0, &a, 1, &x, 1);
    EXPECT_NE(console_.str().find(" *** TERMINAL ERROR 1 from DLINRG.  "), std::string::npos) << console_.str();
    EXPECT_NE(squeezed().find(squeeze("The order of the matrix must be positive while N = 0 is given.")),
              std::string::npos);
    EXPECT_EQ(LAST_ERROR_CODE(), 0);  // a TERMINAL error has no code for the caller
    EXPECT_EQ(x, 7.0);
}

TEST_F(Dlinrg, ReportsWorkspaceThatCannotBeHadAndTakesNothing) {
    ERSET(0, 1, 0);
    // N*(N+1)/2 doubles far beyond the workspace; A is never read.
    double a = 1.0, x = 7.0;
    DLINRG(100000, &a, 100000, &x, 100000);
    EXPECT_NE(console_.str().find(" *** TERMINAL ERROR 2 from DLINRG.  "), std::string::npos) << console_.str();
    EXPECT_NE(squeezed().find(squeeze("The required storage cannot be allocated.  The workspace is based on N, "
                                      "where N = 100000.")),
              std::string::npos);
    EXPECT_EQ(x, 7.0);
}

TEST_F(Dlinrg, SingularMatricesGiveFatalCodeTwoAndTheRunGoesOn) {
    ERSET(0, 1, 0);
    Matrix equal_rows(3, 11);
    const double rows[3][3] = {{1, 2, 4}, {1, 2, 4}, {0.5, 3, 1}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) equal_rows(i, j) = rows[i - 1][j - 1];
    invert(equal_rows, 11);
    EXPECT_EQ(LAST_ERROR_CODE(), 2);
    EXPECT_NE(console_.str().find("\n *** FATAL    ERROR 2 from DLINRG.  "), std::string::npos) << console_.str();
    EXPECT_NE(squeezed().find(squeeze("The input matrix is singular.  Some of the diagonal elements of the upper "
                                      "triangular matrix U of the LU factorization are close to zero.")),
              std::string::npos);

    Matrix zero_row(2, 2);
    zero_row(1, 1) = 3.0;
    zero_row(1, 2) = 1.0;
    invert(zero_row, 2);
    EXPECT_EQ(LAST_ERROR_CODE(), 2);

    Matrix zero(1, 1);
    invert(zero, 1);
    EXPECT_EQ(LAST_ERROR_CODE(), 2);
}

// A matrix holding a NaN or an infinity has no inverse, wherever it stands:
// it is reported as singular, so that the caller does not take NaN results
// for an inverse.
TEST_F(Dlinrg, MatrixHoldingNaNOrInfinityIsSingular) {
    ERSET(0, 1, 0);
    const double bad[] = {std::nan(""), INFINITY, -INFINITY};
    for (double x : bad)
        for (int at = 1; at <= 9; ++at) {
            SCOPED_TRACE("value " + std::to_string(x) + " at " + std::to_string(at));
            Matrix m(3, 11);
            for (int i = 1; i <= 3; ++i) m(i, i) = 2.0 + i;
            m(1, 3) = 0.5;
            m((at - 1) % 3 + 1, (at - 1) / 3 + 1) = x;
            console_.str("");
            invert(m, 11);
            EXPECT_EQ(LAST_ERROR_CODE(), 2);
            EXPECT_NE(console_.str().find(" *** FATAL    ERROR 2 from DLINRG.  "), std::string::npos) << console_.str();
        }
}

TEST_F(Dlinrg, SingularMatrixEndsTheProgramUnderTheDefaultTables) {
    Matrix zero(2, 2);
    EXPECT_THROW(invert(zero, 2), EngineStop);
    EXPECT_NE(console_.str().find(" *** FATAL    ERROR 2 from DLINRG.  "), std::string::npos) << console_.str();
}

TEST_F(Dlinrg, IllConditionedMatrixIsInvertedWithWarningCodeOne) {
    ERSET(0, 1, 0);
    // Pivots 1 and 2^-60: far above the singularity threshold, reciprocals exact,
    // condition 2^60 beyond 1/eps.
    const double tiny = std::ldexp(1.0, -60);
    Matrix a(2, 11);
    a(1, 1) = 1.0;
    a(2, 2) = tiny;
    Matrix x = invert(a, 11);
    EXPECT_EQ(LAST_ERROR_CODE(), 1);
    EXPECT_EQ(x(1, 1), 1.0);
    EXPECT_EQ(x(2, 2), std::ldexp(1.0, 60));
    EXPECT_EQ(x(1, 2), 0.0);
    EXPECT_EQ(x(2, 1), 0.0);
    // Printed once, under DLINRG, with the inversion's own text (not the
    // factorisation's, which it replaced on the way up).
    const std::string out = console_.str();
    EXPECT_NE(out.find("\n *** WARNING  ERROR 1 from DLINRG.  The matrix is too ill-conditioned."), std::string::npos)
        << out;
    EXPECT_NE(squeezed().find(squeeze("An estimate of the reciprocal of its L1 condition number is RCOND = "
                                      "8.673617379884035D-19.  The inverse might not be accurate.")),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("algorithmically"), std::string::npos);
    EXPECT_EQ(out.find(" ERROR", out.find(" ERROR") + 1), std::string::npos);
    EXPECT_EQ(estimated_rcond(a), tiny);
}

TEST_F(Dlinrg, IllConditionedWarningIsPrintedUnderTheDefaultTablesToo) {
    Matrix a(2, 2);
    a(1, 1) = 1.0;
    a(2, 2) = std::ldexp(1.0, -60);
    invert(a, 2);
    EXPECT_EQ(LAST_ERROR_CODE(), 1);
    EXPECT_NE(console_.str().find(" *** WARNING  ERROR 1 from DLINRG.  "), std::string::npos);
}

TEST_F(Dlinrg, IdentityAndOneByOneInvertExactlyWithCodeZero) {
    ERSET(0, 1, 0);
    for (int n = 1; n <= 11; ++n) {
        Matrix id(n, 11);
        for (int i = 1; i <= n; ++i) id(i, i) = 1.0;
        Matrix x = invert(id, 11);
        EXPECT_EQ(LAST_ERROR_CODE(), 0);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) EXPECT_EQ(x(i, j), i == j ? 1.0 : 0.0);
    }
    Matrix a(1, 1);
    a(1, 1) = -4.0;
    EXPECT_EQ(invert(a, 1)(1, 1), -0.25);
    EXPECT_EQ(console_.str(), "");
}

TEST_F(Dlinrg, RandomMatricesInvertWithinTheConditionBound) {
    ERSET(0, 1, 0);
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> entry(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-20, 20);
    for (int n = 1; n <= 11; ++n) {
        for (int trial = 0; trial < 20; ++trial) {
            Matrix a(n, trial % 2 == 0 ? 11 : n);
            // Odd trials scale the rows over many magnitudes, which the row
            // scaling of the pivot choice must absorb.
            for (int i = 1; i <= n; ++i) {
                const double rowscale = trial % 2 == 1 ? std::ldexp(1.0, exponent(rng)) : 1.0;
                for (int j = 1; j <= n; ++j) a(i, j) = entry(rng) * rowscale;
            }
            const std::vector<double> before = a.a;
            Matrix x = invert(a, 11);
            ASSERT_EQ(LAST_ERROR_CODE(), 0) << "n=" << n << " trial=" << trial;
            EXPECT_EQ(a.a, before);  // A is not changed
            const double bound = RESIDUAL_FACTOR * n * EPS * norm1(a) * norm1(x);
            EXPECT_LE(residual1(a, x), bound) << "n=" << n << " trial=" << trial;

            const double true_rcond = 1.0 / (norm1(a) * norm1(x));
            const double est = estimated_rcond(a);
            EXPECT_GE(est, true_rcond * (1.0 - 1e-6)) << "n=" << n << " trial=" << trial;
            EXPECT_LE(est, RCOND_FACTOR * true_rcond) << "n=" << n << " trial=" << trial;
        }
    }
    EXPECT_EQ(console_.str(), "");
}

TEST_F(Dlinrg, HilbertFourByFourMatchesItsIntegerInverse) {
    ERSET(0, 1, 0);
    const double exact[4][4] = {
        {16, -120, 240, -140}, {-120, 1200, -2700, 1680}, {240, -2700, 6480, -4200}, {-140, 1680, -4200, 2800}};
    const Matrix h = hilbert(4);
    const Matrix x = invert(h, 11);
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
    Matrix e(4, 4);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) e(i, j) = exact[i - 1][j - 1];
    const double cond = norm1(h) * norm1(e);  // 28375
    EXPECT_NEAR_REL(cond, 28375.0, 1e-12);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            EXPECT_NEAR(x(i, j), e(i, j), RESIDUAL_FACTOR * 4 * EPS * cond * 6480.0) << i << "," << j;
    EXPECT_GE(estimated_rcond(h), 1.0 / cond * (1.0 - 1e-9));
    EXPECT_LE(estimated_rcond(h), RCOND_FACTOR / cond);
}

TEST_F(Dlinrg, HilbertMatricesKeepTheConditionEstimateClose) {
    ERSET(0, 1, 0);
    for (int n = 2; n <= 9; ++n) {
        const Matrix h = hilbert(n);
        const Matrix x = invert(h, n);
        ASSERT_EQ(LAST_ERROR_CODE(), 0) << n;
        const double true_rcond = 1.0 / (norm1(h) * norm1(x));
        EXPECT_GE(estimated_rcond(h), true_rcond * 0.99) << n;
        EXPECT_LE(estimated_rcond(h), RCOND_FACTOR * true_rcond) << n;
    }
}

TEST_F(Dlinrg, PivotRowIsChosenByScaledMagnitudeAndTiesTakeTheFirst) {
    ERSET(0, 1, 0);
    // Scaled magnitudes in column 1: 10/10000 and 1/1, so row 2 pivots
    // although row 1 holds the larger plain value.
    double a[4] = {10.0, 1.0, 10000.0, 1.0};
    double fac[4];
    int ipvt[2];
    double scale[2];
    dL2TRG(2, a, 2, fac, 2, ipvt, scale);
    EXPECT_EQ(ipvt[0], 2);
    EXPECT_EQ(ipvt[1], 2);
    EXPECT_EQ(fac[1], -10.0);  // negated multiplier of row 1 against row 2
    EXPECT_EQ(fac[3], 10000.0 - 10.0);

    // Both rows have scaled magnitude 1 in column 1.
    double b[4] = {2.0, 4.0, 0.0, 1.0};
    dL2TRG(2, b, 2, fac, 2, ipvt, scale);
    EXPECT_EQ(ipvt[0], 1);
    EXPECT_EQ(N1RTY(1), 0);
}

TEST_F(Dlinrg, TriangularInverseOfBothTriangles) {
    ERSET(0, 1, 0);
    // Unit-free integer triangles with power-of-two diagonals: exact inverses.
    Matrix u(3, 3);
    const double uv[3][3] = {{2, 1, 3}, {0, 4, -2}, {0, 0, 0.5}};
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) u(i, j) = uv[i - 1][j - 1];
    for (int ipath : {1, 2}) {
        Matrix t(3, 3);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j) t(i, j) = ipath == 2 ? u(i, j) : u(j, i);
        Matrix x(3, 3);
        for (double& v : x.a) v = 99.0;
        DLINRT(3, t.a.data(), 3, ipath, x.a.data(), 3);
        EXPECT_EQ(residual1(t, x), 0.0) << ipath;
    }
    Matrix x(3, 3);
    DLINRT(3, u.a.data(), 3, 3, x.a.data(), 3);
    EXPECT_NE(squeezed().find(squeeze("IPATH must be either 1 or 2 while a value of 3 is given.")), std::string::npos);
}

}  // namespace
}  // namespace vorm
