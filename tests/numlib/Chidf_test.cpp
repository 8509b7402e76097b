#include "numlib/Chidf.h"

#include <algorithm>
#include <boost/math/special_functions/gamma.hpp>
#include <clocale>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "numlib/Chebyshev_series.h"
#include "numlib/Numlib_error.h"
#include "test_support.h"

namespace vorm {
namespace {

constexpr float FEPS = 1.1920929e-07f;  // 2^-23
// Series and asymptotic branches: the truncation stops at 10*eps of the sum,
// and the exponent a*ln(h) - h (up to about 100) carries single-precision
// rounding into the result: relative error a few times 1e-5 at most.
constexpr double SERIES_REL = 3e-5;
// Rounding of a result near 1 in single precision.
constexpr double ROUND_ABS = 2.0 * FEPS;
// The normal approximation of the cube root of chi-squared over DF (above 65
// degrees of freedom) is good to about 1e-4 in absolute terms.
constexpr double NORMAL_ABS = 3e-4;
// The shortcuts to 0 and 1 are taken where the true value is within single
// precision of them.
constexpr double SHORTCUT_ABS = 1e-6;
// exp(-x*x) in single precision: the rounding of x*x grows with it.
constexpr double ERFC_REL = 4e-7;

class Chidf : public ::testing::Test {
protected:
    void SetUp() override {
        std::setlocale(LC_ALL, "C");
        numlib_reset();
        numlib_set_console(&console_);
    }
    void TearDown() override {
        numlib_set_console(nullptr);
        numlib_reset();
    }
    // The console without continuation marks, blanks or line ends, so that
    // texts can be found whatever the line breaking of the messages.
    bool printed(std::string text) const { return squeeze(console_.str()).find(squeeze(text)) != std::string::npos; }
    static std::string squeeze(std::string s) {
        for (size_t at; (at = s.find("\n ***")) != std::string::npos;) s.erase(at, 5);
        s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\n'; }), s.end());
        return s;
    }
    std::ostringstream console_;
};

double reference_cdf(double x, double df) { return boost::math::gamma_p(df / 2.0, x / 2.0); }

enum class Branch { Zero, One, Normal, Series, Asymptotic };

// Which way the distribution function goes for (x, df), from the published
// thresholds; the bounds differ by branch.
Branch branch_of(float x, float df) {
    if (x <= 1.0E-12f) return Branch::Zero;
    if (df > 65.0f) {
        if (x < 2.0f) return Branch::Zero;
        const float t = 0.22222222f / df;
        const float z = (std::pow(x / df, 0.33333334f) - (1.0f - t)) / std::sqrt(t);
        if (z > 5.0f) return Branch::One;
        return Branch::Normal;
    }
    if (x > 200.0f) return Branch::One;
    const float h = x / 2.0f;
    if (h < std::max(df / 4.0f, 13.0f)) return (df > 25.0f && x < 2.0f) ? Branch::Zero : Branch::Series;
    return Branch::Asymptotic;
}

TEST_F(Chidf, RejectsDegreesOfFreedomBelowOneHalfWithNaN) {
    ERSET(0, 1, 0);
    EXPECT_TRUE(std::isnan(CHIDF(5.0f, 0.4f)));
    const std::string out = console_.str();
    EXPECT_NE(out.find(" *** TERMINAL ERROR 2 from CHIDF.  The number of degrees of freedom"), std::string::npos)
        << out;
    EXPECT_NE(out.find("4.000000E-01"), std::string::npos) << out;
}

TEST_F(Chidf, NegativeStatisticGivesZeroWithANoteOnlyWhenNotesArePrinted) {
    EXPECT_EQ(CHIDF(-1.0f, 2.0f), 0.0f);
    EXPECT_EQ(console_.str(), "");  // NOTE is silent under the default tables
    ERSET(0, 1, 0);
    EXPECT_EQ(CHIDF(-1.0f, 2.0f), 0.0f);
    const std::string out = console_.str();
    EXPECT_NE(out.find("\n *** NOTE     ERROR 1 from CHIDF.  Since CHSQ = -1.000000E+00 is less than"),
              std::string::npos)
        << out;
    EXPECT_TRUE(printed("Since CHSQ = -1.000000E+00 is less than zero, the distribution function is zero at CHSQ."));
    EXPECT_EQ(LAST_ERROR_CODE(), 1);
}

TEST_F(Chidf, ShortcutsAtTheEndsOfTheRange) {
    ERSET(0, 1, 0);
    EXPECT_EQ(CHIDF(0.0f, 3.0f), 0.0f);
    EXPECT_EQ(CHIDF(1.0E-12f, 3.0f), 0.0f);
    EXPECT_EQ(CHIDF(250.0f, 10.0f), 1.0f);
    EXPECT_EQ(CHIDF(1.5f, 100.0f), 0.0f);
    EXPECT_EQ(CHIDF(300.0f, 100.0f), 1.0f);
    EXPECT_EQ(CHIDF(1.9f, 30.0f), 0.0f);
    EXPECT_NEAR(CHIDF(3.84f, 1.0f), 0.95, 1e-3);
    EXPECT_NEAR(CHIDF(5.99f, 2.0f), 0.95, 1e-3);
    EXPECT_NEAR(CHIDF(40.0f, 10.0f), 1.0, 1e-4);
    EXPECT_EQ(console_.str(), "");
}

TEST_F(Chidf, NormalApproximationUnderflowGivesZeroWithAnAlert) {
    ERSET(0, 1, 0);
    // z below -18.8055 needs x/df tiny with df large.
    EXPECT_EQ(CHIDF(2.5f, 5000.0f), 0.0f);
    EXPECT_NE(console_.str().find(" *** ALERT    ERROR 3 from CHIDF.  The normal distribution is used"),
              std::string::npos)
        << console_.str();
    EXPECT_EQ(LAST_ERROR_CODE(), 3);
}

TEST_F(Chidf, MatchesTheReferenceBranchByBranchOverDegreesOfFreedomOneTo200) {
    ERSET(0, 1, 0);
    std::vector<float> xs = {0.0f, 1.0E-12f, 1.5f, 1.99f, 2.0f, 200.0f, 200.5f, 1000.0f};
    for (int i = 0; i <= 400; ++i) xs.push_back(static_cast<float>(std::pow(10.0, -10.0 + 13.5 * i / 400.0)));
    int seen[5] = {0, 0, 0, 0, 0};
    for (int d = 1; d <= 400; ++d) {
        // All integers 1..200, then the halves up to 100.
        const float df = d <= 200 ? static_cast<float>(d) : 1.5f + static_cast<float>(d - 201);
        if (df > 100.0f) break;
        for (float x : xs) {
            const float r = CHIDF(x, df);
            const double p = reference_cdf(x, df);
            const Branch b = branch_of(x, df);
            seen[static_cast<int>(b)]++;
            switch (b) {
                case Branch::Zero:
                    EXPECT_EQ(r, 0.0f) << x << " " << df;
                    EXPECT_LE(p, SHORTCUT_ABS) << x << " " << df;
                    break;
                case Branch::One:
                    EXPECT_EQ(r, 1.0f) << x << " " << df;
                    EXPECT_LE(1.0 - p, SHORTCUT_ABS) << x << " " << df;
                    break;
                case Branch::Normal:
                    EXPECT_NEAR(r, p, NORMAL_ABS) << x << " " << df;
                    break;
                case Branch::Series:
                    EXPECT_NEAR(r, p, SERIES_REL * p + 1e-37) << x << " " << df;
                    break;
                case Branch::Asymptotic:
                    EXPECT_NEAR(r, p, SERIES_REL * (1.0 - p) + ROUND_ABS) << x << " " << df;
                    break;
            }
        }
    }
    for (int b = 0; b < 5; ++b) EXPECT_GT(seen[b], 100) << b;
}

TEST_F(Chidf, ContinuousWhereTheSeriesGivesWayToTheAsymptoticExpansion) {
    ERSET(0, 1, 0);
    // h = max(a/2, 13): x = 26 up to 52 degrees of freedom, x = df/2 above.
    const float cases[][2] = {{26.0f, 1.0f},  {26.0f, 10.0f}, {26.0f, 30.5f},
                              {26.0f, 52.0f}, {30.0f, 60.0f}, {32.5f, 65.0f}};
    for (const auto& c : cases) {
        const float x = c[0], df = c[1];
        const float below = std::nextafter(x, 0.0f);
        ASSERT_EQ(branch_of(below, df), Branch::Series);
        ASSERT_EQ(branch_of(x, df), Branch::Asymptotic);
        EXPECT_NEAR(CHIDF(below, df), CHIDF(x, df), 2.0 * SERIES_REL) << df;
    }
}

TEST_F(Chidf, NormalDistributionFunction) {
    ERSET(0, 1, 0);
    EXPECT_EQ(ANORDF(0.0f), 0.5f);
    EXPECT_EQ(ANORDF(-14.0f), 0.0f);
    EXPECT_EQ(console_.str(), "");  // the underflow of ERFC is withdrawn
    EXPECT_EQ(LAST_ERROR_CODE(), 0);
    for (float x = -12.0f; x <= 6.0f; x += 0.25f)
        EXPECT_NEAR_REL(ANORDF(x), 0.5 * std::erfc(-x / std::sqrt(2.0)), ERFC_REL * std::max(1.0, x * x / 2.0), 1e-37)
            << x;
}

TEST_F(Chidf, ComplementaryErrorFunctionAcrossItsRanges) {
    ERSET(0, 1, 0);
    EXPECT_EQ(ERFC(-5.0f), 2.0f);
    for (float x = -4.0f; x <= 9.18f; x += 0.01f) {
        const double s = static_cast<double>(x) * x;
        EXPECT_NEAR_REL(ERFC(x), std::erfc(static_cast<double>(x)), ERFC_REL * std::max(1.0, s), 1e-37) << x;
    }
    // Continuity where the series change: |x| = 1 and x*x = 4.
    for (float edge : {1.0f, 2.0f, -1.0f}) {
        const float below = std::nextafter(edge, -10.0f), above = std::nextafter(edge, 10.0f);
        const double tol = 2.0 * ERFC_REL * std::max(1.0, static_cast<double>(edge) * edge);
        EXPECT_NEAR_REL(ERFC(below), ERFC(edge), tol) << edge;
        EXPECT_NEAR_REL(ERFC(above), ERFC(edge), tol) << edge;
    }
    EXPECT_EQ(console_.str(), "");
    EXPECT_EQ(ERFC(10.0f), 0.0f);
    EXPECT_NE(console_.str().find(" *** ALERT    ERROR 1 from ERFC.  The function underflows because X ="),
              std::string::npos)
        << console_.str();
    EXPECT_EQ(LAST_ERROR_CODE(), 1);
}

TEST_F(Chidf, GammaFunctionOverTheArgumentsOfTheDistribution) {
    ERSET(0, 1, 0);
    EXPECT_NEAR_REL(GAMMA(0.5f), 1.7724539, 2e-7);
    EXPECT_TRUE(std::isfinite(GAMMA(32.5f)));
    EXPECT_EQ(GAMMA(1.0f), 1.0f);
    for (float x = 0.25f; x <= 35.0f; x += 0.25f) {
        // Above 10 the exponent (x - 1/2) ln x - x carries its rounding.
        const double tol = x <= 10.0f ? 1e-6 : 2e-7 * x * std::log(x);
        EXPECT_NEAR_REL(GAMMA(x), std::tgamma(static_cast<double>(x)), tol) << x;
    }
    const float below = std::nextafter(10.0f, 0.0f), above = std::nextafter(10.0f, 20.0f);
    EXPECT_NEAR_REL(GAMMA(below), std::tgamma(static_cast<double>(below)), 1e-6);
    EXPECT_NEAR_REL(GAMMA(above), std::tgamma(static_cast<double>(above)), 2e-7 * 10.0 * std::log(10.0));
    EXPECT_EQ(console_.str(), "");
    EXPECT_TRUE(std::isnan(GAMMA(0.0f)));
    EXPECT_NE(console_.str().find(" *** TERMINAL ERROR 5 from GAMMA.  The argument for the function"),
              std::string::npos)
        << console_.str();
    EXPECT_TRUE(printed("The argument for the function can not be zero."));
}

TEST_F(Chidf, LimitsOfTheGammaFunction) {
    float xmin = 0.0f, xmax = 0.0f;
    R9GAML(xmin, xmax);
    EXPECT_NEAR(xmin, -33.96, 0.02);
    EXPECT_NEAR(xmax, 35.03, 0.02);
    EXPECT_TRUE(std::isfinite(std::tgamma(static_cast<double>(xmax))));
    EXPECT_GT(std::tgamma(static_cast<double>(xmax) + 0.1), 3.4028235e38);
}

TEST_F(Chidf, ChebyshevTablesStartWithThePublishedCoefficientsAndNeedFewTerms) {
    EXPECT_EQ(ERFCS[0], -0.0490461215f);
    EXPECT_EQ(ERFCS[4], 2.74199319E-05f);
    EXPECT_EQ(ERFCCS[0], 0.0715179294f);
    EXPECT_EQ(ERFCCS[4], 1.98712933E-05f);
    EXPECT_EQ(GCS[0], 0.00857119542f);
    EXPECT_EQ(GCS[4], 0.00132680812f);
    const float eta = 0.1f * 5.9604645E-08f;
    struct Table {
        const float* cs;
        int count;
    } tables[] = {{ERFCS, 13}, {ERFCCS, 24}, {ERC2CS, 23}, {GCS, 23}};
    for (const Table& t : tables) {
        const int n = INITS(t.cs, t.count, eta);
        EXPECT_GT(n, 3);
        EXPECT_LT(n, t.count);
    }
}

TEST_F(Chidf, ChebyshevToolsCheckTheirArguments) {
    ERSET(0, 1, 0);
    const float cs[3] = {2.0f, 0.5f, 0.25f};
    // 1 + 0.5 x + 0.25 (2x^2 - 1) at x = 0.5
    EXPECT_FLOAT_EQ(CSEVL(0.5f, cs, 3), 1.0f + 0.25f - 0.125f);
    EXPECT_TRUE(std::isnan(CSEVL(0.5f, cs, 0)));
    EXPECT_TRUE(printed("The number of terms in the series is not positive. N = 0."));
    EXPECT_FLOAT_EQ(CSEVL(1.5f, cs, 2), 1.0f + 0.75f);
    EXPECT_NE(console_.str().find(" *** WARNING  ERROR 7 from CSEVL.  The argument X = 1.500000E+00 is outside"),
              std::string::npos)
        << console_.str();
    EXPECT_EQ(INITS(cs, 3, 1e-9f), 0);
    EXPECT_TRUE(printed("Too much accuracy may be requested. ETA should be increased."));
    EXPECT_EQ(INITS(cs, 3, 0.3f), 2);
}

TEST_F(Chidf, LogGammaCorrection) {
    ERSET(0, 1, 0);
    for (float x : {10.0f, 12.5f, 40.0f, 1000.0f, 5000.0f}) {
        const double xd = x;
        const double exact = std::lgamma(xd) - ((xd - 0.5) * std::log(xd) - xd + 0.5 * std::log(2.0 * M_PI));
        EXPECT_NEAR_REL(R9LGMC(x), exact, 5e-6) << x;
    }
    EXPECT_EQ(console_.str(), "");
    EXPECT_TRUE(std::isnan(R9LGMC(9.0f)));
    EXPECT_TRUE(printed("The argument X = 9.000000E+00 must be greater than or equal to 10.0."));
}

}  // namespace
}  // namespace vorm
