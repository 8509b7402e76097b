#include "estimation/Derive.h"

#include <cmath>
#include <memory>

#include "estimation/Initvl.h"
#include "estimation_fixture.h"
#include "test_support.h"

namespace vorm::test {
namespace {

// Responses for item i of respondent j from a function; every other setting
// is what data input would leave.
template <class F>
std::unique_ptr<EstimationJob> job_of(int nitem, int nsubj, const std::vector<int>& cats, F resp) {
    auto e = std::make_unique<EstimationJob>();
    e->job->NITEM = nitem;
    e->job->NSUBJ = nsubj;
    for (int i = 1; i <= nitem; ++i) {
        e->job->NCAT(i) = cats[static_cast<std::size_t>(i - 1)];
        e->st->ITEMID(i) = i;
    }
    for (int j = 1; j <= nsubj; ++j)
        for (int i = 1; i <= nitem; ++i) e->st->RESP(j, i) = resp(j, i);
    e->job->ISGNSP = 1;
    e->job->SIGNR = 1.0;
    e->job->WRKDIR = e->dir.folder();
    return e;
}

TEST(Derive, ItemNeverAnsweredInItsUpperHalfGetsTheLastMidpointBelowTwentyFive) {
    // Item 1: 4 of 10 in the upper half (the largest); item 2: none.
    auto e = job_of(2, 10, {2, 2}, [](int j, int i) { return i == 1 ? (j <= 4 ? 1 : 0) : 0; });
    DERIVE(*e->job, *e->st);
    EXPECT_EQ(e->st->DELTA(1), 0.0);
    EXPECT_EQ(e->st->DELTA(2), 24.999618530273438);
    // 0.4 is scaled up to 0.6224593.
    EXPECT_NEAR_REL(e->st->UNIT, 0.5 * std::log(0.6224593 / (1.0 - 0.6224593)), 1e-15);
}

TEST(Derive, LargestShareOfOneIsScaledDownAndOthersByTheSameFactor) {
    // Three categories: only category 2 is the upper half.  Item 1 always 2,
    // item 2 half 2 and half 1.
    auto e = job_of(2, 8, {3, 3}, [](int j, int i) { return i == 1 ? 2 : (j % 2 ? 2 : 1); });
    DERIVE(*e->job, *e->st);
    const double u = 0.5 * std::log(0.8807971 / (1.0 - 0.8807971));
    EXPECT_NEAR_REL(e->st->UNIT, u, 1e-15);
    EXPECT_NEAR(e->st->UNIT, 1.0000001, 1e-7);
    EXPECT_EQ(e->st->DELTA(1), 0.0);
    // The magnitude solves the two-category probability for share 0.5 * 0.8807971.
    const double w = e->st->DELTA(2);
    const double g = std::exp(2 * u - w) + std::exp(2 * u - 2 * w);
    EXPECT_NEAR(g / (std::exp(-3 * w) + g + 1), 0.5 * 0.8807971, 1e-3);
}

TEST(Derive, NoUpperHalfResponseAnywhereStartsEveryItemAtZeroInsteadOfNaN) {
    auto e = job_of(3, 5, {4, 4, 4}, [](int, int) { return 1; });
    DERIVE(*e->job, *e->st);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(e->st->DELTA(i), 0.0);
    EXPECT_NEAR(e->st->UNIT, 0.2499999, 1e-7);
}

TEST(Initvl, GivenSignsFollowDataFileNumbersAndThresholdsMatchTheUnit) {
    // Four categories; retained items are data-file items 1, 2 and 4.
    auto e = job_of(3, 20, {4, 4, 4}, [](int j, int i) { return i == 3 ? (j % 5 == 0 ? 3 : 0) : (j + i) % 4; });
    e->st->ITEMID(3) = 4;
    e->job->ISIGN(1) = 1;
    e->job->ISIGN(2) = 0;
    e->job->ISIGN(3) = 1;
    e->job->ISIGN(4) = 0;
    e->job->MODEL = 4;
    e->job->SIGNR = -1.0;  // no effect with the signs given
    INITVL(e->io, *e->job, *e->st, e->ws->start);
    EXPECT_EQ(e->console.str(), "  COMPUTING INITIAL PARAMETER ESTIMATES\n");
    const Store& st = *e->st;
    EXPECT_GE(st.DELTA(1), 0.0);
    EXPECT_LE(st.DELTA(2), 0.0);
    EXPECT_LE(st.DELTA(3), 0.0);  // takes the sign of data-file item 4
    EXPECT_LT(st.DELTA(3), 0.0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(st.DINIT(i), st.DELTA(i));
        EXPECT_EQ(st.ALPHA(i), 1.0);
    }
    const double m = st.UNIT;
    EXPECT_EQ(st.LAMBDA(1), m);
    EXPECT_EQ(st.TAUC(0), 0.0);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(st.TAUC(k), -2.0 * m * (4 - k));
    // -(tau(0) + ... + tau(c)) = m c (M - c), M = 7: the unit model's category term.
    double s = 0.0;
    for (int c = 0; c < 4; ++c) {
        s += st.TAU(2, c);
        EXPECT_NEAR(-s, m * c * (7 - c), 1e-14);
        EXPECT_EQ(st.PARINI(2, c + 1), st.TAU(2, c));
    }
}

TEST(Initvl, PerItemCategoriesKeepEachItemsOwnUnitAndTheLastItemsCommonValues) {
    auto e = job_of(2, 30, {6, 3}, [](int j, int i) { return j % (i == 1 ? 6 : 3); });
    e->job->MODEL = 2;
    INITVL(e->io, *e->job, *e->st, e->ws->start);
    const Store& st = *e->st;
    const double u = st.LAMBDA(1) * 3;  // 6 categories: upper half from 3
    EXPECT_NEAR_REL(st.LAMBDA(2), u / 2, 1e-15);
    EXPECT_EQ(st.UNIT, st.LAMBDA(2));
    EXPECT_EQ(st.PARINI(1, 1), st.LAMBDA(1));
    EXPECT_EQ(st.PARINI(2, 1), st.LAMBDA(2));
    // TAUC(3..5) keep what item 1 wrote.
    EXPECT_EQ(st.TAUC(1), -2.0 * st.UNIT * 2);
    EXPECT_EQ(st.TAUC(3), st.TAU(1, 3));
}

}  // namespace
}  // namespace vorm::test
