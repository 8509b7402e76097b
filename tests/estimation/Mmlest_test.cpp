#include "estimation/Mmlest.h"

#include <cmath>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/stop.h"
#include "estimation/Initvl.h"
#include "estimation/Randn2.h"
#include "estimation_fixture.h"
#include "model/Getqua.h"
#include "model/Marglike.h"
#include "test_support.h"

namespace vorm::test {
namespace {

std::vector<std::string> lines_containing(const std::string& text, const std::string& what) {
    std::vector<std::string> out;
    for (const auto& l : split_lines(text))
        if (l.find(what) != std::string::npos) out.push_back(l);
    return out;
}

// Records the model and criterion of every model of the chain, and counts
// the outer cycles during which the job's own model or criterion was not what
// the job set.
struct Trace {
    const JobSettings* job = nullptr;
    int model = 0;
    double convc = 0.0;
    std::vector<int> models;
    std::vector<double> criteria;
    int job_changed = 0;
    static void observe(void* c, const Store&, const ScoringSettings& s) {
        auto* t = static_cast<Trace*>(c);
        if (t->job->MODEL != t->model || t->job->CONVC != t->convc) ++t->job_changed;
        if (t->models.empty() || t->models.back() != s.MODEL) {
            t->models.push_back(s.MODEL);
            t->criteria.push_back(s.CONVC);
        }
    }
};

EstimationResult estimate(EstimationJob& e, const EstimationProbes& probes = {}) {
    INITVL(e.io, *e.job, *e.st, e.ws->start);
    return MMLEST(e.io, *e.job, *e.st, e.ws->estimation, e.ws->ptab, probes);
}

TEST(Mmlest, ModelWithCommonParametersAndPerItemCategoriesStops) {
    for (int model : {1, 3, 5, 7}) {
        auto e = simulated_job(model, {3, 4, 3}, 20, 1, 5);
        e->job->LCATC = 0;
        try {
            MMLEST(e->io, *e->job, *e->st, e->ws->estimation, e->ws->ptab);
            ADD_FAILURE() << "no stop for model " << model;
        } catch (const EngineStop& stop) {
            const std::string first = " Error: Model " + std::to_string(model) + " does not allow for a variable";
            ASSERT_EQ(stop.status_lines().size(), 2u);
            EXPECT_EQ(stop.status_lines()[0], first);
            EXPECT_EQ(stop.status_lines()[1], "  number of response categories across items.");
            EXPECT_EQ(e->console.str(), first + "\n  number of response categories across items.\n");
        }
        EXPECT_EQ(e->report(), "");
    }
}

struct ChainCase {
    int model, lcatc, iconst;
    std::vector<int> runs;
    std::vector<int> startup_lines;  // models named by the report's start-up lines
};

TEST(Mmlest, StartUpChainsRunTheirModelsAndPrintTheirLines) {
    const ChainCase cases[] = {
        {8, -1, 0, {3, 4, 8}, {3, 4}},
        {8, -1, 1, {3, 7, 8}, {3, 7}},
        {8, 0, 0, {4, 8}, {4}},
        {8, 0, 1, {4, 8}, {4}},
        {7, -1, 0, {3, 7}, {3}},
        {7, -1, 1, {3, 7}, {3}},
        {6, -1, 0, {1, 2, 6}, {1, 2}},
        {6, -1, 1, {1, 5, 6}, {1}},
        {6, 0, 0, {2, 6}, {2}},
        {6, 0, 1, {2, 6}, {2}},
        {5, -1, 0, {1, 5}, {1}},
        {5, -1, 1, {1, 5}, {1}},
        {4, -1, 0, {3, 4}, {3}},
        {4, -1, 1, {3, 4}, {3}},
        {4, 0, 0, {4}, {}},
        {4, 0, 1, {4}, {}},
        {3, -1, 0, {3}, {}},
        {2, -1, 0, {1, 2}, {1}},
        {2, -1, 1, {1, 2}, {1}},
        {2, 0, 0, {2}, {}},
        {2, 0, 1, {2}, {}},
        {1, -1, 0, {1}, {}},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE("model " + std::to_string(c.model) + " LCATC " + std::to_string(c.lcatc) + " ICONST " +
                     std::to_string(c.iconst));
        std::vector<int> cats = c.lcatc == -1 ? std::vector<int>(6, 4) : std::vector<int>{4, 3, 4, 5, 4, 3};
        auto e = simulated_job(c.model, cats, 200, 40 + c.model, 11);
        e->job->ICONST = c.iconst;
        e->job->CONVC = 0.005;
        e->job->MAXOUT = 6;
        Trace trace;
        trace.job = e->job.get();
        trace.model = c.model;
        trace.convc = 0.005;
        estimate(*e, {&Trace::observe, &trace});
        EXPECT_EQ(trace.models, c.runs);
        // The chain's models and criteria travel with the scoring; the job keeps its own throughout.
        EXPECT_EQ(trace.job_changed, 0);
        // Start-up models use 0.01 without the constraint and the job's value with it.
        for (std::size_t k = 0; k < trace.models.size(); ++k)
            EXPECT_EQ(trace.criteria[k], k + 1 < trace.models.size() && c.iconst == 0 ? 0.01 : 0.005);
        auto lines = lines_containing(e->report(), "START-UP");
        ASSERT_EQ(lines.size(), c.startup_lines.size());
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const std::string tail =
                " ITERATIONS REQUIRED IN START-UP WITH MODEL " + std::to_string(c.startup_lines[k]);
            ASSERT_GE(lines[k].size(), tail.size() + 3);
            EXPECT_EQ(lines[k].substr(0, 2), "  ");
            EXPECT_EQ(lines[k].substr(lines[k].size() - tail.size()), tail);
            int n = std::stoi(lines[k].substr(2));
            EXPECT_GE(n, 2);
            EXPECT_LE(n, 7);
        }
        EXPECT_EQ(e->job->MODEL, c.model);
        EXPECT_EQ(e->job->CONVC, 0.005);
    }
}

TEST(Mmlest, ModelFourStartsFromTheCommonThresholdsOfModelThree) {
    auto e = simulated_job(4, std::vector<int>(6, 5), 300, 77, 11);
    e->job->MAXOUT = 8;
    INITVL(e->io, *e->job, *e->st, e->ws->start);
    // Run model 3 alone on a copy of the job, then compare with the
    // thresholds model 4 started from, seen through the first cycle of model 4.
    auto three = simulated_job(4, std::vector<int>(6, 5), 300, 77, 11);
    three->job->MODEL = 3;
    three->job->CONVC = 0.01;
    three->job->MAXOUT = 8;
    INITVL(three->io, *three->job, *three->st, three->ws->start);
    MMLEST(three->io, *three->job, *three->st, three->ws->estimation, three->ws->ptab);
    MMLEST(e->io, *e->job, *e->st, e->ws->estimation, e->ws->ptab);
    // The model-3 stage of model 4's chain is exactly model 3 at criterion 0.01.
    auto l3 = lines_containing(three->report(), "CRITERION MET AFTER");
    auto s3 = lines_containing(e->report(), "START-UP WITH MODEL 3");
    ASSERT_EQ(l3.size(), 1u);
    ASSERT_EQ(s3.size(), 1u);
    const int n3 = std::stoi(l3[0].substr(std::string("  MML ITEM SOLUTIONS CRITERION MET AFTER ").size()));
    EXPECT_EQ(std::stoi(s3[0].substr(2)), n3 + 1);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(e->st->TAUC(k), three->st->TAUC(k));
}

TEST(Mmlest, FinishWritesTheDensityAndTheConvergenceLine) {
    set_clock([] { return ClockReading{2026, 3, 7, 9, 5, 4, 0}; });
    auto e = simulated_job(1, std::vector<int>(8, 4), 300, 5, 9);
    e->st->RESP(4, 4) = -9;
    const EstimationResult grid = estimate(*e);
    set_clock({});
    const auto lines = split_lines(e->report());
    std::size_t k = 0;
    while (k < lines.size() && lines[k].find("REPLICATION") == std::string::npos) ++k;
    ASSERT_LT(k + 16, lines.size());
    EXPECT_EQ(lines[k - 2], " ");
    EXPECT_EQ(lines[k - 1], " ");
    EXPECT_EQ(lines[k], " ***** REPLICATION COMPLETED AT DATE:  3/ 7/2026 TIME:  9: 5: 4 *****");
    EXPECT_EQ(lines[k + 1].rfind("  MML ITEM SOLUTIONS CRITERION MET AFTER ", 0), 0u);
    EXPECT_EQ(lines[k + 5], "  ON THE LAST ITERATION OF THE MML ESTIMATION PROCEDURE,");
    EXPECT_EQ(lines[k + 6], "  THE ESTIMATED LATENT DISTRIBUTION OF PERSON PARAMETERS WAS AS FOLLOWS:");
    EXPECT_EQ(lines[k + 8], "  QUADRATURE POINT  DENSITY");
    double printed = 0.0, stored = 0.0;
    for (int q = 1; q <= 9; ++q) {
        const std::string& l = lines[k + 8 + static_cast<std::size_t>(q)];
        ASSERT_EQ(l.size(), 26u);
        EXPECT_EQ(std::stod(l.substr(5, 8)), e->st->XQUAD(q));
        printed += std::stod(l.substr(18));
        stored += e->st->DENS(q);
    }
    EXPECT_NEAR(printed, 1.0, 9 * 0.5e-5);
    EXPECT_NEAR(stored, 1.0, 1e-14);
    // Before it is normalised the density at a point is the expected number
    // of answers there, 8 x 300 - 1 over the whole grid.
    const ExpectedCounts& ec = e->ws->estimation.counts;
    for (int q = 1; q <= 9; ++q) {
        double answers = 0.0;
        for (int i = 1; i <= 8; ++i) answers += ec.NBAR(q, i);
        EXPECT_NEAR_REL(e->st->DENS(q), answers / (8.0 * 300 - 1), 1e-12);
    }
    // The grid's 9 points are -4..4 in steps of 1 with weights exp(-x^2/2):
    // its mean is 0 by symmetry, its variance the weighted mean of x^2.
    long double xx = 0.0L, sum = 0.0L;
    for (int x = -4; x <= 4; ++x) {
        const long double w = std::exp(-0.5L * x * x);
        xx += x * x * w;
        sum += w;
    }
    EXPECT_NEAR(grid.XMEAN, 0.0, 1e-15);  // 9 terms below 1 in magnitude
    EXPECT_NEAR_REL(grid.XSD, static_cast<double>(std::sqrt(xx / sum)), 1e-14);
    EXPECT_EQ(e->console.str(),
              "  COMPUTING CORRELATIONS \n  COMPUTING PRINCIPAL COMPONENTS\n  COMPUTING INITIAL PARAMETER ESTIMATES\n"
              "  ESTIMATING ITEM PARAMETERS\n  ESTIMATING THETAS\n");
    EXPECT_EQ(lines_containing(e->status(), "MAXIMUM").size(), 0u);
}

// The outer cycles that ran, counted apart from the report's line.
struct CycleCount {
    int cycles = 0;
    static void observe(void* c, const Store&, const ScoringSettings&) { ++static_cast<CycleCount*>(c)->cycles; }
};

// The warning comes when the limit ends the loop, and also when the test at
// the top of the last allowed cycle finds that nothing moved; with one cycle
// more to spare it does not.
TEST(Mmlest, CycleLimitIsReportedInTheStatusFileAndTheReport) {
    CycleCount free_run;
    {
        auto e = simulated_job(1, std::vector<int>(6, 4), 200, 6, 9);
        estimate(*e, {&CycleCount::observe, &free_run});
    }
    // The test at the top of cycle ran + 1 finds nothing moved.
    const int ran = free_run.cycles;
    ASSERT_GE(ran, 3);
    struct Case {
        int maxout;
        bool warned;
    };
    const Case cases[] = {{ran, true}, {ran + 1, true}, {ran + 2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("at most " + std::to_string(c.maxout) + " cycles, " + std::to_string(ran) + " needed");
        auto e = simulated_job(1, std::vector<int>(6, 4), 200, 6, 9);
        e->job->MAXOUT = c.maxout;
        CycleCount counted;
        estimate(*e, {&CycleCount::observe, &counted});
        EXPECT_EQ(counted.cycles, ran);
        const std::string warning = "  MAXIMUM NUMBER OF ITERATIONS EXCEEDED";
        EXPECT_EQ(e->status(), c.warned ? warning + "\n" : "");
        EXPECT_EQ(lines_containing(e->report(), "CRITERION MET AFTER"),
                  std::vector<std::string>{"  MML ITEM SOLUTIONS CRITERION MET AFTER " + std::to_string(ran) +
                                           " OUTER ITERATIONS"});
        EXPECT_EQ(lines_containing(e->report(), warning).size(), c.warned ? 1u : 0u);
    }
}

const char* const kNotFinite = "  THE ESTIMATION DID NOT REACH FINITE ESTIMATES.  JOB IS ABORTING.";

TEST(Mmlest, StepThatIsNotFiniteEndsTheRunNamingTheItem) {
    // Item 3 has no answer at all: its location has no information, so its
    // step is 0/0, in model 8's start-up model 3 too.  (Signs given: an item
    // without variance would end the run in the principal components.)
    struct Case {
        int model;
        std::string concerned;
    };
    const Case cases[] = {
        {1, "  FIRST CONCERNED: DELTA FOR ITEM #3 IN MODEL 1 (ITEM 13 OF THE DATA FILE)."},
        {8, "  FIRST CONCERNED: DELTA FOR ITEM #3 IN MODEL 3 (ITEM 13 OF THE DATA FILE)."},
    };
    for (const Case& c : cases) {
        auto e = simulated_job(c.model, std::vector<int>(6, 4), 150, 9, 9, true);
        for (int j = 1; j <= 150; ++j) e->st->RESP(j, 3) = -9;
        e->st->ITEMID(3) = 13;
        e->job->MAXOUT = 6;
        try {
            estimate(*e);
            ADD_FAILURE() << "no stop for model " << c.model;
        } catch (const EngineStop& stop) {
            EXPECT_EQ(stop.status_lines(), (std::vector<std::string>{kNotFinite, c.concerned}));
        }
        // The report ends with the reason, and nothing ran after the step.
        const auto rep = split_lines(e->report());
        ASSERT_GE(rep.size(), 2u);
        EXPECT_EQ(rep[rep.size() - 2], kNotFinite);
        EXPECT_EQ(rep.back(), c.concerned);
        EXPECT_EQ(e->console.str().find("ESTIMATING THETAS"), std::string::npos);
    }
}

// Finite estimates that give an answer the probability 0 at every point make
// the marginal log-likelihood minus infinity: found by the next expectation
// step, or after the last cycle.  Items 3 and 4 are moved far out, where only
// category 0 is possible; respondent 40 gave both a 2, respondent 50 only
// item 4: the first such respondent and its first such item are named.
void move_items_3_and_4_out(Io& io, const JobSettings& job, Store& st, ScoringStage& stage, const ScoringSettings& s) {
    scoring_cycle(io, job, st, stage, s);
    st.DELTA(3) = st.DELTA(4) = 1000.0;
}

TEST(Mmlest, LikelihoodThatIsNotFiniteEndsTheRunNamingTheItem) {
    for (bool last_cycle : {false, true}) {
        auto e = simulated_job(1, std::vector<int>(4, 3), 60, 21, 9);
        Store& st = *e->st;
        st.ITEMID(3) = 7;
        st.ITEMID(4) = 8;
        INITVL(e->io, *e->job, st, e->ws->start);
        for (int j = 1; j <= 60; ++j) st.RESP(j, 3) = st.RESP(j, 4) = 0;
        st.RESP(40, 3) = st.RESP(40, 4) = st.RESP(50, 4) = 2;
        EstimationProbes probes;
        if (last_cycle) {
            e->job->MAXOUT = 1;
            e->job->MAXIN = 1;
            probes.scoring = move_items_3_and_4_out;
        } else {
            st.DELTA(3) = st.DELTA(4) = 1000.0;
        }
        try {
            MMLEST(e->io, *e->job, st, e->ws->estimation, e->ws->ptab, probes);
            ADD_FAILURE() << "no stop";
        } catch (const EngineStop& stop) {
            EXPECT_EQ(stop.status_lines(),
                      (std::vector<std::string>{kNotFinite,
                                                "  FIRST CONCERNED: THE MARGINAL LOG-LIKELIHOOD OF MODEL 1, THROUGH "
                                                "ITEM #3 (ITEM 7 OF THE DATA FILE)."}))
                << (last_cycle ? "after the last cycle" : "at an expectation step");
        }
    }
}

// ---- recovery, maximum and monotone likelihood on simulated data ---------

// The marginal log-likelihood of the job's data under `model`.
double loglik(EstimationJob& e, int model) {
    auto job = std::make_unique<JobSettings>(*e.job);
    job->MODEL = model;
    auto table = std::make_unique<ProbabilityTable>();
    return MARGLIKE(e.console, fitted_model(*job, *e.st), *table);
}

std::vector<int> categories(int model, bool per_item, int n) {
    std::vector<int> c(static_cast<std::size_t>(n));
    const int constant[] = {0, 4, 6, 5, 4, 6, 4, 4, 6};
    for (int i = 0; i < n; ++i) c[static_cast<std::size_t>(i)] = per_item ? 2 + 2 * (i % 4) : constant[model];
    return c;
}

// How the job gives the items' start signs, which fix the orientation of the
// scale (theta -> -theta with every delta negated fits equally well): from
// the principal components, or named item by item as the truth has them, or
// the other way round.
enum class Signs { Components, AsTrue, Reversed };

// With the constraint the per-item units' mean is the common unit, which the
// start-up model (1 or 5) estimates from the same data: near the true units'
// mean, since they differ from it by a fifth at most (2 % and 3 % off on
// these jobs).
constexpr double kCommonUnitRel = 0.05;

void recover(int model, bool per_item, Signs signs, bool constrained = false) {
    SCOPED_TRACE("model " + std::to_string(model) + (per_item ? " per-item categories" : "") +
                 (constrained ? " constrained" : ""));
    auto e = simulated_job(model, categories(model, per_item, 18), 1000, 100 + model, 30, signs != Signs::Components);
    JobSettings& job = *e->job;
    if (signs == Signs::Reversed)
        for (int i = 1; i <= job.NITEM; ++i) job.ISIGN(i) = 1 - job.ISIGN(i);
    job.ICONST = constrained ? 1 : 0;
    estimate(*e);
    std::vector<double> est, truth, th;
    for (int i = 1; i <= job.NITEM; ++i) {
        est.push_back(e->st->DELTA(i));
        truth.push_back(e->design.items[static_cast<std::size_t>(i - 1)].delta);
    }
    for (int j = 1; j <= job.NSUBJ; ++j) th.push_back(e->st->THETA(j));
    const double items = correlation(est, truth);
    // Person estimates follow the true locations as well as 18 items allow.
    const double persons = correlation(th, e->data.theta);
    if (signs == Signs::Components) {
        EXPECT_GT(std::fabs(items), 0.98);
        EXPECT_GT(std::fabs(persons), 0.8);
        EXPECT_GT(items * persons, 0.0) << "persons and items on scales of opposite orientation";
    } else {
        // Every item named "+" ends on the positive side, the others on the
        // negative; those within 0.5 of the middle may move across it.
        const double side = signs == Signs::AsTrue ? 1.0 : -1.0;
        EXPECT_GT(side * items, 0.98);
        EXPECT_GT(side * persons, 0.8);
        for (int i = 1; i <= job.NITEM; ++i) {
            if (std::fabs(truth[static_cast<std::size_t>(i - 1)]) > 0.5) {
                EXPECT_EQ(e->st->DELTA(i) > 0.0, job.ISIGN(i) == 1) << "item " << i;
            }
        }
    }
    if (constrained) {
        double mean = 0.0, true_mean = 0.0;
        for (int i = 1; i <= job.NITEM; ++i) {
            mean += e->st->LAMBDA(i) / job.NITEM;
            true_mean += e->design.items[static_cast<std::size_t>(i - 1)].lambda / job.NITEM;
        }
        EXPECT_NEAR_REL(mean, e->st->UNIT, 1e-12);
        EXPECT_NEAR_REL(e->st->UNIT, true_mean, kCommonUnitRel);
    }
    EXPECT_EQ(lines_containing(e->status(), "MAXIMUM").size(), 0u) << e->status();
}

TEST(MmlestRecovery, Model1) { recover(1, false, Signs::AsTrue); }
TEST(MmlestRecovery, Model2) { recover(2, false, Signs::Reversed); }
TEST(MmlestRecovery, Model2PerItemCategories) { recover(2, true, Signs::Components); }
TEST(MmlestRecovery, Model2Constrained) { recover(2, false, Signs::AsTrue, true); }
TEST(MmlestRecovery, Model3) { recover(3, false, Signs::AsTrue); }
TEST(MmlestRecovery, Model4) { recover(4, false, Signs::Reversed); }
TEST(MmlestRecovery, Model4PerItemCategories) { recover(4, true, Signs::Components); }
TEST(MmlestRecovery, Model5) { recover(5, false, Signs::AsTrue); }
TEST(MmlestRecovery, Model6) { recover(6, false, Signs::Reversed); }
TEST(MmlestRecovery, Model6PerItemCategories) { recover(6, true, Signs::Components); }
TEST(MmlestRecovery, Model6Constrained) { recover(6, false, Signs::Reversed, true); }
TEST(MmlestRecovery, Model7) { recover(7, false, Signs::AsTrue); }
TEST(MmlestRecovery, Model8) { recover(8, false, Signs::Reversed); }
TEST(MmlestRecovery, Model8PerItemCategories) { recover(8, true, Signs::Components); }

// Every free parameter of the model, as a pointer into the store.
std::vector<double*> free_parameters(int model, JobSettings& job, Store& st) {
    std::vector<double*> p;
    for (int i = 1; i <= job.NITEM; ++i) p.push_back(&st.DELTA(i));
    if (model >= 5)
        for (int i = 1; i <= job.NITEM; ++i) p.push_back(&st.ALPHA(i));
    if (model == 1 || model == 5) p.push_back(&st.UNIT);
    if (model == 2 || model == 6)
        for (int i = 1; i <= job.NITEM; ++i) p.push_back(&st.LAMBDA(i));
    if (model == 3 || model == 7)
        for (int k = 1; k < job.NCAT(1); ++k) p.push_back(&st.TAUC(k));
    if (model == 4 || model == 8)
        for (int i = 1; i <= job.NITEM; ++i)
            for (int k = 1; k < job.NCAT(i); ++k) p.push_back(&st.TAU(i, k));
    return p;
}

void flat_at_estimates(int model) {
    {
        auto e = simulated_job(model, categories(model, model % 2 == 0, 12), 600, 300 + model, 25);
        e->job->CONVC = 1e-5;
        e->job->MAXOUT = 500;
        estimate(*e);
        const double h = 1e-4;
        const double l0 = loglik(*e, model);
        for (double* p : free_parameters(model, *e->job, *e->st)) {
            const double x = *p;
            *p = x + h;
            const double lp = loglik(*e, model);
            *p = x - h;
            const double lm = loglik(*e, model);
            *p = x;
            const double grad = (lp - lm) / (2 * h);
            const double curv = -(lp - 2 * l0 + lm) / (h * h);
            ASSERT_GT(curv, 0.0);
            // The distance to the maximum in standard errors: g / sqrt(I).
            EXPECT_LT(std::fabs(grad) / std::sqrt(curv), 0.02) << "gradient " << grad << " curvature " << curv;
        }
    }
}

// The engine stops at a maximum of the marginal likelihood, not merely where
// the parameters stop moving.
TEST(MmlestMaximum, Model1IsFlatAtTheEstimates) { flat_at_estimates(1); }
TEST(MmlestMaximum, Model2IsFlatAtTheEstimates) { flat_at_estimates(2); }
TEST(MmlestMaximum, Model3IsFlatAtTheEstimates) { flat_at_estimates(3); }
TEST(MmlestMaximum, Model4IsFlatAtTheEstimates) { flat_at_estimates(4); }
TEST(MmlestMaximum, Model5IsFlatAtTheEstimates) { flat_at_estimates(5); }
TEST(MmlestMaximum, Model6IsFlatAtTheEstimates) { flat_at_estimates(6); }
TEST(MmlestMaximum, Model7IsFlatAtTheEstimates) { flat_at_estimates(7); }
TEST(MmlestMaximum, Model8IsFlatAtTheEstimates) { flat_at_estimates(8); }

struct Climb {
    EstimationJob* e = nullptr;
    int model = 0;
    double last = -INFINITY;
    double worst = 0.0;
    int cycles = 0;
    static void observe(void* c, const Store&, const ScoringSettings& s) {
        auto* t = static_cast<Climb*>(c);
        const double l = loglik(*t->e, s.MODEL);
        if (s.MODEL != t->model) t->last = -INFINITY;
        t->model = s.MODEL;
        t->worst = std::min(t->worst, l - t->last);
        t->last = l;
        ++t->cycles;
    }
};

TEST(MmlestMonotone, LikelihoodNeverDecreasesFromOneOuterCycleToTheNext) {
    for (int model = 1; model <= 8; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        auto e = simulated_job(model, categories(model, false, 15), 800, 500 + model, 21);
        Climb climb;
        climb.e = e.get();
        estimate(*e, {&Climb::observe, &climb});
        EXPECT_GT(climb.cycles, 3);
        EXPECT_GE(climb.worst, -1e-9 * std::fabs(climb.last));
    }
}

}  // namespace
}  // namespace vorm::test
