#include "numlib/Dcorvc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Numlib_test_fixture.h"
#include "common/stop.h"
#include "numlib/Numlib_error.h"
#include "numlib/Workspace.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::count_of;
using test::flat;

// Two-pass sums of n <= 2000 values of a few units each: the one-pass update
// agrees to a few hundred ulps.
constexpr double kTol = 1e-12;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Column-major data with the engine's leading dimensions.
struct Data {
    int nrow, nvar, ldx;
    std::vector<double> x;
    Data(int r, int v, int ld = 0) : nrow(r), nvar(v), ldx(ld ? ld : r), x(static_cast<size_t>(ldx) * (v + 2)) {}
    double& operator()(int i, int j) { return x[(i - 1) + static_cast<size_t>(j - 1) * ldx]; }
};

struct Result {
    int ld;
    std::vector<double> mean, cov;
    std::vector<int> incd;
    int nobs = -7, nmiss = -7;
    double sumwt = -7;
    explicit Result(int nvar, int l = 100)
        : ld(l), mean(nvar, -7), cov(static_cast<size_t>(l) * nvar, -7), incd(static_cast<size_t>(l) * nvar, -7) {}
    double c(int i, int j) const { return cov[(i - 1) + static_cast<size_t>(j - 1) * ld]; }
    int n(int i, int j) const { return incd[(i - 1) + static_cast<size_t>(j - 1) * ld]; }
};

void run(int ido, Data& d, Result& r, int mopt, int icopt, int ifrq = 0, int iwt = 0, int nrow = -1, int start = 1) {
    DCORVC(ido, nrow == -1 ? d.nrow : nrow, d.nvar, &d(start, 1), d.ldx, ifrq, iwt, mopt, icopt, r.mean.data(),
           r.cov.data(), r.ld, r.incd.data(), r.ld, r.nobs, r.nmiss, r.sumwt);
}

// Direct two-pass statistics over the rows where the variables are valid:
// means over each variable's own rows, cross-products over the pair's rows
// about those means.
struct Direct {
    std::vector<double> mean, s;
    std::vector<int> n;
    int v;
    Direct(Data& d, bool pair_means = false) : mean(d.nvar), s(d.nvar * d.nvar), n(d.nvar * d.nvar), v(d.nvar) {
        for (int i = 1; i <= v; ++i) {
            long double sum = 0;
            int k = 0;
            for (int r = 1; r <= d.nrow; ++r)
                if (!std::isnan(d(r, i))) sum += d(r, i), ++k;
            mean[i - 1] = static_cast<double>(sum / k);
        }
        for (int i = 1; i <= v; ++i)
            for (int j = 1; j <= v; ++j) {
                long double mi = 0, mj = 0;
                int k = 0;
                for (int r = 1; r <= d.nrow; ++r)
                    if (!std::isnan(d(r, i)) && !std::isnan(d(r, j))) mi += d(r, i), mj += d(r, j), ++k;
                mi /= k;
                mj /= k;
                if (!pair_means) mi = mean[i - 1], mj = mean[j - 1];
                long double sum = 0;
                for (int r = 1; r <= d.nrow; ++r)
                    if (!std::isnan(d(r, i)) && !std::isnan(d(r, j))) sum += (d(r, i) - mi) * (d(r, j) - mj);
                s[(i - 1) + (j - 1) * v] = static_cast<double>(sum);
                n[(i - 1) + (j - 1) * v] = k;
            }
    }
    double S(int i, int j) const { return s[(i - 1) + (j - 1) * v]; }
    int N(int i, int j) const { return n[(i - 1) + (j - 1) * v]; }
    double corr(int i, int j) const {
        if (i == j) return 1.0;
        return S(i, j) * std::sqrt((N(i, i) - 1.0) * (N(j, j) - 1.0)) /
               ((N(i, j) - 1.0) * std::sqrt(S(i, i)) * std::sqrt(S(j, j)));
    }
};

class DcorvcTest : public ::testing::Test {
protected:
    std::ostringstream console;
    void SetUp() override {
        numlib_reset();
        numlib_set_console(&console);
    }
    void TearDown() override {
        EXPECT_EQ(numlib_workspace_doubles_in_use(), 0) << "workspace left taken";
        numlib_set_console(nullptr);
        numlib_reset();
    }
};

