#include "model/Probtable.h"

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

#include "model/Getqua.h"
#include "test_support.h"

namespace vorm::test {
namespace {

// A long product of small probabilities: a few hundred roundings.
constexpr double kRel = 1e-12;
// Posterior weights sum to 1; one far below this is negligible however it
// was rounded (a product that went subnormal at that point keeps few digits).
constexpr double kWeightFloor = 1e-16;

// One respondent answering more and more items in their least likely
// category: the plain product serves while it is accurate, the scaled one
// after; across the change the likelihood's logarithm and the posterior
// weights LQ(q) WQUAD(q) / S stay those of an evaluation on the log scale.
TEST(Probtable, LikelihoodStaysExactWhereThePlainProductGivesWayToTheScaledOne) {
    auto st = std::make_unique<Store>();
    auto PT = std::make_unique<ProbabilityTable>();
    ItemInts ncat;
    const int nitem = 100, nquad = 20;
    for (int i = 1; i <= nitem; ++i) {
        ncat(i) = 10;
        st->DELTA(i) = i % 2 ? 3.5 : -3.5;
    }
    double mean = 0.0, sd = 0.0;
    GETQUA(st->XQUAD, st->WQUAD, mean, nquad, sd);
    std::ostringstream con;
    ASSERT_TRUE(fill_probability_table(con, *PT, model_parameters(*st, 1, ncat, nitem, 0.6, st->TAUC), st->XQUAD, nquad,
                                       "bad"));

    bool plain = false, scaled = false;
    for (int n = 1; n <= nitem; ++n) {
        SCOPED_TRACE("items answered " + std::to_string(n));
        for (int i = 1; i <= nitem; ++i) st->RESP(1, i) = i <= n ? 0 : -1;
        QuadReals LQ;
        int scale = -1;
        const double S = respondent_likelihood(*st, *PT, 1, st->WQUAD, LQ, scale);
        (scale == 0 ? plain : scaled) = true;

        long double lw[MAXQUAD], top = -INFINITY;
        for (int q = 1; q <= nquad; ++q) {
            lw[q - 1] = std::log(static_cast<long double>(st->WQUAD(q)));
            for (int i = 1; i <= n; ++i) lw[q - 1] += std::log(static_cast<long double>(PT->P(q, i, st->RESP(1, i))));
            top = std::max(top, lw[q - 1]);
        }
        long double sum = 0.0L;
        for (int q = 0; q < nquad; ++q) sum += std::exp(lw[q] - top);
        const long double lL = top + std::log(sum);
        EXPECT_EQ(scale == 0, lL >= std::log(0x1p-960L));
        EXPECT_NEAR_REL(std::log(S) + scale * std::log(2.0), static_cast<double>(lL), kRel);
        for (int q = 1; q <= nquad; ++q)
            EXPECT_NEAR_REL(LQ(q) * st->WQUAD(q) / S, static_cast<double>(std::exp(lw[q - 1] - lL)), kRel,
                            kWeightFloor);
    }
    EXPECT_TRUE(plain && scaled);
}

}  // namespace
}  // namespace vorm::test
