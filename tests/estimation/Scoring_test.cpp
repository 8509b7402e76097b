#include "estimation/Scoring.h"

#include <cmath>
#include <string>

#include "estimation/Randn2.h"
#include "estimation_fixture.h"
#include "model/Getqua.h"
#include "model/Probm.h"
#include "test_support.h"

namespace vorm::test {
namespace {

bool some_probability_is_zero(EstimationJob& e, int i) {
    for (int q = 1; q <= e.job->NQUAD; ++q) {
        GPM(*e.st, e.job->MODEL, i, e.job->NCAT(i), e.st->UNIT, e.st->TAUC, e.st->XQUAD(q));
        for (int c = 0; c < e.job->NCAT(i); ++c)
            if (e.st->PROB(c) == 0.0) return true;
    }
    return false;
}

// A category probability of exactly 0 at a point contributes its limit, 0,
// to the information and the score, so every step of the cycle is taken.
TEST(Scoring, CategoryWhoseProbabilityIsZeroAtAPointAddsNothing) {
    for (int model : {5, 6, 7, 8}) {
        SCOPED_TRACE("model " + std::to_string(model));
        auto e = simulated_job(model, std::vector<int>(5, 4), 300, 60 + model, 21);
        JobSettings& job = *e->job;
        Store& st = *e->st;
        true_parameters(*e);
        // So steep that some of its category probabilities are 0 at the outer points.
        st.ALPHA(2) = 200.0;
        GETQUA(st.XQUAD, st.WQUAD, job.XMEAN, job.NQUAD, job.XSD);
        ASSERT_TRUE(some_probability_is_zero(*e, 2));
        RANDN2(e->console, st, e->ws->estimation.counts, e->ws->ptab, st.WQUAD, model, job.NCAT, job.NITEM, job.NQUAD,
               job.NSUBJ, st.UNIT, st.TAUC, st.XQUAD);
        const double alpha = st.ALPHA(2), delta = st.DELTA(2), unit = st.UNIT, tau = st.TAUC(1);

        ScoringStage stage{e->ws->estimation.counts, {}};
        scoring_cycle(e->io, job, st, stage, ScoringSettings{model, 4, 2, 2});

        EXPECT_EQ(e->report().find("SINGULARITY"), std::string::npos) << e->report();
        EXPECT_NE(st.ALPHA(2), alpha);
        EXPECT_NE(st.DELTA(2), delta);
        if (model == 5) {
            EXPECT_NE(st.UNIT, unit);
        }
        if (model == 7) {
            EXPECT_NE(st.TAUC(1), tau);
        }
        for (int i = 1; i <= job.NITEM; ++i) {
            EXPECT_TRUE(std::isfinite(st.ALPHA(i)) && std::isfinite(st.DELTA(i)) && std::isfinite(st.LAMBDA(i)));
            for (int k = 0; k < 4; ++k) EXPECT_TRUE(std::isfinite(st.TAU(i, k)));
        }
    }
}

}  // namespace
}  // namespace vorm::test