// --- bad input -------------------------------------------------------------

TEST_F(DcorvcTest, RejectsNoVariablesWithTerminalErrorThatEndsTheProgram) {
    Data d(3, 1);
    Result r(1);
    d.nvar = 0;
    EXPECT_THROW(run(0, d, r, 1, 2), EngineStop);
    EXPECT_NE(flat(console.str())
                  .find("TERMINAL ERROR 1 from DCORVC. NVAR = 0. The number of variables must "
                        "be positive."),
              std::string::npos)
        << console.str();
}

TEST_F(DcorvcTest, WorkspaceTooLargeIsTerminalErrorNamingNvar) {
    const int nvar = 1000;  // needs about a million doubles
    Data d(2, nvar, 2);
    Result r(nvar, nvar);
    EXPECT_THROW(run(0, d, r, 1, 2), EngineStop);
    EXPECT_NE(flat(console.str())
                  .find("TERMINAL ERROR 2 from DCORVC. The required storage cannot be allocated. "
                        "The workspace allocation is based on NVAR = 1000."),
              std::string::npos)
        << console.str();
}

TEST_F(DcorvcTest, NegativeFrequencyIsFatalAndEndsTheProgram) {
    Data d(3, 1);
    d(1, 1) = 1, d(2, 1) = 2, d(3, 1) = 3;
    d(1, 2) = 1, d(2, 2) = -2, d(3, 2) = 1;
    Result r(1);
    EXPECT_THROW(run(0, d, r, 1, 1, 2), EngineStop);
    const std::string text = flat(console.str());
    EXPECT_NE(text.find("FATAL ERROR 2 from DCORVC. The frequency for row 2 of X is -2.000000000000000D+00. "
                        "Frequencies must be nonnegative."),
              std::string::npos)
        << console.str();
}

TEST_F(DcorvcTest, LeadingDimensionBelowNvarIsRejectedBeforeAnythingIsWritten) {
    Data d(3, 4);
    Result r(4, 3);
    EXPECT_THROW(run(0, d, r, 1, 2), EngineStop);
    EXPECT_NE(console.str().find("TERMINAL"), std::string::npos);
    EXPECT_EQ(r.cov[0], -7);
}

TEST_F(DcorvcTest, ContinuationWithoutFirstCallIsRejected) {
    Data d(3, 2);
    Result r(2);
    EXPECT_THROW(run(2, d, r, 1, 2), EngineStop);
    EXPECT_NE(flat(console.str()).find("IDO = 2. A call with IDO = 2 or 3 must follow a call with IDO = 1"),
              std::string::npos)
        << console.str();
}

// --- the engine's call: IDO 0, MOPT 1, ICOPT 2 --------------------------------

TEST_F(DcorvcTest, EngineCallMatchesTwoPassPearsonOnResponsesWithMissingCodes) {
    const int nrow = 2000, nvar = 100;
    Data d(nrow, nvar, 2000);
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> cat(-1, 5);
    std::normal_distribution<double> trait(0, 1);
    for (int r = 1; r <= nrow; ++r) {
        const double t = trait(gen);
        for (int i = 1; i <= nvar; ++i) {
            const int c = cat(gen);
            // Correlated through the trait; -1 stands for a missing response.
            d(r, i) = c < 0 ? -1.0 : std::floor(std::clamp(2.5 + t * (i % 2 ? 1 : -1) + 0.3 * c - 0.9, 0.0, 5.0));
        }
    }
    Result r(nvar);
    run(0, d, r, 1, 2);
    Direct x(d);
    EXPECT_EQ(r.nobs, nrow);
    EXPECT_EQ(r.nmiss, 0);
    EXPECT_EQ(r.sumwt, nrow);
    EXPECT_EQ(console.str(), "");
    for (int i = 1; i <= nvar; ++i) {
        EXPECT_NEAR_REL(r.mean[i - 1], x.mean[i - 1], kTol);
        for (int j = 1; j <= nvar; ++j) {
            ASSERT_EQ(r.n(i, j), nrow);
            ASSERT_TRUE(::vorm::test::near_rel(r.c(i, j), x.corr(i, j), kTol, 1e-14)) << i << "," << j;
            ASSERT_EQ(r.c(i, j), r.c(j, i));
        }
        EXPECT_EQ(r.c(i, i), 1.0);
    }
}

