// The incomplete gamma function against Boost.Math's regularized gamma_p, and
// its messages.
#include "statistics/Gammp.h"

#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <sstream>

#include "test_support.h"

namespace vorm {
namespace {

// Far in the lower tail of a large a, P underflows; Boost then reports an
// overflow of its internal gamma function unless told to return the limit.
using Quiet = boost::math::policies::policy<boost::math::policies::overflow_error<boost::math::policies::ignore_error>>;

// The error GAMMP may make, from how it computes: ln Gamma(a) is rounded to
// single precision, so the exponential prefactor is off by up to half a float
// ulp of ln Gamma(a) (0.004 at a = 9000) relatively; the sum or product is
// rounded at each of at most 500 steps (500 * 2^-24 relatively), and the
// series stops at 3e-7 of its sum.  The branch's own result (P for the series
// below x = a + 1, Q = 1 - P for the fraction) carries that relative error;
// the single-precision result adds 2^-24 absolutely.
double error_bound(float a, float x, double P) {
    const float lg = static_cast<float>(std::lgamma(static_cast<double>(a)));
    const double half_ulp = 0.5 * (std::nextafter(std::fabs(lg), INFINITY) - std::fabs(lg));
    const bool series = static_cast<double>(x) < static_cast<double>(a) + 1.0;
    return (half_ulp + 500 * 0x1p-24 + 1e-6) * (series ? P : 1.0 - P) + 0x1p-24;
}

// From half a degree of freedom to the global line at full capacity (100
// items, 9 DF per group, 20 groups: a = 9000, where near x = a the series
// needs about 430 of its 500 terms), x on both sides of the branch point a + 1
// and far into both tails; no case may print a message.
TEST(Gammp, MatchesAnIndependentEvaluationAcrossItsRange) {
    for (float a : {0.5f, 1.0f, 2.5f, 7.0f, 40.0f, 199.5f, 1000.0f, 4500.0f, 9000.0f}) {
        for (double r : {0.0, 1e-3, 0.2, 0.7, 0.95, 0.999, 1.0, 1.001, 1.05, 1.3, 2.0, 5.0}) {
            for (float x : {static_cast<float>(a * r), static_cast<float>(a * r + 1.0 - 1e-3), a + 1.0f}) {
                std::ostringstream con;
                const double P = boost::math::gamma_p(static_cast<double>(a), static_cast<double>(x), Quiet());
                EXPECT_LE(std::fabs(GAMMP(con, a, x) - P), error_bound(a, x, P)) << "a=" << a << " x=" << x;
                EXPECT_EQ(con.str(), "") << "a=" << a << " x=" << x;
            }
        }
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
        {0.0f, 1.0f, nan, " BAD ARGUMENTS IN GAMMP\n"},  // an item or a line with DF = 0
        {-0.5f, 1.0f, nan, " BAD ARGUMENTS IN GAMMP\n"},
        {2.0f, std::nanf(""), nan, " BAD ARGUMENTS IN GAMMP\n"},
        {2.0f, INFINITY, 1.0, ""},  // an infinite chi-square has probability 0
    };
    for (const Case& c : cases) {
        std::ostringstream con;
        EXPECT_NEAR_REL(GAMMP(con, c.a, c.x), c.expected, 2e-4, 1.0) << "a=" << c.a << " x=" << c.x;
        EXPECT_EQ(con.str(), c.console) << "a=" << c.a << " x=" << c.x;
    }
}

}  // namespace
}  // namespace vorm
