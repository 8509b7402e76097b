#include "estimation/Scoring.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/stop.h"
#include "estimation/Randn2.h"
#include "estimation_fixture.h"
#include "model/Getqua.h"
#include "model/Probm.h"
#include "test_support.h"

namespace vorm::test {
namespace {

bool some_probability_is_zero(EstimationJob& e, int i) {
    ModelValues mv;
    for (int q = 1; q <= e.job->NQUAD; ++q) {
        GPM(mv, *e.st, e.job->MODEL, i, e.job->NCAT(i), e.st->UNIT, e.st->TAUC, e.st->XQUAD(q));
        for (int c = 0; c < e.job->NCAT(i); ++c)
            if (mv.PROB(c) == 0.0) return true;
    }
    return false;
}

// A category probability of exactly 0 at a point contributes its limit, 0,
// to the information and the score, so every step of the cycle is taken.
TEST(Scoring, CategoryWhoseProbabilityIsZeroAtAPointAddsNothing) {
    for (int model : {5, 6, 7, 8}) {
        SCOPED_TRACE("model " + std::to_string(model));
        auto e = simulated_job(model, std::vector<int>(5, 4), 300, 60 + model, 21);
        const JobSettings& job = *e->job;
        Store& st = *e->st;
        true_parameters(*e);
        // So steep that some of its category probabilities are 0 at the outer points.
        st.ALPHA(2) = 200.0;
        double mean = 0.0, sd = 0.0;
        GETQUA(st.XQUAD, st.WQUAD, mean, job.NQUAD, sd);
        ASSERT_TRUE(some_probability_is_zero(*e, 2));
        RANDN2(e->console, job, st, model, e->ws->estimation.counts, e->ws->ptab);
        const double alpha = st.ALPHA(2), delta = st.DELTA(2), unit = st.UNIT, tau = st.TAUC(1);

        ScoringStage stage{e->ws->estimation.counts, {}, {}};
        scoring_cycle(e->io, job, st, stage, {.MODEL = model, .CONVC = job.CONVC, .NCAT0 = 4, .n = 2, .NCYCLE = 2});

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

// Expected counts that are not finite at one point of items 2 and 4 make the
// information of their parameters infinite.  A one-parameter step is then 0,
// but a system of thresholds, or of discrimination and location, has no
// inverse and its step is not a number: the step is never taken, and the run
// ends naming the parameters, the model and the first of the two items.
TEST(Scoring, SystemStepThatIsNotFiniteEndsTheRunNamingTheFirstItem) {
    struct Case {
        int model;
        std::string concerned;
    };
    const Case cases[] = {
        {3, "  FIRST CONCERNED: CONSTANT TAUS IN MODEL 3."},
        {4, "  FIRST CONCERNED: TAUS FOR ITEM #2 IN MODEL 4 (ITEM 12 OF THE DATA FILE)."},
        {8, "  FIRST CONCERNED: TAUS FOR ITEM #2 IN MODEL 8 (ITEM 12 OF THE DATA FILE)."},
        {5, "  FIRST CONCERNED: DELTA/ALPHA FOR ITEM #2 IN MODEL 5 (ITEM 12 OF THE DATA FILE)."},
        {6, "  FIRST CONCERNED: DELTA/ALPHA FOR ITEM #2 IN MODEL 6 (ITEM 12 OF THE DATA FILE)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("model " + std::to_string(c.model));
        auto e = simulated_job(c.model, std::vector<int>(5, 4), 300, 80 + c.model, 21);
        const JobSettings& job = *e->job;
        Store& st = *e->st;
        true_parameters(*e);
        st.ITEMID(2) = 12;
        st.ITEMID(4) = 14;
        double mean = 0.0, sd = 0.0;
        GETQUA(st.XQUAD, st.WQUAD, mean, job.NQUAD, sd);
        ExpectedCounts& ec = e->ws->estimation.counts;
        RANDN2(e->console, job, st, c.model, ec, e->ws->ptab);
        for (int i : {2, 4}) ec.NBAR(11, i) = std::numeric_limits<double>::infinity();
        const double tau = st.TAU(2, 1), tauc = st.TAUC(1), alpha = st.ALPHA(2), delta = st.DELTA(2);

        ScoringStage stage{ec, {}, {}};
        try {
            scoring_cycle(e->io, job, st, stage,
                          {.MODEL = c.model, .CONVC = job.CONVC, .NCAT0 = 4, .n = 2, .NCYCLE = 2});
            ADD_FAILURE() << "no stop";
        } catch (const EngineStop& stop) {
            EXPECT_EQ(stop.status_lines(),
                      (std::vector<std::string>{"  THE ESTIMATION DID NOT REACH FINITE ESTIMATES.  JOB IS ABORTING.",
                                                c.concerned}));
        }
        EXPECT_EQ(split_lines(e->report()).back(), c.concerned);
        EXPECT_EQ(st.TAU(2, 1), tau);
        EXPECT_EQ(st.TAUC(1), tauc);
        EXPECT_EQ(st.ALPHA(2), alpha);
        EXPECT_EQ(st.DELTA(2), delta);
    }
}

}  // namespace
}  // namespace vorm::test