TEST_F(DcorvcTest, ShiftedDataKeepsFullAccuracy) {
    // Standard deviation exactly 1 on a base of ten million.
    Data d(3, 3);
    const double a[3] = {10000001, 10000003, 10000002};
    for (int k = 0; k < 3; ++k) d(k + 1, 1) = a[k], d(k + 1, 2) = a[k] - 10000000, d(k + 1, 3) = -a[k];
    Result r(3);
    run(0, d, r, 1, 0);
    EXPECT_EQ(r.mean[0], 10000002.0);
    EXPECT_NEAR_REL(r.c(1, 1), 1.0, 1e-15);
    EXPECT_NEAR_REL(r.c(1, 2), 1.0, 1e-15);
    EXPECT_NEAR_REL(r.c(1, 3), -1.0, 1e-15);
    run(0, d, r, 1, 2);
    EXPECT_NEAR_REL(r.c(1, 2), 1.0, 1e-15);
    EXPECT_LE(r.c(1, 2), 1.0);
    EXPECT_EQ(r.c(1, 3), -1.0);  // an exact mirror image
}

TEST_F(DcorvcTest, IdenticalColumnsCorrelateExactlyOneNeverAbove) {
    Data d(500, 2);
    std::mt19937 gen(3);
    std::uniform_int_distribution<int> cat(0, 9);
    for (int r = 1; r <= 500; ++r) d(r, 1) = d(r, 2) = cat(gen) * 0.1;
    Result r(2);
    run(0, d, r, 1, 2);
    EXPECT_EQ(r.c(1, 2), 1.0);
    EXPECT_EQ(r.c(2, 1), 1.0);
}

TEST_F(DcorvcTest, ConstantAndMissingCodeColumnsGiveNaNRowsAndOneWarningEach) {
    Data d(50, 4);
    std::mt19937 gen(5);
    std::uniform_int_distribution<int> cat(0, 3);
    for (int r = 1; r <= 50; ++r) {
        d(r, 1) = cat(gen);
        d(r, 2) = 2;  // everyone in the same category
        d(r, 3) = cat(gen);
        d(r, 4) = -1;  // everyone missing
    }
    Result r(4);
    run(0, d, r, 1, 2);
    for (int k : {2, 4}) {
        EXPECT_EQ(r.c(k, k), 1.0);
        for (int j = 1; j <= 4; ++j)
            if (j != k) {
                EXPECT_TRUE(std::isnan(r.c(k, j)) && std::isnan(r.c(j, k))) << k << "," << j;
            }
    }
    EXPECT_FALSE(std::isnan(r.c(1, 3)));
    EXPECT_EQ(r.mean[3], -1.0);
    EXPECT_EQ(r.nmiss, 0);
    // One message text: the last constant variable's warning is the one shown.
    const std::string text = flat(console.str());
    EXPECT_EQ(count_of(text, "WARNING ERROR"), 1) << console.str();
    EXPECT_NE(text.find("WARNING ERROR 14 from DCORVC. Correlations are requested but the observations on "
                        "variable 4 are constant. The pertinent correlation coefficients are set to NaN (not a "
                        "number)."),
              std::string::npos)
        << console.str();
    EXPECT_EQ(text.find("ERROR 16"), std::string::npos);
}

// --- missing values (NaN) and the other options --------------------------------

Data with_nans(int nrow, int nvar, unsigned seed) {
    Data d(nrow, nvar);
    std::mt19937 gen(seed);
    std::normal_distribution<double> z(0, 1);
    std::uniform_real_distribution<double> u(0, 1);
    for (int r = 1; r <= nrow; ++r) {
        const double t = z(gen);
        for (int i = 1; i <= nvar; ++i) d(r, i) = u(gen) < 0.15 ? kNaN : 3 + i * 0.5 * t + z(gen);
    }
    return d;
}

