// Fit groups, the detail file and the item likelihood-ratio chi-squares:
// group sizes and folding worked out by hand, and a whole job against the
// formulas evaluated here on their own (abilities sorted with std::sort, the
// model from the simulator, tail probabilities from Boost.Math).
#include <algorithm>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "fit_job.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::FitJob;

TEST(FitGroups, SizesTakeTheRemainderFirst) {
    struct Case {
        int N, G;
        std::vector<int> sizes;
    };
    const Case cases[] = {
        {103, 5, {21, 21, 21, 20, 20}}, {100, 5, {20, 20, 20, 20, 20}},        {7, 1, {7}},
        {3, 5, {1, 1, 1, 0, 0}},        {2000, 20, std::vector<int>(20, 100)},
    };
    for (const Case& c : cases) {
        Arr1<int, 1, MAXFITG> sizes;
        fit_group_sizes(c.N, c.G, sizes);
        for (int g = 1; g <= c.G; ++g) EXPECT_EQ(sizes(g), c.sizes[static_cast<std::size_t>(g - 1)]) << c.N;
    }
}

// Rows (n, O..., E...) of two categories, before and after folding.
struct Row {
    double n, O0, O1, E0, E1;
};

TEST(FitGroups, SparseRowsFoldWholeIntoTheirNeighbours) {
    struct Case {
        const char* what;
        std::vector<Row> before, after;
        int J;
    };
    const Case cases[] = {
        {"a sparse chain ends in the last row",
         {{1, 1e-4, 1, 0.4, 0.6}, {2, 1, 1, 0.3, 1.7}, {5, 2, 3, 2.5, 2.5}},
         {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {8, 3 + 1e-4, 5, 3.2, 4.8}},
         1},
        {"the last row folds downward",
         {{4, 2, 2, 1.5, 2.5}, {4, 1, 3, 2, 2}, {1, 1, 1e-4, 0.5, 0.5}},
         {{4, 2, 2, 1.5, 2.5}, {5, 2, 3 + 1e-4, 2.5, 2.5}, {0, 0, 0, 0, 0}},
         2},
        {"a row 1 still sparse after both passes stays",
         {{1, 1, 1e-4, 0.6, 0.4}, {1, 1e-4, 1, 0.3, 0.7}},
         {{2, 1 + 1e-4, 1 + 1e-4, 0.9, 1.1}, {0, 0, 0, 0, 0}},
         1},
        {"one group is never folded", {{1, 1, 1e-4, 0.5, 0.5}}, {{1, 1, 1e-4, 0.5, 0.5}}, 1},
        {"an expected count of 0 makes G**2 infinite", {{2, 1, 1, 2, 0}}, {{2, 1, 1, 2, 0}}, 1},
    };
    for (const Case& c : cases) {
        LikelihoodRatioTable t;
        const int G = static_cast<int>(c.before.size());
        for (int g = 1; g <= G; ++g) {
            const Row& r = c.before[static_cast<std::size_t>(g - 1)];
            t.n(g) = r.n;
            t.O(g, 0) = r.O0, t.O(g, 1) = r.O1, t.E(g, 0) = r.E0, t.E(g, 1) = r.E1;
        }
        fold_sparse_rows(t, G, 2);
        double G2 = 0;
        for (int g = 1; g <= G; ++g) {
            const Row& r = c.after[static_cast<std::size_t>(g - 1)];
            const double got[] = {t.n(g), t.O(g, 0), t.O(g, 1), t.E(g, 0), t.E(g, 1)};
            const double want[] = {r.n, r.O0, r.O1, r.E0, r.E1};
            for (int k = 0; k < 5; ++k) EXPECT_NEAR_REL(got[k], want[k], 1e-14, 1e-12) << c.what << " row " << g;
            if (r.n > 0) G2 += 2 * (r.O0 * std::log(r.O0 / r.E0) + r.O1 * std::log(r.O1 / r.E1));
        }
        int J = 0;
        EXPECT_NEAR_REL(likelihood_ratio_chisq(t, G, 2, J), G2, 1e-12) << c.what;
        EXPECT_EQ(J, c.J) << c.what;
    }
}

