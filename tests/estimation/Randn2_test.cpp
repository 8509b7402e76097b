#include "estimation/Randn2.h"

#include <cmath>

#include "estimation_fixture.h"
#include "model/Getqua.h"
#include "test_support.h"

namespace vorm::test {
namespace {

constexpr double kRel = 1e-12;  // sums of a few thousand positive terms

void grid(EstimationJob& e, int n) {
    double mean = 0.0, sd = 0.0;
    GETQUA(e.st->XQUAD, e.st->WQUAD, mean, n, sd);
}

void run(EstimationJob& e) { RANDN2(e.console, *e.job, *e.st, e.job->MODEL, e.ws->estimation.counts, e.ws->ptab); }

TEST(Randn2, ExpectedCountsMatchAnIndependentPosteriorOnTheGrid) {
    auto e = simulated_job(8, {4, 3, 6, 2, 5}, 60, 11, 13);
    e->design.missing_rate = 0.0;
    true_parameters(*e);
    e->st->RESP(3, 2) = -9;  // one missing response
    grid(*e, 13);
    run(*e);
    const auto& ec = e->ws->estimation.counts;
    for (int i = 1; i <= 5; ++i)
        for (int q = 1; q <= 13; ++q) {
            double want_n = 0.0;
            double want_r[10] = {};
            for (int j = 1; j <= 60; ++j) {
                // Posterior of respondent j at point q, on the log scale.
                double lw[50], top = -1e300;
                for (int p = 1; p <= 13; ++p) {
                    double l = std::log(e->st->WQUAD(p));
                    for (int k = 1; k <= 5; ++k) {
                        int r = e->st->RESP(j, k);
                        if (r < 0) continue;
                        auto pr = vormsim::probabilities(8, e->design.items[static_cast<std::size_t>(k - 1)],
                                                         e->st->XQUAD(p));
                        l += std::log(pr[static_cast<std::size_t>(r)]);
                    }
                    lw[p - 1] = l;
                    top = std::max(top, l);
                }
                double sum = 0.0;
                for (int p = 0; p < 13; ++p) sum += std::exp(lw[p] - top);
                const double w = std::exp(lw[q - 1] - top) / sum;
                const int r = e->st->RESP(j, i);
                if (r < 0) continue;
                want_n += w;
                want_r[r] += w;
            }
            EXPECT_NEAR_REL(ec.NBAR(q, i), want_n, 1e-9, 1e-14);
            for (int c = 0; c < e->job->NCAT(i); ++c) EXPECT_NEAR_REL(ec.RBAR(q, i, c), want_r[c], 1e-9, 1e-14);
        }
}

TEST(Randn2, CountsSumToAnswersRepeatCallsAgreeAndMissingRespondentsAddNothing) {
    auto e = simulated_job(3, {5, 5, 5, 5}, 40, 3, 9);
    true_parameters(*e);
    for (int i = 1; i <= 4; ++i) e->st->RESP(7, i) = -1;  // answered nothing
    e->st->RESP(8, 2) = -1;
    grid(*e, 9);
    run(*e);
    const auto& ec = e->ws->estimation.counts;
    PointItemCatReals r1 = ec.RBAR;
    for (int i = 1; i <= 4; ++i) {
        double total = 0.0;
        for (int q = 1; q <= 9; ++q) {
            total += ec.NBAR(q, i);
            double s = 0.0;
            for (int c = 0; c < 5; ++c) s += ec.RBAR(q, i, c);
            EXPECT_NEAR_REL(s, ec.NBAR(q, i), kRel, 1e-15);
        }
        EXPECT_NEAR_REL(total, i == 2 ? 38.0 : 39.0, kRel);
    }
    run(*e);
    for (int i = 1; i <= 4; ++i)
        for (int q = 1; q <= 9; ++q)
            for (int c = 0; c < 5; ++c) EXPECT_EQ(ec.RBAR(q, i, c), r1(q, i, c));

    // Without respondent 7 at all the tables are the same.
    for (int i = 1; i <= 4; ++i) e->st->RESP(7, i) = e->st->RESP(40, i);
    e->job->NSUBJ = 39;
    run(*e);
    for (int i = 1; i <= 4; ++i)
        for (int q = 1; q <= 9; ++q)
            for (int c = 0; c < 5; ++c) EXPECT_NEAR_REL(ec.RBAR(q, i, c), r1(q, i, c), kRel, 1e-15);
}

TEST(Randn2, OnePointTakesEveryAnswerWithWeightOne) {
    auto e = simulated_job(1, {3, 3}, 25, 5, 1);
    true_parameters(*e);
    grid(*e, 1);
    run(*e);
    const auto& ec = e->ws->estimation.counts;
    int count0 = 0;
    for (int j = 1; j <= 25; ++j) count0 += e->st->RESP(j, 1) == 0;
    EXPECT_EQ(ec.NBAR(1, 1), 25.0);
    EXPECT_EQ(ec.RBAR(1, 1, 0), static_cast<double>(count0));
}

TEST(Randn2, LikelihoodThatUnderflowsEverywhereStillGivesProperWeights) {
    // 100 items each answered in the least likely category: the plain product
    // is far below the double range at every point.
    auto e = simulated_job(1, std::vector<int>(100, 10), 2, 9, 20);
    for (int i = 1; i <= 100; ++i) {
        e->st->DELTA(i) = (i % 2) ? 3.5 : -3.5;
        e->st->RESP(1, i) = 0;
        e->st->RESP(2, i) = 9;
    }
    e->st->UNIT = 0.6;
    grid(*e, 20);
    run(*e);
    const auto& ec = e->ws->estimation.counts;
    for (int i = 1; i <= 100; ++i) {
        double total = 0.0;
        for (int q = 1; q <= 20; ++q) {
            ASSERT_TRUE(std::isfinite(ec.NBAR(q, i)));
            total += ec.NBAR(q, i);
        }
        EXPECT_NEAR_REL(total, 2.0, kRel);
    }
}

}  // namespace
}  // namespace vorm::test