int rows_with_nan(Data& d) {
    int n = 0;
    for (int r = 1; r <= d.nrow; ++r) {
        bool any = false;
        for (int i = 1; i <= d.nvar; ++i) any = any || std::isnan(d(r, i));
        n += any;
    }
    return n;
}

TEST_F(DcorvcTest, PairwiseDeletionMatchesTwoPassOverEachPair) {
    Data d = with_nans(300, 6, 21);
    Result r(6);
    run(0, d, r, 1, 2);
    Direct x(d);
    EXPECT_EQ(r.nmiss, rows_with_nan(d));
    EXPECT_EQ(r.nobs, 300);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_NEAR_REL(r.mean[i - 1], x.mean[i - 1], kTol);
        for (int j = 1; j <= 6; ++j) {
            EXPECT_EQ(r.n(i, j), x.N(i, j));
            EXPECT_NEAR_REL(r.c(i, j), x.corr(i, j), kTol);
        }
    }
    // Covariances, and standard deviations on the diagonal.
    run(0, d, r, 1, 0);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) EXPECT_NEAR_REL(r.c(i, j), x.S(i, j) / (x.N(i, j) - 1), kTol);
    run(0, d, r, 1, 3);
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR_REL(r.c(i, i), std::sqrt(x.S(i, i) / (x.N(i, i) - 1)), kTol);
    EXPECT_NEAR_REL(r.c(2, 5), x.corr(2, 5), kTol);
}

TEST_F(DcorvcTest, PairMeansOptionUsesEachPairsOwnMeans) {
    Data d = with_nans(200, 4, 8);
    Result r(4);
    run(0, d, r, 2, 1);
    Direct x(d, true);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) EXPECT_NEAR_REL(r.c(i, j), x.S(i, j), kTol);
    run(0, d, r, 3, 2);
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j < i; ++j) {
            // Each variance taken within the pair.
            long double si = 0, sj = 0, mi = 0, mj = 0;
            int k = 0;
            for (int q = 1; q <= d.nrow; ++q)
                if (!std::isnan(d(q, i)) && !std::isnan(d(q, j))) mi += d(q, i), mj += d(q, j), ++k;
            mi /= k, mj /= k;
            for (int q = 1; q <= d.nrow; ++q)
                if (!std::isnan(d(q, i)) && !std::isnan(d(q, j)))
                    si += (d(q, i) - mi) * (d(q, i) - mi), sj += (d(q, j) - mj) * (d(q, j) - mj);
            EXPECT_NEAR_REL(r.c(i, j), x.S(i, j) / std::sqrt(static_cast<double>(si * sj)), kTol);
        }
}

TEST_F(DcorvcTest, ListwiseDeletionUsesCompleteRowsOnly) {
    Data d = with_nans(300, 4, 2);
    Data c(300, 4);
    int n = 0;
    for (int q = 1; q <= d.nrow; ++q) {
        bool ok = true;
        for (int i = 1; i <= 4; ++i) ok = ok && !std::isnan(d(q, i));
        if (!ok) continue;
        ++n;
        for (int i = 1; i <= 4; ++i) c(n, i) = d(q, i);
    }
    c.nrow = n;
    Direct x(c);
    Result r(4);
    run(0, d, r, 0, 0);
    EXPECT_EQ(r.nobs, n);
    EXPECT_EQ(r.nmiss, 300 - n);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR_REL(r.mean[i - 1], x.mean[i - 1], kTol);
        for (int j = 1; j <= 4; ++j) EXPECT_NEAR_REL(r.c(i, j), x.S(i, j) / (n - 1), kTol);
    }
    run(0, d, r, 0, 2);
    EXPECT_NEAR_REL(r.c(1, 4), x.S(1, 4) / std::sqrt(x.S(1, 1) * x.S(4, 4)), kTol);
}

