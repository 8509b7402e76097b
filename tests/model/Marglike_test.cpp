#include "model/Marglike.h"

#include <cmath>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "model/Getqua.h"
#include "model/Probm.h"
#include "model_reference.h"
#include "test_support.h"

namespace vorm::test {
namespace {

// A run's inputs: items with ordinary parameters, a grid, and responses.
struct Job {
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<ProbabilityTable> table = std::make_unique<ProbabilityTable>();
    ItemInts ncat;
    int nitem, nquad, nsubj;
    Job(int items, int points, int subjects, int categories) : nitem(items), nquad(points), nsubj(subjects) {
        double mean, sd;
        GETQUA(st->XQUAD, st->WQUAD, mean, nquad, sd);
        for (int i = 1; i <= nitem; ++i) {
            ncat(i) = categories;
            st->DELTA(i) = -2.5 + 5.0 * (i - 1) / std::max(1, nitem - 1);
            st->ALPHA(i) = 0.8 + 0.1 * (i % 7);
            st->LAMBDA(i) = 0.3 - 0.05 * (i % 5);
            for (int k = 1; k < categories; ++k) st->TAU(i, k) = 0.4 * std::sin(k + i);
        }
        for (int k = 1; k < MAXCAT; ++k) st->TAUC(k) = 0.3 * std::cos(k);
        st->UNIT = 0.2;
        std::mt19937 gen(12345);
        for (int p = 1; p <= nsubj; ++p)
            for (int i = 1; i <= nitem; ++i) st->RESP(p, i) = gen() % 7 == 0 ? -1 : int(gen() % ncat(i));
    }
    double run(int model, std::ostream& con) {
        const FittedModel fm{model_parameters(*st, model, ncat, nitem), *st, nsubj, nquad};
        return MARGLIKE(con, fm, *table);
    }
    double run(int model) {
        std::ostringstream con;
        return run(model, con);
    }
    // Sum over respondents of ln sum_q w_q prod_i P, all on the log scale, plus ln(N!).
    double reference(int model) const {
        std::vector<long double> lp(MAXQUAD * MAXITEM * MAXCAT);
        auto at = [&](int q, int i, int c) -> long double& { return lp[((q - 1) * MAXITEM + (i - 1)) * MAXCAT + c]; };
        for (int q = 1; q <= nquad; ++q)
            for (int i = 1; i <= nitem; ++i)
                reference_log_prob(model, *st, i, ncat(i), st->UNIT, st->TAUC, st->XQUAD(q), &at(q, i, 0));
        long double total = std::lgamma((long double)nsubj + 1);
        for (int p = 1; p <= nsubj; ++p) {
            long double lL = -INFINITY;
            for (int q = 1; q <= nquad; ++q) {
                long double l = std::log((long double)st->WQUAD(q));
                for (int i = 1; i <= nitem; ++i)
                    if (st->RESP(p, i) >= 0) l += at(q, i, st->RESP(p, i));
                lL = q == 1 ? l : log_add(lL, l);
            }
            total += lL;
        }
        return (double)total;
    }
};

TEST(Marglike, RejectsCountsBeyondTheStoresCapacity) {
    Job s(3, 5, 4, 3);
    s.nquad = 51;
    EXPECT_THROW(s.run(1), std::invalid_argument);
}

TEST(Marglike, BadModelNumberIsReportedForEveryItemAndPoint) {
    Job s(3, 5, 4, 3);
    std::ostringstream con;
    s.run(9, con);
    std::vector<std::string> lines = split_lines(con.str());
    ASSERT_EQ(lines.size(), 15u);
    for (const auto& l : lines) EXPECT_EQ(l, "  THE MODEL NUMBER IN MARGLIKE IS INCORRECT ");
}

TEST(Marglike, MatchesIndependentLogScaleEvaluationForAllModels) {
    Job s(6, 15, 40, 4);
    for (int i = 1; i <= s.nitem; ++i) s.st->RESP(5, i) = -1;  // one respondent answers nothing
    for (int model = 1; model <= 8; ++model) {
        std::ostringstream con;
        EXPECT_NEAR_REL(s.run(model, con), s.reference(model), 1e-12) << "model " << model;
        EXPECT_EQ(con.str(), "");
    }
}

TEST(Marglike, OrdinaryRangeIsThePlainProductBitForBit) {
    Job s(5, 10, 30, 5);
    const int model = 6;
    double xlogl = 0.0;
    ModelValues mv;
    for (int p = 1; p <= s.nsubj; ++p) {
        double L = 0.0;
        for (int q = 1; q <= s.nquad; ++q) {
            double lik = 1.0;
            for (int i = 1; i <= s.nitem; ++i)
                if (s.st->RESP(p, i) >= 0) {
                    PROBM6(mv, *s.st, q, i, s.ncat(i), s.st->XQUAD.data());
                    lik = lik * mv.PROB(s.st->RESP(p, i));
                }
            L += lik * s.st->WQUAD(q);
        }
        xlogl += std::log(L);
    }
    double lnfact = 0.0;
    for (int k = 1; k <= s.nsubj; ++k) lnfact += std::log((double)k);
    EXPECT_EQ(s.run(model), xlogl + lnfact);
}

TEST(Marglike, RespondentWhoseProductUnderflowsAtEveryPointStaysFinite) {
    // 100 ten-category items answered 0, 9, 0, 9, ...: every point's product is far below 1e-308.
    Job s(100, 30, 3, 10);
    for (int i = 1; i <= 100; ++i) s.st->RESP(1, i) = i % 2 ? 0 : 9;
    for (int model : {1, 4, 6, 7}) {
        double ref = s.reference(model);
        ASSERT_LT(ref, -800.0);
        double x = s.run(model);
        ASSERT_TRUE(std::isfinite(x)) << model;
        EXPECT_NEAR_REL(x, ref, 1e-12) << model;
    }
}

TEST(Marglike, FactorialTermAndMissingResponses) {
    Job none(4, 8, 0, 3);
    EXPECT_EQ(none.run(2), 0.0);
    Job s(4, 8, 3, 3);
    for (int p = 1; p <= 3; ++p)
        for (int i = 1; i <= 4; ++i) s.st->RESP(p, i) = -1 - p;
    EXPECT_NEAR(s.run(2), std::log(6.0), 1e-14);  // each respondent ln 1 = 0
    s.nsubj = 1;
    EXPECT_NEAR(s.run(2), 0.0, 1e-15);
    // A response with no category of its item counts as missing, not as a stale table entry.
    s.st->RESP(1, 2) = 3;
    s.st->RESP(1, 3) = 9;
    EXPECT_NEAR(s.run(2), 0.0, 1e-15);
}

TEST(Marglike, RespondentOrderDoesNotMatterAndEqualRowsContributeEqually) {
    Job s(7, 12, 25, 6);
    for (int model = 1; model <= 8; ++model) {
        const double forward = s.run(model);
        Job r(7, 12, 25, 6);
        for (int p = 1; p <= 25; ++p)
            for (int i = 1; i <= 7; ++i) r.st->RESP(p, i) = s.st->RESP(26 - p, i);
        EXPECT_NEAR_REL(r.run(model), forward, 1e-14) << model;
    }
    s.nsubj = 1;
    const double one = s.run(3);
    for (int i = 1; i <= 7; ++i) s.st->RESP(2, i) = s.st->RESP(1, i);
    s.nsubj = 2;
    EXPECT_NEAR_REL(s.run(3), 2.0 * one + std::log(2.0), 1e-14);
}

}  // namespace
}  // namespace vorm::test
