#include "numlib/Dprinc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Numlib_test_fixture.h"
#include "common/stop.h"
#include "numlib/Dcorvc.h"
#include "numlib/De2csf.h"
#include "numlib/Numlib_error.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::flat;

constexpr double kEps = 2.220446049250313e-16;
constexpr int kLd = 100;

struct Mat {
    int n;
    std::vector<double> a;
    explicit Mat(int n_) : n(n_), a(static_cast<size_t>(kLd) * kLd, 0.0) {}
    double& operator()(int i, int j) { return a[(i - 1) + static_cast<size_t>(j - 1) * kLd]; }
    double operator()(int i, int j) const { return a[(i - 1) + static_cast<size_t>(j - 1) * kLd]; }
    double norm1() const {
        double m = 0;
        for (int j = 1; j <= n; ++j) {
            double s = 0;
            for (int i = 1; i <= n; ++i) s += std::fabs((*this)(i, j));
            m = std::max(m, s);
        }
        return m;
    }
};

struct Pc {
    std::vector<double> eval, pct, std;
    Mat evec, a;
    explicit Pc(int n) : eval(n, -7), pct(n, -7), std(n, -7), evec(n), a(n) {}
};

Pc principal(const Mat& cov, int ndf = 500, int icov = 1) {
    Pc p(cov.n);
    DPRINC(ndf, cov.n, cov.a.data(), kLd, icov, p.eval.data(), p.pct.data(), p.std.data(), p.evec.a.data(), kLd,
           p.a.a.data(), kLd);
    return p;
}

// Every column: length 1 and its first element of largest magnitude positive.
void expect_sign_rule_and_unit_length(const Pc& p, int n) {
    for (int i = 1; i <= n; ++i) {
        int k = 1;
        double len = 0;
        for (int r = 1; r <= n; ++r) {
            if (std::fabs(p.evec(r, i)) > std::fabs(p.evec(k, i))) k = r;
            len += p.evec(r, i) * p.evec(r, i);
        }
        EXPECT_GT(p.evec(k, i), 0.0) << "column " << i;
        EXPECT_NEAR(std::sqrt(len), 1.0, 4 * n * kEps) << "column " << i;
    }
}

// ||A v - lambda v|| against n eps ||A||, and ||V'V - I|| against n eps.
void expect_eigensystem(const Mat& m, const Pc& p) {
    const int n = m.n;
    const double scale = 8.0 * n * kEps;
    const double an = std::max(m.norm1(), 1.0);
    double worst_res = 0, worst_orth = 0;
    for (int i = 1; i <= n; ++i) {
        for (int r = 1; r <= n; ++r) {
            double s = 0;
            for (int c = 1; c <= n; ++c) s += m(std::min(r, c), std::max(r, c)) * p.evec(c, i);
            worst_res = std::max(worst_res, std::fabs(s - p.eval[i - 1] * p.evec(r, i)));
        }
        for (int j = 1; j <= n; ++j) {
            double s = 0;
            for (int r = 1; r <= n; ++r) s += p.evec(r, i) * p.evec(r, j);
            worst_orth = std::max(worst_orth, std::fabs(s - (i == j ? 1.0 : 0.0)));
        }
        if (i > 1) {
            EXPECT_GE(p.eval[i - 2], p.eval[i - 1]);
        }
    }
    EXPECT_LE(worst_res, scale * an) << "n = " << n;
    EXPECT_LE(worst_orth, scale) << "n = " << n;
}

class DprincTest : public ::testing::Test {
protected:
    std::ostringstream console;
    void SetUp() override {
        numlib_reset();
        numlib_set_console(&console);
    }
    void TearDown() override {
        numlib_set_console(nullptr);
        numlib_reset();
    }
};

// --- bad input -------------------------------------------------------------

TEST_F(DprincTest, NegativeDiagonalIsTerminalAndEndsTheProgram) {
    Mat m(3);
    m(1, 1) = 1, m(2, 2) = -0.5, m(3, 3) = 1;
    EXPECT_THROW(principal(m), EngineStop);
    EXPECT_NE(flat(console.str())
                  .find("from DPRINC. COV(2,2) = -5.000000000000000D-01. All diagonal elements of "
                        "COV must be nonnegative."),
              std::string::npos)
        << console.str();
    EXPECT_NE(console.str().find("TERMINAL"), std::string::npos);
}

