#include "statistics/Ncscore.h"

#include <cmath>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "test_support.h"

namespace vorm::test {
namespace {

// Two computations of the same sums of products of probabilities agree to a
// few rounding errors of each value; below the floor lie only values made of
// terms that underflowed.
constexpr double kSameSums = 1e-13;
constexpr double kUnderflowFloor = 1e-300;

struct Items {
    std::unique_ptr<ProbabilityTable> PT = std::make_unique<ProbabilityTable>();
    std::unique_ptr<NumberCorrectWork> w = std::make_unique<NumberCorrectWork>();
    ItemInts NCAT;
    std::vector<int> list;  // the items in the score, 1..n

    // Category probabilities spread over `decades` orders of magnitude.
    Items(const std::vector<int>& cats, int nquad, double decades, unsigned seed, const std::vector<int>& reversed) {
        std::mt19937_64 gen(seed);
        std::uniform_real_distribution<double> u(0.0, 1.0);
        const int n = static_cast<int>(cats.size());
        PT->NITEM = n;
        PT->NQUAD = nquad;
        for (int j = 1; j <= n; ++j) {
            NCAT(j) = PT->NCAT(j) = cats[static_cast<std::size_t>(j - 1)];
            w->NCITEM(j, 1) = 1;
            w->NCITEM(j, 3) =
                reversed.empty() ? static_cast<int>(gen() % 2) : reversed[static_cast<std::size_t>(j - 1)];
            list.push_back(j);
            for (int q = 1; q <= nquad; ++q) {
                double sum = 0.0;
                for (int k = 0; k < NCAT(j); ++k) sum += PT->P(q, j, k) = std::pow(10.0, -decades * u(gen));
                for (int k = 0; k < NCAT(j); ++k) PT->P(q, j, k) /= sum;
            }
        }
        fill_score_probabilities(*w, *PT);
    }
    int score_of(int j, int x) const { return w->NCITEM(j, 3) == 1 ? NCAT(j) - 1 - x : x; }
};

// The score distribution at point q over `set` by summing over every response
// pattern of its items.
std::vector<double> enumerated(const Items& t, const std::vector<int>& set, int q) {
    std::vector<double> dist(1, 0.0);
    std::vector<int> x(set.size(), 0);
    for (;;) {
        double p = 1.0;
        std::size_t s = 0;
        for (std::size_t a = 0; a < set.size(); ++a) {
            p *= t.PT->P(q, set[a], x[a]);
            s += static_cast<std::size_t>(t.score_of(set[a], x[a]));
        }
        if (dist.size() <= s) dist.resize(s + 1, 0.0);
        dist[s] += p;
        std::size_t a = 0;
        while (a < set.size() && ++x[a] == t.NCAT(set[a])) x[a++] = 0;
        if (a == set.size()) return dist;
    }
}

void expect_distribution(const ScoreDistribution& D, const std::vector<double>& expected, int q) {
    ASSERT_EQ(D.R + 1, static_cast<int>(expected.size()));
    for (int s = 0; s <= D.R; ++s) EXPECT_NEAR_REL(D.S(q)[s], expected[static_cast<std::size_t>(s)], kSameSums);
}

TEST(NumberCorrectScore, FullAndRestScoresMatchEveryResponsePattern) {
    Items t({3, 2, 4}, 6, 3.0, 11, {0, 1, 0});
    NumberCorrectWork& w = *t.w;
    score_distribution(w.PSCORE, t.list.data(), 3, w.SCDIST, w.OUTSIDE[NC_LEVELS]);
    for (int q = 1; q <= 6; ++q) expect_distribution(w.SCDIST, enumerated(t, {1, 2, 3}, q), q);
    const std::vector<std::vector<int>> rests = {{2, 3}, {1, 3}, {1, 2}};
    int visits = 0;
    for_each_rest_score(w, t.list.data(), 3, 3, [&](int p, const ScoreDistribution& D) {
        EXPECT_EQ(p, visits++);
        for (int q = 1; q <= 6; ++q) expect_distribution(D, enumerated(t, rests[static_cast<std::size_t>(p)], q), q);
    });
    EXPECT_EQ(visits, 3);
}

// The score distribution at point q over `set` by the plain recursion: the
// items in order, every score of the distribution so far times every category.
std::vector<double> recursion(const Items& t, const std::vector<int>& set, int q) {
    std::vector<double> dist(1, 1.0);
    for (int j : set) {
        std::vector<double> next(dist.size() + static_cast<std::size_t>(t.NCAT(j) - 1), 0.0);
        for (std::size_t s = 0; s < dist.size(); ++s)
            for (int k = 0; k < t.NCAT(j); ++k)
                next[s + static_cast<std::size_t>(t.score_of(j, k))] += dist[s] * t.PT->P(q, j, k);
        dist = std::move(next);
    }
    return dist;
}

TEST(NumberCorrectScore, RestScoresAgreeWithRecomputationFromScratch) {
    struct Case {
        int nitem, maxcat, nquad;
        double decades;  // down to 1e-300: products underflow
    } cases[] = {{2, 2, 1, 0.5},      {5, 10, 7, 2.0},   {17, 4, 13, 8.0},
                 {40, 10, 21, 300.0}, {64, 3, 50, 60.0}, {100, 10, 3, 30.0}};
    for (const Case& c : cases) {
        std::vector<int> cats;
        for (int j = 0; j < c.nitem; ++j) cats.push_back(2 + (j * 7 + c.nitem) % (c.maxcat - 1));
        Items t(cats, c.nquad, c.decades, static_cast<unsigned>(c.nitem), {});
        int visits = 0;
        for_each_rest_score(*t.w, t.list.data(), c.nitem, c.nitem, [&](int p, const ScoreDistribution& D) {
            ++visits;
            std::vector<int> others = t.list;
            others.erase(others.begin() + p);
            for (int q = 1; q <= c.nquad; ++q) {
                const std::vector<double> fresh = recursion(t, others, q);
                ASSERT_EQ(D.R + 1, static_cast<int>(fresh.size()));
                for (int s = 0; s <= D.R; ++s)
                    ASSERT_TRUE(near_rel(D.S(q)[s], fresh[static_cast<std::size_t>(s)], kSameSums, kUnderflowFloor))
                        << c.nitem << " items, without item " << p + 1 << ", point " << q << ", score " << s;
            }
        });
        EXPECT_EQ(visits, c.nitem);
    }
}

TEST(NumberCorrectScore, PoolingFollowsTheExpectedCountsOnly) {
    struct Row {
        double N, O0, O1, E0, E1;
    };
    struct Case {
        const char* what;
        bool fixed;
        std::vector<Row> rows;
        int G;
        double X2;
    } cases[] = {
        {"0.9 is pooled upward, 1.0 is not",
         false,
         {{10, 5, 5, 9.1, 0.9}, {10, 4, 6, 5, 5}, {10, 3, 7, 1.0, 9}},
         2,
         (9 - 14.1) * (9 - 14.1) / 14.1 + (11 - 5.9) * (11 - 5.9) / 5.9 + 4.0 + 4.0 / 9},
        {"a category below 1 in all goes up to the top, then down into row 0",
         false,
         {{3, 1, 2, 3, 0.2}, {3, 3, 0, 3, 0.2}, {3, 2, 1, 3, 0.2}},
         1,
         (6 - 9) * (6 - 9) / 9.0 + (3 - 0.6) * (3 - 0.6) / 0.6},
        {"the lowest and the highest score of an item in the score join their neighbours",
         true,
         {{1, 1, 0, 3, 3}, {2, 1, 1, 3, 3}, {3, 2, 1, 3, 3}, {4, 2, 2, 3, 3}, {5, 1, 4, 3, 3}},
         3,
         (16 + 25) / 6.0 + 5 / 3.0 + 9 / 6.0},
        {"rows without respondents drop out", false, {{0, 0, 0, 2, 2}, {6, 3, 3, 2, 2}, {0, 0, 0, 2, 2}}, 1, 1.0},
        {"an expected count of 0 in the last row left adds nothing", false, {{5, 5, 0, 5, 0}}, 1, 0.0},
    };
    for (const Case& c : cases) {
        NcRow rows[5];
        for (std::size_t s = 0; s < c.rows.size(); ++s) {
            const Row& r = c.rows[s];
            rows[s].N = r.N;
            rows[s].O[0] = r.O0;
            rows[s].O[1] = r.O1;
            rows[s].E[0] = r.E0;
            rows[s].E[1] = r.E1;
        }
        const NcStatistic st = pool_and_sum(rows, static_cast<int>(c.rows.size()) - 1, 2, c.fixed);
        EXPECT_EQ(st.G, c.G) << c.what;
        EXPECT_NEAR_REL(st.X2, c.X2, 1e-14) << c.what;
    }
}

TEST(NumberCorrectScore, DegreesOfFreedomAndTheNoneComputedMarker) {
    // 5 groups of an item of 4 categories among 10 items: 15 less its own
    // parameters, a shared one counting a tenth.
    const float expected[] = {15 - 1.1f, 13, 15 - 1.3f, 11, 15 - 2.1f, 12, 15 - 2.3f, 10};
    for (int model = 1; model <= 8; ++model)
        EXPECT_NEAR(nc_degrees_of_freedom(model, 5, 4, 10), expected[model - 1], 1e-5) << "model " << model;
    NcResultTable T;
    const NcStatistic one_group{1, 2.5};
    const NcStatistic two_groups{2, 3.84146};
    nc_result(T, 1, 1, 2, one_group, nc_degrees_of_freedom(2, 1, 2, 2));  // DF -1
    nc_result(T, 2, 0, 2, one_group, 0.5f);
    nc_result(T, 3, 0, 2, two_groups, 1.0f);
    EXPECT_EQ(T(1, 6), -1.0);
    EXPECT_EQ(T(1, 5), -1.0);
    EXPECT_EQ(T(2, 6), -1.0);
    EXPECT_NEAR(T(3, 6), 0.05, 1e-5);
    EXPECT_EQ(T(3, 3), 2.0);
    EXPECT_EQ(T(3, 4), 3.84146);
}

}  // namespace
}  // namespace vorm::test