TEST_F(DcorvcTest, FrequencyEqualsRepeatedRowsAndWeightsGiveWeightedMoments) {
    Data d(4, 2), rep(7, 2);
    const double v[4][2] = {{1, 2}, {3, 1}, {4, 7}, {0, 1}};
    const int freq[4] = {1, 3, 0, 3};
    int n = 0;
    for (int q = 0; q < 4; ++q) {
        d(q + 1, 1) = v[q][0], d(q + 1, 2) = v[q][1], d(q + 1, 3) = freq[q];
        for (int k = 0; k < freq[q]; ++k) ++n, rep(n, 1) = v[q][0], rep(n, 2) = v[q][1];
    }
    Result r(2), e(2);
    run(0, d, r, 1, 0, 3);
    run(0, rep, e, 1, 0);
    EXPECT_EQ(r.nobs, 7);
    EXPECT_EQ(r.n(1, 2), 7);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_NEAR_REL(r.mean[i - 1], e.mean[i - 1], kTol);
        for (int j = 1; j <= 2; ++j) EXPECT_NEAR_REL(r.c(i, j), e.c(i, j), kTol);
    }
    // Weights 0.5, 2, 1, 1.5 in the first column, complete rows.
    Data w(4, 2);
    const double wt[4] = {0.5, 2, 1, 1.5};
    double sw = 0, m1 = 0, m2 = 0;
    for (int q = 0; q < 4; ++q) {
        w(q + 1, 1) = wt[q], w(q + 1, 2) = v[q][0], w(q + 1, 3) = v[q][1];
        sw += wt[q], m1 += wt[q] * v[q][0], m2 += wt[q] * v[q][1];
    }
    m1 /= sw, m2 /= sw;
    double s12 = 0;
    for (int q = 0; q < 4; ++q) s12 += wt[q] * (v[q][0] - m1) * (v[q][1] - m2);
    for (int mopt : {0, 1}) {
        run(0, w, r, mopt, 1, 0, 1);
        EXPECT_EQ(r.sumwt, sw);
        EXPECT_NEAR_REL(r.mean[0], m1, kTol);
        EXPECT_NEAR_REL(r.mean[1], m2, kTol);
        EXPECT_NEAR_REL(r.c(1, 2), s12, kTol);
    }
}

TEST_F(DcorvcTest, ZeroWeightSumGivesNaNAndWarning) {
    Data d(3, 1);
    for (int q = 1; q <= 3; ++q) d(q, 1) = q, d(q, 2) = 0;
    Result r(1);
    run(0, d, r, 1, 2, 0, 2);
    EXPECT_TRUE(std::isnan(r.mean[0]));
    EXPECT_TRUE(std::isnan(r.c(1, 1)));
    EXPECT_NE(flat(console.str())
                  .find("WARNING ERROR 13 from DCORVC. The sum of the weights is zero. The means "
                        "and correlations are set to NaN (not a number)."),
              std::string::npos)
        << console.str();
}

TEST_F(DcorvcTest, SeveralCallsAndRemovedRowsAgreeWithOneCall) {
    Data d = with_nans(240, 5, 17);
    Result one(5), many(5), removed(5);
    run(0, d, one, 1, 2, 0, 0, 160);
    // 1..100, 101..200, 201..240 and then take 161..240 out again.
    run(1, d, many, 1, 2, 0, 0, 100, 1);
    run(2, d, many, 1, 2, 0, 0, 100, 101);
    run(2, d, many, 1, 2, 0, 0, 40, 201);
    run(3, d, many, 1, 2, 0, 0, -80, 161);
    EXPECT_EQ(many.nobs, 160);
    EXPECT_EQ(many.nmiss, one.nmiss);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR_REL(many.mean[i - 1], one.mean[i - 1], 1e-11);
        for (int j = 1; j <= 5; ++j) {
            EXPECT_EQ(many.n(i, j), one.n(i, j));
            EXPECT_NEAR_REL(many.c(i, j), one.c(i, j), 1e-11);
        }
    }
    // Taking out more than went in.
    run(1, d, removed, 1, 2, 0, 0, 10, 1);
    EXPECT_THROW(run(3, d, removed, 1, 2, 0, 0, -20, 1), EngineStop);
    EXPECT_NE(flat(console.str())
                  .find("FATAL ERROR 10 from DCORVC. More observations have been deleted than were "
                        "originally entered."),
              std::string::npos)
        << console.str();
}

}  // namespace
}  // namespace vorm