TEST_F(DprincTest, NaNMatrixFailsToConvergeWithFatalError) {
    // What the correlations of a constant item look like.
    Mat m(3);
    for (int i = 1; i <= 3; ++i)
        for (int j = i; j <= 3; ++j) m(i, j) = i == j ? 1.0 : 0.3;
    m(1, 2) = m(2, 3) = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(principal(m), EngineStop);
    EXPECT_NE(flat(console.str())
                  .find("FATAL ERROR 1 from DPRINC. The iteration for the eigenvalues did not "
                        "converge."),
              std::string::npos)
        << console.str();

    // With every message printed and none ending the run, the code is there
    // to ask for.
    console.str("");
    ERSET(0, 1, 0);
    Pc p = principal(m);
    EXPECT_EQ(LAST_ERROR_CODE(), 1);
    EXPECT_EQ(p.pct[0], -7.0);
    EXPECT_NE(console.str().find("FATAL"), std::string::npos);
}

TEST_F(DprincTest, NoDegreesOfFreedomWarnsAndUsesOneHundred) {
    Mat m(2);
    m(1, 1) = m(2, 2) = 1, m(1, 2) = 0.5;
    Pc p0 = principal(m, 0);
    EXPECT_NE(flat(console.str())
                  .find("WARNING ERROR 1 from DPRINC. Because the number of degrees of freedom in "
                        "COV, NDF, is less than or equal to 0, 100 degrees of freedom will be used."),
              std::string::npos)
        << console.str();
    Pc p100 = principal(m, 100);
    EXPECT_EQ(p0.std[0], p100.std[0]);
}

TEST_F(DprincTest, ClearlyNegativeEigenvalueWarnsAndCountsAsZero) {
    Mat m(2);
    m(1, 1) = m(2, 2) = 1, m(1, 2) = 2;  // eigenvalues 3 and -1
    Pc p = principal(m, 100, 0);
    EXPECT_NEAR(p.eval[1], -1.0, 1e-14);
    EXPECT_NE(flat(console.str()).find("EVAL(2) = -"), std::string::npos) << console.str();
    EXPECT_NE(flat(console.str()).find("One or more eigenvalues much less than zero are computed."), std::string::npos);
    EXPECT_EQ(p.std[1], 0.0);
    EXPECT_EQ(p.a(1, 2), 0.0);
}

// --- closed forms ------------------------------------------------------------

TEST_F(DprincTest, TwoByTwoCorrelation) {
    Mat m(2);
    m(1, 1) = m(2, 2) = 1, m(1, 2) = 0.5;
    m(2, 1) = 99;  // the lower triangle is never read
    Pc p = principal(m, 50);
    EXPECT_NEAR_REL(p.eval[0], 1.5, 4 * kEps);
    EXPECT_NEAR_REL(p.eval[1], 0.5, 4 * kEps);
    EXPECT_NEAR_REL(p.pct[0], 0.75, 4 * kEps);
    EXPECT_NEAR_REL(p.pct[1], 1.0, 4 * kEps);
    expect_sign_rule_and_unit_length(p, 2);
    EXPECT_NEAR_REL(p.evec(1, 1), std::sqrt(0.5), 4 * kEps);
    EXPECT_NEAR_REL(p.evec(2, 1), std::sqrt(0.5), 4 * kEps);
    EXPECT_NEAR_REL(std::fabs(p.evec(1, 2)), std::sqrt(0.5), 4 * kEps);
    EXPECT_NEAR_REL(p.evec(1, 2), -p.evec(2, 2), 4 * kEps);
    // Correlation of each variable with the components, sqrt(lambda) v.
    EXPECT_NEAR_REL(p.a(1, 1), std::sqrt(0.75), 8 * kEps);
    EXPECT_NEAR_REL(std::fabs(p.a(2, 2)), 0.5, 8 * kEps);
    // Standard error for a correlation matrix: sqrt(lambda^2 + (1 - 2 lambda)
    // sum v^4 + 2 sum_{k<l} v_k^2 v_l^2 r_kl^2) sqrt(2/NDF), by hand here.
    EXPECT_NEAR_REL(p.std[0], std::sqrt(2.25 - 2 * 0.5 + 0.125) * std::sqrt(2.0 / 50), 16 * kEps);
    EXPECT_NEAR_REL(p.std[1], std::sqrt(0.25 + 0.0 * 0.5 + 0.125) * std::sqrt(2.0 / 50), 16 * kEps);
}

