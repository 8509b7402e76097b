// The incomplete gamma function against Boost.Math's regularized gamma_p, and
// its messages.
#include "statistics/Gammp.h"

#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <sstream>
#include <string>

#include "test_support.h"

namespace vorm {
namespace {

// Far in the lower tail of a large a, P underflows; Boost then reports an
// overflow of its internal gamma function unless told to return the limit.
using Quiet = boost::math::policies::policy<boost::math::policies::overflow_error<boost::math::policies::ignore_error>>;
double reference_p(float a, float x) {
    return boost::math::gamma_p(static_cast<double>(a), static_cast<double>(x), Quiet());
}

// The error GAMMP may make, from how it computes: ln Gamma(a) is rounded to
// single precision, so the exponential prefactor is off by up to half a float
// ulp of ln Gamma(a) (0.004 at a = 9000) relatively; the sum or product is
// rounded at each of at most 500 steps (500 * 2^-24 relatively), and the
// series stops at 3e-7 of its sum.  The branch's own result (P for the series
// below x = a + 1, Q = 1 - P for the fraction) carries that relative error;
// the final 1 - Q and the single-precision result add 2^-24 absolutely.
double error_bound(float a, float x, double P) {
    const float lg = static_cast<float>(std::lgamma(static_cast<double>(a)));
    const double half_ulp = 0.5 * (std::nextafter(std::fabs(lg), INFINITY) - std::fabs(lg));
    const double relative = half_ulp + 500 * 0x1p-24 + 1e-6;
    const bool series = static_cast<double>(x) < static_cast<double>(a) + 1.0;
    return relative * (series ? P : 1.0 - P) + 0x1p-24;
}

TEST(Gammp, MatchesAnIndependentEvaluationAcrossItsRange) {
    // a from half a degree of freedom to the global line at full capacity
    // (100 items, 9 DF per group, 20 groups: a = 9000), x on both sides of
    // the branch point a + 1 and far into both tails.
    const float as[] = {0.5f, 1.0f, 2.5f, 7.0f, 40.0f, 199.5f, 1000.0f, 4500.0f, 9000.0f};
    const double xs_over_a[] = {0.0, 1e-3, 0.2, 0.7, 0.95, 1.0, 1.05, 1.3, 2.0, 5.0};
    for (float a : as) {
        for (double r : xs_over_a) {
            for (float x :
                 {static_cast<float>(a * r), static_cast<float>(a * r + 1.0 - 1e-3), static_cast<float>(a + 1.0f)}) {
                std::ostringstream con;
                const double P = reference_p(a, x);
                const float got = GAMMP(con, a, x);
                EXPECT_LE(std::fabs(got - P), error_bound(a, x, P)) << "a=" << a << " x=" << x << " P=" << P;
                EXPECT_EQ(con.str(), "") << "a=" << a << " x=" << x;
            }
        }
    }
}

TEST(Gammp, FullCapacityGlobalLineConvergesWithoutTheIterationMessage) {
    // Near x = a the series needs about sqrt(2 a ln(1/3e-7)) ~ 430 of its 500
    // terms at a = 9000; the fraction just above a + 1 needs far fewer.
    for (float x : {8990.0f, 8999.5f, 9000.0f, 9000.99f, 9001.0f, 9001.5f, 9100.0f}) {
        std::ostringstream con;
        const float got = GAMMP(con, 9000.0f, x);
        const double P = reference_p(9000.0f, x);
        EXPECT_EQ(con.str(), "") << x;
        EXPECT_LE(std::fabs(got - P), error_bound(9000.0f, x, P)) << x;
    }
}

TEST(Gammp, EdgeCasesAndMessages) {
    struct Case {
        float a, x;
        double expected;  // NaN: not a number
        const char* console;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {1.0f, 2.0f, 1.0 - std::exp(-2.0), ""},  // x = a + 1 takes the fraction
        {1.0f, 1.0f, 1.0 - std::exp(-1.0), ""},  // below it the series
        {3.0f, 0.0f, 0.0, ""},
        {0.5f, 1.92f, 1.0 - 0.0500, ""},  // chi-square 3.84 with 1 DF: p = 0.05
        {1.0f, -1.0f, 0.0, " BAD ARGUMENTS IN GAMMP\n X < 0 IN GSER\n"},
        {0.0f, 1.0f, nan, " BAD ARGUMENTS IN GAMMP\n"},  // an item or group with DF = 0
        {-0.5f, 1.0f, nan, " BAD ARGUMENTS IN GAMMP\n"},
        {2.0f, std::nanf(""), nan, " BAD ARGUMENTS IN GAMMP\n"},
        {2.0f, INFINITY, 1.0, ""},  // an infinite chi-square has probability 0
    };
    for (const Case& c : cases) {
        std::ostringstream con;
        const float got = GAMMP(con, c.a, c.x);
        EXPECT_NEAR_REL(got, c.expected, 2e-4, 1.0) << "a=" << c.a << " x=" << c.x;
        EXPECT_EQ(con.str(), c.console) << "a=" << c.a << " x=" << c.x;
    }
}

TEST(Gammp, LogGammaIsGoodToSinglePrecision) {
    for (float x : {0.5f, 1.0f, 1.5f, 3.0f, 10.5f, 100.0f, 4500.0f, 9000.0f})
        EXPECT_NEAR_REL(GAMMLN(x), std::lgamma(static_cast<double>(x)), 2e-7, 1.0) << x;
}

}  // namespace
}  // namespace vorm