// 103 respondents in 5 groups (21, 21, 21, 20, 20: medians of even groups
// too), items of 2 and 3 categories placed so that no group is sparse, one
// missing response in the third group.
TEST(FitGroups, DetailFileAndChiSquaresMatchTheFormulas) {
    auto j = test::simulated_fit_job(2, {2, 3, 2}, 103, 0.0, 77);
    j->design.items[1].delta = j->st->DELTA(2) = 0.3;
    j->job->NFITG = 5;
    const int N = 103, G = 5, sizes[] = {21, 21, 21, 20, 20};
    std::vector<int> order(N);
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return j->st->THETA(a) < j->st->THETA(b); });
    j->st->RESP(order[50], 1) = j->data.resp[static_cast<std::size_t>(order[50] - 1)][0] = -9;
    j->run();

    double mean_all = 0, var_all = 0;
    for (int n = 1; n <= N; ++n) mean_all += j->st->THETA(n) / N;
    for (int n = 1; n <= N; ++n) var_all += std::pow(j->st->THETA(n) - mean_all, 2) / (N - 1);
    const auto detail = test::split_lines(j->detail());
    ASSERT_EQ(detail.size(), 2u * G * (2 + 3 + 2));
    std::size_t line = 0;
    double total = 0;
    for (int i : {1, 2, 3}) {  // ascending location: -2.4, 0.3, 2.4
        const int C = j->job->NCAT(i);
        double G2 = 0;
        for (int g = 0, first = 0; g < G; first += sizes[g], ++g) {
            std::vector<double> th, O(C), expected(C);
            for (int p = first; p < first + sizes[g]; ++p) {
                const int n = order[p];
                th.push_back(j->st->THETA(n));
                const auto P = j->probabilities(i, j->st->THETA(n));
                for (int k = 0; k < C; ++k) expected[k] += P[k] / sizes[g];
                if (j->response(n, i) >= 0) O[j->response(n, i)] += 1;
            }
            const double mean = std::accumulate(th.begin(), th.end(), 0.0) / sizes[g];
            const double median = sizes[g] % 2 ? th[sizes[g] / 2] : (th[sizes[g] / 2 - 1] + th[sizes[g] / 2]) / 2;
            const double valid = std::accumulate(O.begin(), O.end(), 0.0);
            EXPECT_EQ(valid, g == 2 && i == 1 ? 20 : sizes[g]);
            const auto P = j->probabilities(i, mean / std::sqrt(var_all));
            for (int k = 0; k < C; ++k, line += 2) {
                ASSERT_GE(valid * P[k], 1.0) << "the reference assumes no folding";
                G2 += 2 * std::max(O[k], 1e-4) * std::log(std::max(O[k], 1e-4) / (valid * P[k]));
                int item = 0, fitg = 0, size = 0, cat = 0;
                double delta = 0, got[4];
                ASSERT_EQ(std::sscanf((detail[line] + detail[line + 1]).c_str(),
                                      " ITEM=%d DELTA=%lf FITG=%d GSIZE=%d MEAN TH.=%lf MED. TH.=%lf CAT=%d OBS. "
                                      "P=%lf EXP. P=%lf",
                                      &item, &delta, &fitg, &size, &got[0], &got[1], &cat, &got[2], &got[3]),
                          9);
                EXPECT_TRUE(item == i && fitg == g + 1 && size == sizes[g] && cat == k + 1) << detail[line];
                // Every printed value is within half a unit of its fourth decimal.
                // Observed shares are of the group's valid responses, so
                // that they sum to 1 like the expected ones.
                const double want[] = {mean, median, O[k] / valid, expected[k]};
                for (int v = 0; v < 4; ++v) EXPECT_NEAR(got[v], want[v], 0.5e-4 + 1e-12) << detail[line + 1];
            }
        }
        const LikelihoodRatio& r = j->fit().ITEMLR(i);
        EXPECT_NEAR_REL(r.G2, G2, 1e-11);
        EXPECT_TRUE(r.J == G && r.DF == (C - 1) * G);
        EXPECT_NEAR(r.p, boost::math::gamma_q(r.DF / 2.0, G2 / 2), 1e-5);
        total += G2;
    }
    EXPECT_NEAR_REL(j->fit().GLOBAL.G2, total, 1e-11);
    EXPECT_EQ(j->fit().GLOBAL.DF, 4 * G);
    EXPECT_NEAR(j->fit().GLOBAL.p, boost::math::gamma_q(4 * G / 2.0, total / 2), 1e-5);
}

// More groups than respondents leave groups empty, which print zeros.
TEST(FitGroups, EmptyGroupsPrintZeros) {
    auto j = test::simulated_fit_job(2, {2, 3}, 7, 0.0, 5);
    j->job->NFITG = 20;
    j->run();
    const auto detail = test::split_lines(j->detail());
    ASSERT_EQ(detail.size(), 2u * 20 * (2 + 3));
    EXPECT_EQ(detail[78], " ITEM=  1 DELTA= -2.4000 FITG=20 GSIZE=   0");
    EXPECT_EQ(detail[79], " MEAN TH.=  0.0000 MED. TH.=  0.0000 CAT= 2 OBS. P=  0.0000 EXP. P=  0.0000");
    EXPECT_NE(j->fit_report().find(" LIKELIHOOD RATIO GLOBAL CHI-SQUARE="), std::string::npos);
}

}  // namespace
}  // namespace vorm