TEST_F(DprincTest, OrderOneNeedsNoIteration) {
    Mat m(1);
    m(1, 1) = 2.5;
    Pc p = principal(m, 10, 0);
    EXPECT_EQ(p.eval[0], 2.5);
    EXPECT_EQ(p.evec(1, 1), 1.0);
    EXPECT_EQ(p.pct[0], 1.0);
    EXPECT_EQ(console.str(), "");
}

TEST_F(DprincTest, IdentityKeepsUnitEigenvalues) {
    for (int n : {3, 10, 100}) {
        Mat m(n);
        for (int i = 1; i <= n; ++i) m(i, i) = 1;
        Pc p = principal(m);
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(p.eval[i - 1], 1.0);
            EXPECT_NEAR_REL(p.pct[i - 1], static_cast<double>(i) / n, 4 * kEps);
        }
        expect_eigensystem(m, p);
        expect_sign_rule_and_unit_length(p, n);
    }
}

TEST_F(DprincTest, SecondDifferenceMatrixHasCosineSpectrum) {
    // 2 on the diagonal, -1 beside it: lambda_k = 2 - 2 cos(k pi / (n + 1)),
    // eigenvector components sin(j k pi / (n + 1)).
    for (int n : {2, 7, 50, 100}) {
        Mat m(n);
        for (int i = 1; i <= n; ++i) {
            m(i, i) = 2;
            if (i < n) m(i, i + 1) = -1;
        }
        Pc p = principal(m, 100, 0);
        for (int i = 1; i <= n; ++i) {
            const int k = n + 1 - i;  // largest first
            const double theta = k * std::numbers::pi / (n + 1);
            EXPECT_NEAR(p.eval[i - 1], 2 - 2 * std::cos(theta), 16 * n * kEps) << n << " " << i;
            // The closed-form vector, up to the sign: its largest magnitude
            // is reached twice (the vector is symmetric), so only rounding
            // decides which comes first.
            std::vector<double> v(n);
            double len = 0, dot = 0;
            for (int j = 0; j < n; ++j) {
                v[j] = std::sin((j + 1) * theta);
                len += v[j] * v[j];
                dot += v[j] * p.evec(j + 1, i);
            }
            const double s = (dot < 0 ? -1 : 1) / std::sqrt(len);
            // Eigenvalues apart by far more than rounding fix the vectors.
            if (n <= 50) {
                for (int j = 0; j < n; ++j) EXPECT_NEAR(p.evec(j + 1, i), s * v[j], 1e-10) << n << " " << i;
            }
        }
        expect_sign_rule_and_unit_length(p, n);
        expect_eigensystem(m, p);
    }
}

TEST_F(DprincTest, EquicorrelationHasOneLargeEigenvalueWithPositiveEqualLoadings) {
    const int n = 40;
    const double rho = 0.3;
    Mat m(n);
    for (int i = 1; i <= n; ++i)
        for (int j = i; j <= n; ++j) m(i, j) = i == j ? 1 : rho;
    Pc p = principal(m);
    EXPECT_NEAR_REL(p.eval[0], 1 + (n - 1) * rho, 32 * n * kEps);
    for (int i = 2; i <= n; ++i) EXPECT_NEAR(p.eval[i - 1], 1 - rho, 32 * n * kEps);
    for (int r = 1; r <= n; ++r) EXPECT_NEAR(p.evec(r, 1), 1 / std::sqrt(double(n)), 1e-13);
    EXPECT_NEAR_REL(p.pct[0], (1 + (n - 1) * rho) / n, 1e-13);
    expect_eigensystem(m, p);
    expect_sign_rule_and_unit_length(p, n);
}

