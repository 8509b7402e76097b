#include "statistics/Perest.h"

#include <cmath>
#include <sstream>

#include "../estimation/estimation_fixture.h"
#include "model/Getqua.h"
#include "test_support.h"

namespace vorm::test {
namespace {

// The grid's weighted mean and standard deviation: those of the prior.
struct Prior {
    double mean = 0.0;
    double sd = 0.0;
};

Prior run(EstimationJob& e) {
    Store& s = *e.st;
    const JobSettings& j = *e.job;
    Prior prior;
    GETQUA(s.XQUAD, s.WQUAD, prior.mean, j.NQUAD, prior.sd);
    PEREST(e.console, j, s, e.ws->ptab);
    return prior;
}

TEST(Perest, MatchesAnIndependentPosteriorForEveryModel) {
    for (int model = 1; model <= 8; ++model) {
        const bool per_item = model % 2 == 0;
        std::vector<int> cats = per_item ? std::vector<int>{2, 4, 6, 8, 3, 5} : std::vector<int>(6, 4);
        auto e = simulated_job(model, cats, 50, 20 + model, 21);
        true_parameters(*e);
        e->st->RESP(5, 3) = -9;
        run(*e);
        for (int j = 1; j <= 50; ++j) {
            long double lw[50], top = -1e300L;
            for (int q = 1; q <= 21; ++q) {
                long double l = std::log(static_cast<long double>(e->st->WQUAD(q)));
                for (int i = 1; i <= 6; ++i) {
                    const int r = e->st->RESP(j, i);
                    if (r < 0) continue;
                    auto p = vormsim::probabilities(model, e->design.items[static_cast<std::size_t>(i - 1)],
                                                    e->st->XQUAD(q));
                    l += std::log(static_cast<long double>(p[static_cast<std::size_t>(r)]));
                }
                lw[q - 1] = l;
                top = std::max(top, l);
            }
            long double s = 0, t = 0, v = 0;
            for (int q = 0; q < 21; ++q) s += std::exp(lw[q] - top);
            for (int q = 0; q < 21; ++q) t += e->st->XQUAD(q + 1) * std::exp(lw[q] - top) / s;
            for (int q = 0; q < 21; ++q) {
                long double d = e->st->XQUAD(q + 1) - t;
                v += d * d * std::exp(lw[q] - top) / s;
            }
            EXPECT_NEAR_REL(e->st->THETA(j), static_cast<double>(t), 1e-10, 1.0) << "model " << model;
            EXPECT_NEAR_REL(e->st->TSTD(j), static_cast<double>(std::sqrt(v)), 1e-10) << "model " << model;
            EXPECT_LE(std::fabs(e->st->THETA(j)), 4.0);
            EXPECT_LE(e->st->TSTD(j), 4.0);
        }
    }
}

TEST(Perest, NoAnswerGivesThePriorAndAMissingItemIsLikeNoItem) {
    auto e = simulated_job(2, {4, 4, 4, 4, 4}, 3, 8, 15);
    true_parameters(*e);
    for (int i = 1; i <= 5; ++i) e->st->RESP(1, i) = -1;
    e->st->RESP(2, 5) = -1;
    const Prior prior = run(*e);
    EXPECT_NEAR(e->st->THETA(1), prior.mean, 1e-15);
    EXPECT_NEAR_REL(e->st->TSTD(1), prior.sd, 1e-14);
    const double th = e->st->THETA(2), sd = e->st->TSTD(2);
    // The same respondent in a job of the first four items only.
    e->job->NITEM = 4;
    run(*e);
    EXPECT_EQ(e->st->THETA(2), th);
    EXPECT_EQ(e->st->TSTD(2), sd);
}

TEST(Perest, ExtremeAnswersOnManyItemsStayFinite) {
    auto e = simulated_job(1, std::vector<int>(100, 10), 1, 4, 30);
    for (int i = 1; i <= 100; ++i) {
        e->st->DELTA(i) = (i % 2) ? 3.8 : -3.8;
        e->st->RESP(1, i) = 0;
    }
    e->st->UNIT = 0.7;
    run(*e);
    EXPECT_TRUE(std::isfinite(e->st->THETA(1)));
    EXPECT_TRUE(std::isfinite(e->st->TSTD(1)));
}

}  // namespace
}  // namespace vorm::test