// A random orthogonal Q (product of Householder reflections) and the matrix
// Q diag(lambda) Q'.
Mat with_spectrum(const std::vector<double>& lambda, std::mt19937& gen, Mat* q_out) {
    const int n = static_cast<int>(lambda.size());
    std::normal_distribution<double> z(0, 1);
    Mat q(n);
    for (int i = 1; i <= n; ++i) q(i, i) = 1;
    for (int h = 0; h < 3; ++h) {
        std::vector<double> u(n);
        double uu = 0;
        for (auto& x : u) x = z(gen), uu += x * x;
        for (int c = 1; c <= n; ++c) {
            double s = 0;
            for (int r = 1; r <= n; ++r) s += u[r - 1] * q(r, c);
            for (int r = 1; r <= n; ++r) q(r, c) -= 2 * u[r - 1] * s / uu;
        }
    }
    Mat m(n);
    for (int i = 1; i <= n; ++i)
        for (int j = i; j <= n; ++j) {
            long double s = 0;
            for (int k = 1; k <= n; ++k) s += static_cast<long double>(q(i, k)) * lambda[k - 1] * q(j, k);
            m(i, j) = static_cast<double>(s);
        }
    if (q_out) *q_out = q;
    return m;
}

TEST_F(DprincTest, KnownSpectrumAndVectorsUnderRandomRotations) {
    std::mt19937 gen(42);
    for (int n : {3, 12, 60, 100}) {
        std::vector<double> lambda(n);
        for (int k = 0; k < n; ++k) lambda[k] = 1.0 + 0.37 * k;  // separated by far more than rounding
        Mat q(n);
        Mat m = with_spectrum(lambda, gen, &q);
        Pc p = principal(m, 100, 0);
        for (int i = 1; i <= n; ++i) {
            EXPECT_NEAR(p.eval[i - 1], lambda[n - i], 64 * n * kEps * lambda[n - 1]);
            const int k = n + 1 - i;
            // The same vector as column k of Q up to sign; the rule fixes the sign.
            int big = 1;
            for (int r = 2; r <= n; ++r)
                if (std::fabs(q(r, k)) > std::fabs(q(big, k))) big = r;
            const double s = q(big, k) < 0 ? -1 : 1;
            for (int r = 1; r <= n; ++r) ASSERT_NEAR(p.evec(r, i), s * q(r, k), 1e-11) << n << " " << i << " " << r;
        }
        expect_sign_rule_and_unit_length(p, n);
    }
}

TEST_F(DprincTest, DominantElementComesBackPositiveWhateverTheReduction) {
    // First eigenvector (0.1, -0.98, 0.17) normalised, in both signs of the
    // basis: the matrix is the same, so is the answer.
    std::vector<double> v1 = {0.1, -0.98, 0.17};
    double len = 0;
    for (double x : v1) len += x * x;
    for (double& x : v1) x /= std::sqrt(len);
    for (int sign : {1, -1}) {
        Mat m(3);
        for (int i = 1; i <= 3; ++i)
            for (int j = i; j <= 3; ++j) m(i, j) = (i == j ? 1.0 : 0.0) + 2.0 * (sign * v1[i - 1]) * (sign * v1[j - 1]);
        Pc p = principal(m);
        EXPECT_NEAR(p.eval[0], 3.0, 1e-14);
        EXPECT_GT(p.evec(2, 1), 0.0);
        EXPECT_NEAR(p.evec(2, 1), -v1[1], 1e-14);
        EXPECT_NEAR(p.evec(1, 1), -v1[0], 1e-14);
        expect_sign_rule_and_unit_length(p, 3);
    }
}

TEST_F(DprincTest, RandomSymmetricMatricesUpToOrderOneHundred) {
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int n : {1, 2, 3, 4, 5, 8, 17, 33, 64, 99, 100}) {
        for (int rep = 0; rep < 3; ++rep) {
            Mat m(n);
            for (int i = 1; i <= n; ++i) {
                m(i, i) = 2 + u(gen);  // nonnegative diagonal; indefinite off it
                for (int j = i + 1; j <= n; ++j) m(i, j) = u(gen) * (rep == 2 ? 1e-150 : 1.0);
            }
            ERSET(0, 1, 0);  // indefinite matrices warn; that is not under test here
            Pc p = principal(m, 100, 0);
            expect_eigensystem(m, p);
            expect_sign_rule_and_unit_length(p, n);
            double trace = 0, sum = 0;
            for (int i = 1; i <= n; ++i) trace += m(i, i), sum += p.eval[i - 1];
            EXPECT_NEAR(sum, trace, 8 * n * kEps * m.norm1());
            EXPECT_NEAR(p.pct[n - 1], 1.0, 8 * n * kEps * m.norm1() / std::fabs(trace));
        }
    }
}

TEST_F(DprincTest, EigensystemDoesNotChangeItsInput) {
    std::mt19937 gen(9);
    std::vector<double> lambda = {0.5, 1, 2, 4, 8};
    Mat m = with_spectrum(lambda, gen, nullptr);
    const Mat before = m;
    std::vector<double> eval(5), wk(5);
    Mat evec(5);
    DE2CSF(5, m.a.data(), kLd, eval.data(), evec.a.data(), kLd, wk.data());
    EXPECT_EQ(m.a, before.a);
    // Increasing order, and the largest element of each vector exactly +1.
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR(eval[i - 1], lambda[i - 1], 1e-13);
        double big = 0;
        for (int r = 1; r <= 5; ++r)
            if (std::fabs(evec(r, i)) > std::fabs(big)) big = evec(r, i);
        EXPECT_EQ(big, 1.0);
    }
}

// --- the start values' chain: correlations of responses, then components -----

struct Responses {
    std::vector<double> x = std::vector<double>(2000 * 100);
    double& operator()(int r, int i) { return x[(r - 1) + static_cast<size_t>(i - 1) * 2000]; }
};

Mat correlations(Responses& d, int nrow, int nvar) {
    Mat cor(nvar);
    std::vector<double> mean(nvar);
    std::vector<int> npair(kLd * kLd);
    int nobs, nmiss;
    double sumwt;
    DCORVC(0, nrow, nvar, d.x.data(), 2000, 0, 0, 1, 2, mean.data(), cor.a.data(), kLd, npair.data(), kLd, nobs, nmiss,
           sumwt);
    return cor;
}

TEST_F(DprincTest, ComponentsOfAFullResponseCorrelationMatrix) {
    Responses d;
    std::mt19937 gen(23);
    std::normal_distribution<double> z(0, 1);
    for (int r = 1; r <= 2000; ++r) {
        const double t = z(gen);
        for (int i = 1; i <= 100; ++i) {
            const double y = std::fabs(t - (i - 50) * 0.04) + 0.7 * z(gen);  // single-peaked in the trait
            d(r, i) = std::min(4.0, std::floor(y * 1.5));
        }
    }
    Mat cor = correlations(d, 2000, 100);
    Pc p = principal(cor, 2000);
    EXPECT_EQ(console.str(), "");
    expect_eigensystem(cor, p);
    expect_sign_rule_and_unit_length(p, 100);
    EXPECT_NEAR(p.pct[99], 1.0, 1e-12);
    double sum = 0;
    for (double e : p.eval) sum += e;
    EXPECT_NEAR(sum, 100.0, 1e-11);  // the trace of a correlation matrix
}

TEST_F(DprincTest, ConstantItemWarnsInCorrelationsAndEndsTheRunInComponents) {
    Responses d;
    std::mt19937 gen(4);
    std::uniform_int_distribution<int> cat(0, 3);
    for (int r = 1; r <= 300; ++r)
        for (int i = 1; i <= 5; ++i) d(r, i) = i == 3 ? 1.0 : cat(gen);
    Mat cor = correlations(d, 300, 5);
    EXPECT_NE(flat(console.str()).find("WARNING ERROR 14 from DCORVC."), std::string::npos) << console.str();
    console.str("");
    EXPECT_THROW(principal(cor, 300), EngineStop);
    EXPECT_NE(flat(console.str())
                  .find("FATAL ERROR 1 from DPRINC. The iteration for the eigenvalues did not "
                        "converge."),
              std::string::npos)
        << console.str();
}

}  // namespace
}  // namespace vorm
